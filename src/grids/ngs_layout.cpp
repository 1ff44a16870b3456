#include "grids/ngs_layout.h"

#include <cmath>
#include <optional>
#include <string>

#include "grids/binary_values.h"
#include "text/text_parsing.h"

namespace hextant {
namespace {

// NGS names no value for a node without one: its geoid grids are filled everywhere. A value of
// 9999 or -9999, which no geoid height or deflection comes near, is the filler other geoid
// layouts use (Norway's, BYN's): it is read as a node without value, never as 9999 m.
constexpr double kNgsNoData = 9999.0;

struct RawHeader {
  double south, west, dy, dx;
  std::int32_t rows, columns, kind;
};

RawHeader Decode(std::string_view head, bool little) noexcept {
  const char* p = head.data();
  return RawHeader{LoadDouble(p, little),      LoadDouble(p + 8, little),
                   LoadDouble(p + 16, little), LoadDouble(p + 24, little),
                   LoadInt32(p + 32, little),  LoadInt32(p + 36, little),
                   LoadInt32(p + 40, little)};
}

// The byte order whose value kind is 1 (float32): true for little-endian; nullopt for neither.
std::optional<bool> ByteOrderOf(std::string_view head) noexcept {
  for (bool little : {false, true}) {
    if (Decode(head, little).kind == 1) {
      return little;
    }
  }
  return std::nullopt;
}

bool InRange(double value, double limit) noexcept {
  return std::isfinite(value) && std::abs(value) <= limit;
}

Status HeaderError(const std::string& why) {
  return Status::Error(ErrorFileFormat, "the NGS header " + why);
}

}  // namespace

bool LooksLikeNgs(std::string_view head, std::uint64_t size) noexcept {
  if (head.size() < NgsHeaderSize) {
    return false;
  }
  const std::optional<bool> little = ByteOrderOf(head);
  if (!little) {
    return false;
  }
  const RawHeader h = Decode(head, *little);
  return InRange(h.south, 90) && InRange(h.west, 360) && InRange(h.dy, 180) && h.dy > 0 &&
         InRange(h.dx, 360) && h.dx > 0 && HoldsExactly(size - NgsHeaderSize, h.rows, h.columns, 4);
}

Status ReadNgsHeader(std::string_view head, std::uint64_t size, GridDescription& grid) {
  if (head.size() < NgsHeaderSize) {
    return HeaderError("needs 44 bytes; the file has " + std::to_string(size));
  }
  const std::optional<bool> little = ByteOrderOf(head);
  if (!little) {
    return HeaderError("gives the value kind " + std::to_string(Decode(head, false).kind) +
                       " (bytes 40-43); only 1, float32 values, in either byte order, is read");
  }
  const RawHeader h = Decode(head, *little);
  if (std::string problem = DegreeGridHeaderProblem(h.south, h.west, h.dy, h.dx, h.rows, h.columns);
      !problem.empty()) {
    return HeaderError(problem);
  }
  if (!HoldsExactly(size - NgsHeaderSize, h.rows, h.columns, 4)) {
    const auto nodes = static_cast<std::uint64_t>(h.rows) * static_cast<std::uint64_t>(h.columns);
    return HeaderError("promises " + std::to_string(h.rows) + " x " + std::to_string(h.columns) +
                       " float32 values (" + std::to_string(NgsHeaderSize + 4 * nodes) +
                       " bytes), but the file has " + std::to_string(size) + " bytes");
  }
  grid = GridDescription{};
  grid.Layout = GridLayout::Ngs;
  grid.Version = *little ? "little-endian" : "big-endian";
  grid.South = h.south;
  // Longitudes given from 0 to 360 are brought to -180..180, as for GTX.
  grid.West = h.west > 180 ? h.west - 360 : h.west;
  grid.SpacingX = h.dx;
  grid.SpacingY = h.dy;
  grid.Rows = h.rows;
  grid.Columns = h.columns;
  grid.HasNoData = true;
  grid.NoData = kNgsNoData;
  grid.NoDataEitherSign = true;
  grid.ValueBytes = 4;
  grid.LittleEndian = *little;
  grid.DataOffset = NgsHeaderSize;
  return Status::Ok();
}

}  // namespace hextant
