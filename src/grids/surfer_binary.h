#pragma once

// Surfer's binary grids, little-endian: Surfer 6 ("DSBB", the counts as 16-bit integers, the
// bounds xlo xhi ylo yhi zlo zhi as doubles, then float32 rows from south to north) and Surfer 7
// (tagged sections: "DSRB" header, "GRID" with the counts, the south-western node, the spacings,
// the value range, the rotation and the blanking value, then "DATA" with float64 rows from south
// to north). A value of 1.70141e38 or more is blank.

#include <cstdint>
#include <string_view>

#include "base/status.h"
#include "grids/grid_description.h"

namespace hextant {

/// True when `head` starts with one of Surfer's tags: DSAA (text), DSBB or DSRB (binary).
bool LooksLikeSurfer(std::string_view head) noexcept;

/// Reads the header of a Surfer 6 or 7 binary grid from `head` of a file of `size` bytes; fails
/// with the byte at fault for a missing or short section, a count, spacing or rotation out of
/// range and a length that does not match the header.
Status ReadSurferBinaryHeader(std::string_view head, std::uint64_t size, GridDescription& grid);

}  // namespace hextant
