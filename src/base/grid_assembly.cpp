#include "base/grid_assembly.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cmath>
#include <memory>
#include <new>
#include <utility>

#include "base/rounding.h"
#include "base/two_halves.h"

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

namespace {

static_assert(sizeof(GeoidPoint) == PointList::kFieldsPerNode * sizeof(double));

// Ascending by one field; a NaN key counts as the largest, so the order stays strict and weak.
template <double GeoidPoint::*Key>
bool KeyLess(const GeoidPoint& a, const GeoidPoint& b) noexcept {
  return a.*Key < b.*Key || (std::isnan(b.*Key) && !std::isnan(a.*Key));
}

template <double GeoidPoint::*Key>
bool IsAscending(const GeoidPoint* first, const GeoidPoint* last) noexcept {
  for (const GeoidPoint* p = first; p + 1 < last; ++p) {
    if (!(p[0].*Key <= p[1].*Key)) {
      return false;
    }
  }
  return true;
}

template <double GeoidPoint::*Key>
bool IsDescending(const GeoidPoint* first, const GeoidPoint* last) noexcept {
  for (const GeoidPoint* p = first; p + 1 < last; ++p) {
    if (!(p[0].*Key >= p[1].*Key)) {
      return false;
    }
  }
  return true;
}

// Puts first..last in ascending order of `Key` in O(n) when it is ascending already, descending,
// or two ascending runs whose second ends below the first's start (a row that starts at a
// longitude other than the smallest); otherwise sorts it.
template <double GeoidPoint::*Key>
void OrderBy(GeoidPoint* first, GeoidPoint* last) noexcept {
  const GeoidPoint* descent = first;
  while (descent + 1 < last && descent[0].*Key <= descent[1].*Key) {
    ++descent;
  }
  if (descent + 1 >= last) {
    return;
  }
  GeoidPoint* second = first + (descent - first) + 1;
  if (IsAscending<Key>(second, last) && (last - 1)->*Key <= first->*Key) {
    std::rotate(first, second, last);
  } else if (IsDescending<Key>(first, last)) {
    std::reverse(first, last);
  } else {
    std::sort(first, last, KeyLess<Key>);
  }
}

// True when the nodes form blocks of one Y each, the blocks in strictly descending Y: rows given
// north to south. Reversing the whole list and then each block puts them in ascending Y and
// keeps each row's own order.
bool ReverseDescendingRows(GeoidPoint* first, GeoidPoint* last) noexcept {
  for (const GeoidPoint* p = first; p + 1 < last; ++p) {
    if (!(p[0].Y == p[1].Y || p[0].Y > p[1].Y)) {
      return false;
    }
  }
  std::reverse(first, last);
  for (GeoidPoint* row = first; row != last;) {
    GeoidPoint* end = row + 1;
    while (end != last && end->Y == row->Y) {
      ++end;
    }
    std::reverse(row, end);
    row = end;
  }
  return true;
}

// Where the second ascending run of a row by X starts, as OrderBy finds it; the row's length
// when it ascends throughout.
std::ptrdiff_t SecondRun(const GeoidPoint* first, const GeoidPoint* last) noexcept {
  const GeoidPoint* descent = first;
  while (descent + 1 < last && descent[0].X <= descent[1].X) {
    ++descent;
  }
  return (descent + 1 >= last ? last : descent + 1) - first;
}

// True when first..last is one row of a single Y that OrderBy turns at `turn` (leaves as it is
// when `turn` is its length).
bool TurnsAt(const GeoidPoint* first, const GeoidPoint* last, std::ptrdiff_t turn) noexcept {
  for (const GeoidPoint* p = first + 1; p < last; ++p) {
    if (!(p->Y == first->Y)) {
      return false;
    }
  }
  return SecondRun(first, last) == turn &&
         (turn == last - first ||
          (IsAscending<&GeoidPoint::X>(first + turn, last) && (last - 1)->X <= first->X));
}

// Copies the row of `columns` nodes at `row` to `to`, starting from node `turn` and wrapping.
void CopyTurned(const GeoidPoint* row, std::ptrdiff_t columns, std::ptrdiff_t turn,
                GeoidPoint* to) noexcept {
  std::copy(row + turn, row + columns, to);
  std::copy(row, row + turn, to + (columns - turn));
}

// Rows given north to south, all of one length and each turned by the same number of nodes (a
// global grid with longitudes 0..360), put in order as the general way would put them: the rows
// trade places pairwise and each is turned while it is still in the cache. False, with nothing
// moved, for other input.
bool TurnRowsNorthToSouth(GeoidPoint* first, GeoidPoint* last) noexcept {
  const std::ptrdiff_t n = last - first;
  std::ptrdiff_t columns = 1;
  while (columns < n && first[columns].Y == first->Y) {
    ++columns;
  }
  if (n % columns != 0) {
    return false;
  }
  const std::ptrdiff_t turn = SecondRun(first, first + columns);
  const std::ptrdiff_t rows = n / columns;
  const std::ptrdiff_t splitRows = std::max<std::ptrdiff_t>(1, kSplitAtLeast / columns);
  const bool rowsTurn = BothHalves(
      rows,
      [&](std::ptrdiff_t from, std::ptrdiff_t to) {
        for (std::ptrdiff_t r = from; r < to; ++r) {
          const GeoidPoint* row = first + r * columns;
          const GeoidPoint* next = row + columns;
          // Rows further apart than the tolerance stay rows of their own when sorted.
          if (!TurnsAt(row, next, turn) ||
              (next != last && !(row->Y > next->Y && std::fabs(next->Y - row->Y) > RowTolerance))) {
            return false;
          }
        }
        return true;
      },
      splitRows);
  if (!rowsTurn) {
    return false;
  }
  auto turnRow = [&](GeoidPoint* row) { std::rotate(row, row + turn, row + columns); };
  // Pair p trades row p with row rows-1-p, each turned on the way through a row of scratch, so
  // that every row is read once and written once; the pairs are shared out between two threads.
  BothHalves(
      rows / 2,
      [&](std::ptrdiff_t from, std::ptrdiff_t to) {
        const std::unique_ptr<GeoidPoint[]> scratch(new (std::nothrow) GeoidPoint[columns]);
        for (std::ptrdiff_t p = from; p < to; ++p) {
          GeoidPoint* top = first + p * columns;
          GeoidPoint* bottom = last - (p + 1) * columns;
          if (scratch == nullptr) {
            std::swap_ranges(top, top + columns, bottom);
            turnRow(top);
            turnRow(bottom);
            continue;
          }
          CopyTurned(top, columns, turn, scratch.get());
          CopyTurned(bottom, columns, turn, top);
          std::copy(scratch.get(), scratch.get() + columns, bottom);
        }
        return true;
      },
      std::max<std::ptrdiff_t>(1, splitRows / 2));
  if (rows % 2 != 0) {
    turnRow(first +
            (rows / 2) * columns);  // the middle one of an odd number of rows keeps its place
  }
  return true;
}

}  // namespace

void SortPoints(PointList& points) noexcept {
  const std::int32_t n = points.Count();
  if (n < 2) {
    return;
  }
  auto* nodes = reinterpret_cast<GeoidPoint*>(points.Data()) + 1;  // rows 1..n
  GeoidPoint* const end = nodes + n;
  if (!IsAscending<&GeoidPoint::Y>(nodes, end)) {
    if (TurnRowsNorthToSouth(nodes, end)) {
      return;
    }
    if (!ReverseDescendingRows(nodes, end)) {
      std::sort(nodes, end, KeyLess<&GeoidPoint::Y>);
    }
  }
  // Grid rows: chains of neighbours whose Y differ by at most RowTolerance, each sorted by X.
  for (GeoidPoint* row = nodes; row != end;) {
    GeoidPoint* rowEnd = row + 1;
    while (rowEnd != end && std::fabs(rowEnd->Y - (rowEnd - 1)->Y) <= RowTolerance) {
      ++rowEnd;
    }
    OrderBy<&GeoidPoint::X>(row, rowEnd);
    row = rowEnd;
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
