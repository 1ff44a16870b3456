#pragma once

// Natural Resources Canada's BYN grid: an 80-byte header (south, north, west and east bounds as
// 32-bit integers and the spacings as 16-bit integers, in arc-seconds or, with the scale flag,
// thousandths of them; the data's factor as a double; the size of a value, 2 or 4 bytes; the
// byte order of the values), then the values as integers times 1/factor metres, rows from north
// to south, each from west to east. 32767 (2-byte) or 9999 × factor (4-byte) is no value.

#include <cstdint>
#include <string_view>

#include "base/status.h"
#include "grids/grid_description.h"

namespace hextant {

inline constexpr std::size_t BynHeaderSize = 80;

/// True when the first bytes `head` of a file of `size` bytes are a BYN header whose grid fills
/// the rest of the file exactly.
bool LooksLikeByn(std::string_view head, std::uint64_t size) noexcept;

/// Reads the header from `head` of a file of `size` bytes; fails, with the bytes at fault, for a
/// header out of range or a length that does not match it.
Status ReadBynHeader(std::string_view head, std::uint64_t size, GridDescription& grid);

}  // namespace hextant
