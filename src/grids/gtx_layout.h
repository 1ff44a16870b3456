#pragma once

// NOAA's GTX grid: a 40-byte big-endian header (south latitude, west longitude, latitude and
// longitude spacing as doubles in degrees, then rows and columns as 32-bit integers), then the
// values as big-endian floats, rows from south to north, each from west to east. Older files
// hold doubles; the file's length tells which. -88.8888 marks a node without value.

#include <cstdint>
#include <istream>
#include <string_view>

#include "base/status.h"
#include "grids/grid_description.h"
#include "grids/grid_sink.h"

namespace hextant {

inline constexpr std::size_t GtxHeaderSize = 40;
inline constexpr double GtxNoData = -88.8888;

/// True when the first bytes `head` of a file of `size` bytes are a GTX header whose grid fills
/// the rest of the file exactly.
bool LooksLikeGtx(std::string_view head, std::uint64_t size) noexcept;

/// Reads the header from `head` (at least GtxHeaderSize bytes) of a file of `size` bytes; fails,
/// saying why, for a header out of range or a length that does not match it.
Status ReadGtxHeader(std::string_view head, std::uint64_t size, GridDescription& grid);

/// Reads the values of `grid` from `source`, standing at the first value, into `sink`.
Status ReadGtxValues(std::istream& source, const GridDescription& grid, GridNodeSink& sink);

}  // namespace hextant
