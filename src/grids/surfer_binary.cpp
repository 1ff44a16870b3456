#include "grids/surfer_binary.h"

#include <cmath>
#include <string>

#include "grids/binary_values.h"
#include "grids/text_grid_headers.h"
#include "text/text_parsing.h"

namespace hextant {
namespace {

constexpr std::size_t kSurfer6HeaderSize = 56;
constexpr std::int32_t kSurfer7GridSize = 72;

Status Error(const std::string& why) {
  return Status::Error(ErrorFileFormat, "the Surfer grid " + why);
}

double Double(std::string_view head, std::size_t at) noexcept {
  return LoadDouble(head.data() + at, true);
}

// Checks the grid whose values, `available` bytes from grid.DataOffset on, follow its header.
Status Finish(GridDescription& grid, std::uint64_t available) {
  if (!(std::isfinite(grid.West) && std::isfinite(grid.South) && grid.SpacingX > 0 &&
        grid.SpacingY > 0 && std::isfinite(grid.SpacingX) && std::isfinite(grid.SpacingY))) {
    return Error("gives no positive spacing: " + NumberText(grid.SpacingX) + " x " +
                 NumberText(grid.SpacingY));
  }
  const auto width = static_cast<std::uint64_t>(grid.ValueBytes);
  if (!HoldsExactly(available, grid.Rows, grid.Columns, grid.ValueBytes)) {
    return Error("promises " + std::to_string(grid.Rows) + " x " + std::to_string(grid.Columns) +
                 " values of " + std::to_string(width) + " bytes from byte " +
                 std::to_string(grid.DataOffset) + ", but " + std::to_string(available) +
                 " bytes follow");
  }
  grid.Layout = GridLayout::Surfer;
  grid.LittleEndian = true;
  grid.BlankFrom = SurferBlank;
  TakeCoordinatesFromExtent(grid);
  return Status::Ok();
}

Status ReadSurfer6(std::string_view head, std::uint64_t size, GridDescription& grid) {
  if (head.size() < kSurfer6HeaderSize) {
    return Error("header needs 56 bytes; the file has " + std::to_string(size));
  }
  const std::int16_t nx = LoadInt16(head.data() + 4, true);
  const std::int16_t ny = LoadInt16(head.data() + 6, true);
  if (nx < 2 || ny < 2) {
    return Error("gives " + std::to_string(nx) + " x " + std::to_string(ny) +
                 " nodes (bytes 4-7); a grid needs two on each axis");
  }
  grid = GridDescription{};
  grid.Version = "6 binary";
  grid.Columns = nx;
  grid.Rows = ny;
  grid.West = Double(head, 8);
  grid.South = Double(head, 24);
  grid.SpacingX = (Double(head, 16) - grid.West) / (nx - 1);
  grid.SpacingY = (Double(head, 32) - grid.South) / (ny - 1);
  grid.ValueBytes = 4;
  grid.DataOffset = kSurfer6HeaderSize;
  return Finish(grid, size - kSurfer6HeaderSize);
}

Status ReadSurfer7Grid(std::string_view head, std::size_t at, GridDescription& grid) {
  const std::int32_t rows = LoadInt32(head.data() + at, true);
  const std::int32_t columns = LoadInt32(head.data() + at + 4, true);
  if (rows < 2 || columns < 2) {
    return Error("gives " + std::to_string(rows) + " rows and " + std::to_string(columns) +
                 " columns (byte " + std::to_string(at) + "); a grid needs two of each");
  }
  const double rotation = Double(head, at + 56);
  if (rotation != 0) {
    return Error("is rotated by " + NumberText(rotation) + "° (byte " + std::to_string(at + 56) +
                 "); only grids along the axes are read");
  }
  grid = GridDescription{};
  grid.Version = "7";
  grid.Rows = rows;
  grid.Columns = columns;
  grid.West = Double(head, at + 8);
  grid.South = Double(head, at + 16);
  grid.SpacingX = Double(head, at + 24);
  grid.SpacingY = Double(head, at + 32);
  grid.HasNoData = true;
  grid.NoData = Double(head, at + 64);
  grid.ValueBytes = 8;
  return Status::Ok();
}

// Walks the tagged sections of a Surfer 7 file: the GRID section, then the DATA section.
Status ReadSurfer7(std::string_view head, std::uint64_t size, GridDescription& grid) {
  bool gridRead = false;
  std::size_t at = 0;
  while (at + 8 <= head.size()) {
    const std::string_view tag = head.substr(at, 4);
    const std::int32_t length = LoadInt32(head.data() + at + 4, true);
    if (length < 0) {
      return Error("section '" + std::string(tag) + "' at byte " + std::to_string(at) +
                   " gives the length " + std::to_string(length));
    }
    if (tag == "GRID") {
      if (length < kSurfer7GridSize || at + 8 + kSurfer7GridSize > head.size()) {
        return Error("section GRID at byte " + std::to_string(at) + " is shorter than 72 bytes");
      }
      if (Status s = ReadSurfer7Grid(head, at + 8, grid); !s) {
        return s;
      }
      gridRead = true;
    } else if (tag == "DATA") {
      if (!gridRead) {
        return Error("has its DATA section (byte " + std::to_string(at) + ") before a GRID one");
      }
      grid.DataOffset = at + 8;
      const std::uint64_t end = grid.DataOffset + static_cast<std::uint64_t>(length);
      if (size < end) {
        return Error("section DATA at byte " + std::to_string(at) + " runs to byte " +
                     std::to_string(end) + ", but the file has " + std::to_string(size) + " bytes");
      }
      return Finish(grid, static_cast<std::uint64_t>(length));
    } else if (at != 0 && tag != "FLTI") {
      return Error("has a section '" + std::string(tag) + "' at byte " + std::to_string(at) +
                   " that is none of DSRB, GRID, FLTI, DATA");
    }
    at += 8 + static_cast<std::size_t>(length);
  }
  return Error(std::string("ends at byte ") + std::to_string(std::min<std::uint64_t>(at, size)) +
               " without " + (gridRead ? "a DATA" : "a GRID") + " section");
}

}  // namespace

bool LooksLikeSurfer(std::string_view head) noexcept {
  const std::string_view tag = head.substr(0, 4);
  return LooksLikeSurferText(head) || tag == "DSBB" || tag == "DSRB";
}

Status ReadSurferBinaryHeader(std::string_view head, std::uint64_t size, GridDescription& grid) {
  const std::string_view tag = head.substr(0, 4);
  if (tag == "DSBB") {
    return ReadSurfer6(head, size, grid);
  }
  if (tag == "DSRB") {
    return ReadSurfer7(head, size, grid);
  }
  return Error("starts with none of DSAA, DSBB and DSRB");
}

}  // namespace hextant
