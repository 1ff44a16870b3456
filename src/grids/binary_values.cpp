#include "grids/binary_values.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "text/text_parsing.h"

namespace hextant {
namespace {

// One row's values in the file's unit, decoded by `load` from `width`-byte fields.
template <typename Load>
void DecodeRow(const char* p, std::size_t columns, std::size_t width, const GridDescription& grid,
               double* out, Load load) noexcept {
  for (std::size_t c = 0; c < columns; ++c) {
    out[c] = ValueInMetres(grid, load(p + c * width));
  }
}

void DecodeRow(const char* p, const GridDescription& grid, double* out) noexcept {
  const auto columns = static_cast<std::size_t>(grid.Columns);
  const bool little = grid.LittleEndian;
  const int bytes = grid.ValueBytes;
  const auto width = static_cast<std::size_t>(bytes);
  if (grid.IntegerValues && bytes == 2) {
    DecodeRow(p, columns, width, grid, out,
              [&](const char* q) { return static_cast<double>(LoadInt16(q, little)); });
  } else if (grid.IntegerValues) {
    DecodeRow(p, columns, width, grid, out,
              [&](const char* q) { return static_cast<double>(LoadInt32(q, little)); });
  } else if (bytes == 4) {
    DecodeRow(p, columns, width, grid, out, [&](const char* q) {
      return static_cast<double>(
          std::bit_cast<float>(static_cast<std::uint32_t>(LoadBytes(q, 4, little))));
    });
  } else {
    DecodeRow(p, columns, width, grid, out, [&](const char* q) { return LoadDouble(q, little); });
  }
}

}  // namespace

std::string DegreeGridHeaderProblem(double south, double west, double dy, double dx,
                                    std::int64_t rows, std::int64_t columns) {
  const auto inRange = [](double value, double limit) {
    return std::isfinite(value) && std::abs(value) <= limit;
  };
  if (!inRange(south, 90) || !inRange(west, 360)) {
    return "puts the first node at latitude " + NumberText(south) + ", longitude " +
           NumberText(west) + " (bytes 0-15)";
  }
  if (!(inRange(dy, 180) && dy > 0 && inRange(dx, 360) && dx > 0)) {
    return "gives the spacings " + NumberText(dy) + " x " + NumberText(dx) +
           " degrees (bytes 16-31); they must be positive";
  }
  if (rows < 1 || columns < 1) {
    return "gives " + std::to_string(rows) + " rows and " + std::to_string(columns) +
           " columns (bytes 32-39)";
  }
  return {};
}

bool HoldsExactly(std::uint64_t payload, std::int64_t rows, std::int64_t columns,
                  int width) noexcept {
  if (rows < 1 || columns < 1 || width < 1) {
    return false;
  }
  const auto nodes = static_cast<std::uint64_t>(rows) * static_cast<std::uint64_t>(columns);
  const auto w = static_cast<std::uint64_t>(width);
  return payload % w == 0 && payload / w == nodes;
}

Status ReadBinaryValues(std::istream& source, const GridDescription& grid, GridNodeSink& sink,
                        const char* what) {
  const auto columns = static_cast<std::size_t>(grid.Columns);
  const std::size_t rowBytes = columns * static_cast<std::size_t>(grid.ValueBytes);
  const std::size_t rowsPerRead = std::max<std::size_t>(1, (1u << 20) / rowBytes);
  std::vector<char> bytes(rowBytes * rowsPerRead);
  std::vector<double> values(columns);
  std::uint64_t consumed = grid.DataOffset;
  for (std::int32_t row = 0; row < grid.Rows;) {
    const auto count = static_cast<std::int32_t>(
        std::min<std::size_t>(rowsPerRead, static_cast<std::size_t>(grid.Rows - row)));
    const std::size_t want = rowBytes * static_cast<std::size_t>(count);
    source.read(bytes.data(), static_cast<std::streamsize>(want));
    if (static_cast<std::size_t>(source.gcount()) != want) {
      const std::uint64_t end = consumed + static_cast<std::uint64_t>(source.gcount());
      return Status::Error(ErrorFileFormat,
                           std::string("the ") + what + " values end at byte " +
                               std::to_string(end) + ", within row " +
                               std::to_string(row + 1 + (end - consumed) / rowBytes) + " of " +
                               std::to_string(grid.Rows));
    }
    for (std::int32_t r = 0; r < count; ++r, ++row) {
      DecodeRow(bytes.data() + static_cast<std::size_t>(r) * rowBytes, grid, values.data());
      const std::int32_t gridRow = grid.RowsFromNorth ? grid.Rows - 1 - row : row;
      if (Status s = sink.Row(gridRow, values.data()); !s) {
        return s;
      }
    }
    consumed += want;
    sink.Progress(consumed);
  }
  return Status::Ok();
}

}  // namespace hextant
