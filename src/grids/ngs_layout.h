#pragma once

// The NGS binary geoid grid (GEOID12B, GEOID18 .bin files): a 44-byte header (south latitude,
// west longitude, latitude and longitude spacing as doubles in degrees, then rows, columns and
// the value kind as 32-bit integers), then float32 rows from south to north, each from west to
// east. NGS writes big-endian files and converts them to little-endian for Windows: the kind,
// 1 for float32, tells which. Longitudes are given from 0 to 360.

#include <cstdint>
#include <string_view>

#include "base/status.h"
#include "grids/grid_description.h"

namespace hextant {

inline constexpr std::size_t NgsHeaderSize = 44;

/// True when the first bytes `head` of a file of `size` bytes are an NGS header, in either byte
/// order, whose grid fills the rest of the file exactly.
bool LooksLikeNgs(std::string_view head, std::uint64_t size) noexcept;

/// Reads the header from `head` of a file of `size` bytes; fails, with the bytes at fault, for
/// an unknown value kind, a header out of range or a length that does not match it.
Status ReadNgsHeader(std::string_view head, std::uint64_t size, GridDescription& grid);

}  // namespace hextant
