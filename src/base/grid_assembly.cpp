#include "base/grid_assembly.h"

#include <array>
#include <cassert>
#include <cmath>
#include <utility>

#include "base/rounding.h"

namespace hextant {
namespace {

constexpr std::size_t kStackSize = 33;  // enough for any 32-bit range: the longer part is pushed

class NodeTable {
 public:
  NodeTable(double* data, std::int16_t keyField) : data_(data), key_(keyField) {}

  double Key(std::int32_t row) const noexcept { return At(row)[key_]; }

  void Swap(std::int32_t a, std::int32_t b) noexcept {
    double* p = At(a);
    double* q = At(b);
    for (int f = 0; f < PointList::kFieldsPerNode; ++f) {
      std::swap(p[f], q[f]);
    }
  }

 private:
  double* At(std::int32_t row) const noexcept {
    return data_ + static_cast<std::size_t>(row) * PointList::kFieldsPerNode;
  }

  double* data_;
  std::int16_t key_;
};

// Moves the middle node of left..right to the place where it belongs and returns that place:
// nodes before it have keys not greater, nodes after it keys not smaller.
std::int32_t Partition(NodeTable& table, std::int32_t left, std::int32_t right) noexcept {
  table.Swap(left + (right - left) / 2, left);
  const double pivot = table.Key(left);
  std::int32_t i = left + 1;
  std::int32_t j = right;
  for (;;) {
    while (i < j && table.Key(i) < pivot) {
      ++i;
    }
    while (j >= i && table.Key(j) > pivot) {
      --j;
    }
    if (i >= j) {
      break;
    }
    table.Swap(i, j);
    ++i;
    --j;
  }
  table.Swap(left, j);
  return j;
}

}  // namespace

void SortRange(PointList& points, std::int32_t first, std::int32_t last,
               std::int16_t keyField) noexcept {
  NodeTable table(points.Data(), keyField);
  std::array<std::pair<std::int32_t, std::int32_t>, kStackSize> stack;
  std::size_t pending = 0;
  stack[pending++] = {first, last};
  while (pending > 0) {
    auto [left, right] = stack[--pending];
    while (left < right) {
      const std::int32_t j = Partition(table, left, right);
      // Push the longer part and go on with the shorter one, so that the stack stays shallow.
      if (j - left > right - j) {
        if (j - 1 > left) {
          assert(pending < kStackSize);
          stack[pending++] = {left, j - 1};
        }
        left = j + 1;
      } else {
        if (j + 1 < right) {
          assert(pending < kStackSize);
          stack[pending++] = {j + 1, right};
        }
        right = j - 1;
      }
    }
  }
}

void SortPoints(PointList& points) noexcept {
  const std::int32_t n = points.Count();
  if (n < 2) {
    return;
  }
  SortRange(points, 1, n, KeyY);
  const double* data = points.Data();
  auto y = [data](std::int32_t row) {
    return data[static_cast<std::size_t>(row) * PointList::kFieldsPerNode + KeyY];
  };
  std::int32_t lastClosingRow = 0;
  for (std::int32_t i = 1; i <= n; ++i) {
    if (i != n && std::fabs(y(i + 1) - y(i)) <= RowTolerance) {
      continue;  // node i + 1 lies on the same grid row
    }
    if (i - lastClosingRow > 1) {
      SortRange(points, lastClosingRow + 1, i, KeyX);
    }
    lastClosingRow = i;
  }
}

std::int32_t RowCount(double firstY, double lastY, double spacingY) noexcept {
  return RoundHalfEvenToInt32((lastY - firstY) / spacingY + 1.0).value_or(0);
}

std::int32_t ColumnCount(double firstX, double lastX, double spacingX) noexcept {
  return RoundHalfEvenToInt32((lastX - firstX) / spacingX + 1.0).value_or(0);
}

bool IsRegularGrid(std::int32_t n, std::int32_t rows, std::int32_t columns) noexcept {
  return static_cast<double>(n) / rows - columns == 0.0;
}

}  // namespace hextant
