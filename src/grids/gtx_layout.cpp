#include "grids/gtx_layout.h"

#include <bit>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "grids/binary_values.h"
#include "text/text_parsing.h"

namespace hextant {
namespace {

std::uint64_t BigEndian(const char* p, int bytes) noexcept {
  std::uint64_t value = 0;
  for (int i = 0; i < bytes; ++i) {
    value = value << 8 | static_cast<unsigned char>(p[i]);
  }
  return value;
}

double BigDouble(const char* p) noexcept {
  return std::bit_cast<double>(BigEndian(p, 8));
}

struct RawHeader {
  double south, west, dy, dx;
  std::int64_t rows, columns;
};

RawHeader Decode(std::string_view head) noexcept {
  const char* p = head.data();
  return RawHeader{BigDouble(p),
                   BigDouble(p + 8),
                   BigDouble(p + 16),
                   BigDouble(p + 24),
                   static_cast<std::int32_t>(BigEndian(p + 32, 4)),
                   static_cast<std::int32_t>(BigEndian(p + 36, 4))};
}

bool InRange(double value, double limit) noexcept {
  return std::isfinite(value) && std::abs(value) <= limit;
}

// The bytes per value that make the file exactly as long as the header's grid: 4, 8 or 0.
int ValueBytesFor(const RawHeader& h, std::uint64_t size) noexcept {
  if (h.rows < 1 || h.columns < 1 || size < GtxHeaderSize) {
    return 0;
  }
  // Compared by division: rows × columns × 8 may pass 2^64 and wrap to the file's length.
  const auto nodes = static_cast<std::uint64_t>(h.rows) * static_cast<std::uint64_t>(h.columns);
  const std::uint64_t payload = size - GtxHeaderSize;
  for (int bytes : {4, 8}) {
    const auto width = static_cast<std::uint64_t>(bytes);
    if (payload % width == 0 && payload / width == nodes) {
      return bytes;
    }
  }
  return 0;
}

Status HeaderError(const std::string& why) {
  return Status::Error(ErrorFileFormat, "the GTX header " + why);
}

}  // namespace

bool LooksLikeGtx(std::string_view head, std::uint64_t size) noexcept {
  if (head.size() < GtxHeaderSize) {
    return false;
  }
  const RawHeader h = Decode(head);
  return InRange(h.south, 90) && InRange(h.west, 360) && InRange(h.dy, 180) && InRange(h.dx, 360) &&
         h.dx > 0 && h.dy > 0 && ValueBytesFor(h, size) != 0;
}

Status ReadGtxHeader(std::string_view head, std::uint64_t size, GridDescription& grid) {
  if (head.size() < GtxHeaderSize) {
    return HeaderError("needs 40 bytes; the file has " + std::to_string(size));
  }
  const RawHeader h = Decode(head);
  if (std::string problem = DegreeGridHeaderProblem(h.south, h.west, h.dy, h.dx, h.rows, h.columns);
      !problem.empty()) {
    return HeaderError(problem);
  }
  const int bytes = ValueBytesFor(h, size);
  if (bytes == 0) {
    const auto nodes = static_cast<std::uint64_t>(h.rows) * static_cast<std::uint64_t>(h.columns);
    return HeaderError("promises " + std::to_string(h.rows) + " x " + std::to_string(h.columns) +
                       " values (" + std::to_string(40 + 4 * nodes) +
                       " bytes as floats), but the "
                       "file has " +
                       std::to_string(size) + " bytes");
  }
  grid = GridDescription{};
  grid.Layout = GridLayout::Gtx;
  grid.Version = bytes == 4 ? "float32" : "float64";
  grid.South = h.south;
  // Longitudes given from 0 to 360 are brought to -180..180 where the whole grid fits there.
  grid.West = h.west > 180 ? h.west - 360 : h.west;
  grid.SpacingX = h.dx;
  grid.SpacingY = h.dy;
  grid.Rows = static_cast<std::int32_t>(h.rows);
  grid.Columns = static_cast<std::int32_t>(h.columns);
  grid.HasNoData = true;
  grid.NoData = GtxNoData;
  grid.ValueBytes = bytes;
  grid.DataOffset = GtxHeaderSize;
  return Status::Ok();
}

Status ReadGtxValues(std::istream& source, const GridDescription& grid, GridNodeSink& sink) {
  return ReadBinaryValues(source, grid, sink, "GTX");  // big-endian floats, south row first
}

}  // namespace hextant
