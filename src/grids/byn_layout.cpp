#include "grids/byn_layout.h"

#include <cmath>
#include <optional>
#include <string>

#include "grids/binary_values.h"
#include "text/text_parsing.h"

namespace hextant {
namespace {

constexpr double kArcSecondsPerDegree = 3600.0;
constexpr double kLimitSouthNorth = 90 * kArcSecondsPerDegree;
constexpr double kLimitWestEast = 360 * kArcSecondsPerDegree;

struct RawHeader {
  double south, north, west, east, dy, dx;  // arc-seconds
  double factor;
  int valueBytes, byteOrder, scale;
};

// The header's byte order: the one whose value size is 2 or 4 (true: little-endian).
std::optional<bool> HeaderOrder(std::string_view head) noexcept {
  for (bool little : {true, false}) {
    const int bytes = LoadInt16(head.data() + 32, little);
    if (bytes == 2 || bytes == 4) {
      return little;
    }
  }
  return std::nullopt;
}

RawHeader Decode(std::string_view head, bool little) noexcept {
  const char* p = head.data();
  RawHeader h{};
  h.scale = LoadInt16(p + 50, little);
  const double unit = h.scale == 1 ? 1000.0 : 1.0;  // bounds and spacings given × 1000
  h.south = LoadInt32(p, little) / unit;
  h.north = LoadInt32(p + 4, little) / unit;
  h.west = LoadInt32(p + 8, little) / unit;
  h.east = LoadInt32(p + 12, little) / unit;
  h.dy = LoadInt16(p + 16, little) / unit;
  h.dx = LoadInt16(p + 18, little) / unit;
  h.factor = LoadDouble(p + 24, little);
  h.valueBytes = LoadInt16(p + 32, little);
  h.byteOrder = LoadInt16(p + 48, little);
  return h;
}

// The count of nodes from `low` to `high` every `step`, or 0 when the span is no whole number of
// steps.
std::int64_t NodesOn(double low, double high, double step) noexcept {
  if (!(step > 0) || !(high >= low)) {
    return 0;
  }
  const double steps = (high - low) / step;
  const double whole = std::round(steps);
  return std::abs(steps - whole) <= 1e-6 && whole < 1e9 ? static_cast<std::int64_t>(whole) + 1 : 0;
}

Status HeaderError(const std::string& why) {
  return Status::Error(ErrorFileFormat, "the BYN header " + why);
}

Status Check(const RawHeader& h, std::uint64_t size) {
  if (h.scale != 0 && h.scale != 1) {
    return HeaderError("gives the scale flag " + std::to_string(h.scale) +
                       " (bytes 50-51); it must be 0 or 1");
  }
  if (h.byteOrder != 0 && h.byteOrder != 1) {
    return HeaderError("gives the byte order " + std::to_string(h.byteOrder) +
                       " (bytes 48-49); it must be 0 (big-endian) or 1 (little-endian)");
  }
  if (std::abs(h.south) > kLimitSouthNorth || std::abs(h.north) > kLimitSouthNorth ||
      std::abs(h.west) > kLimitWestEast || std::abs(h.east) > kLimitWestEast) {
    return HeaderError("gives bounds beyond ±90° and ±360° (bytes 0-15)");
  }
  if (!(h.dy > 0) || !(h.dx > 0)) {
    return HeaderError("gives the spacings " + NumberText(h.dy) + "\" x " + NumberText(h.dx) +
                       "\" (bytes 16-19); they must be positive");
  }
  const std::int64_t rows = NodesOn(h.south, h.north, h.dy);
  const std::int64_t columns = NodesOn(h.west, h.east, h.dx);
  if (rows == 0 || columns == 0) {
    return HeaderError("gives bounds " + NumberText(h.south) + "\" to " + NumberText(h.north) +
                       "\" and " + NumberText(h.west) + "\" to " + NumberText(h.east) +
                       "\" (bytes 0-15) that are no whole number of spacings apart");
  }
  if (!(std::isfinite(h.factor) && h.factor > 0)) {
    return HeaderError("gives the factor " + NumberText(h.factor) +
                       " (bytes 24-31); it must be positive");
  }
  if (!HoldsExactly(size - BynHeaderSize, rows, columns, h.valueBytes)) {
    return HeaderError(
        "promises " + std::to_string(rows) + " x " + std::to_string(columns) + " values of " +
        std::to_string(h.valueBytes) + " bytes (" +
        std::to_string(BynHeaderSize + static_cast<std::uint64_t>(rows) *
                                           static_cast<std::uint64_t>(columns) *
                                           static_cast<std::uint64_t>(h.valueBytes)) +
        " bytes), but the file has " + std::to_string(size) + " bytes");
  }
  return Status::Ok();
}

}  // namespace

bool LooksLikeByn(std::string_view head, std::uint64_t size) noexcept {
  if (head.size() < BynHeaderSize) {
    return false;
  }
  const std::optional<bool> little = HeaderOrder(head);
  return little && Check(Decode(head, *little), size);
}

Status ReadBynHeader(std::string_view head, std::uint64_t size, GridDescription& grid) {
  if (head.size() < BynHeaderSize) {
    return HeaderError("needs 80 bytes; the file has " + std::to_string(size));
  }
  const std::optional<bool> little = HeaderOrder(head);
  if (!little) {
    return HeaderError("gives the value size " + std::to_string(LoadInt16(head.data() + 32, true)) +
                       " (bytes 32-33); it must be 2 or 4 bytes");
  }
  const RawHeader h = Decode(head, *little);
  if (Status s = Check(h, size); !s) {
    return s;
  }
  grid = GridDescription{};
  grid.Layout = GridLayout::Byn;
  grid.Version = std::to_string(h.valueBytes) + "-byte integers";
  grid.South = h.south / kArcSecondsPerDegree;
  grid.West = h.west / kArcSecondsPerDegree;
  grid.West -= grid.West > 180 ? 360 : 0;  // longitudes given from 0 to 360, as for GTX
  grid.SpacingX = h.dx / kArcSecondsPerDegree;
  grid.SpacingY = h.dy / kArcSecondsPerDegree;
  grid.Rows = static_cast<std::int32_t>(NodesOn(h.south, h.north, h.dy));
  grid.Columns = static_cast<std::int32_t>(NodesOn(h.west, h.east, h.dx));
  grid.RowsFromNorth = true;
  grid.HasNoData = true;
  grid.NoData = h.valueBytes == 2 ? 32767.0 : 9999.0 * h.factor;
  grid.ValueFactor = 1.0 / h.factor;
  grid.ValueBytes = h.valueBytes;
  grid.IntegerValues = true;
  grid.LittleEndian = h.byteOrder == 1;
  grid.DataOffset = BynHeaderSize;
  return Status::Ok();
}

}  // namespace hextant
