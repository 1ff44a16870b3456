#pragma once

// The header of an ISG grid (the International Service for the Geoid's format, versions 1.0,
// 1.01 and 2.0): free comment text, then "key : text" and "key = number" lines between
// begin_of_head and end_of_head. "---" marks a key that does not apply. Version 1.x bounds are
// the edges of the cells around the nodes, version 2.0 bounds are the outer nodes.

#include <string_view>

#include "base/status.h"
#include "grids/grid_description.h"
#include "text/line_reader.h"

namespace hextant {

/// True when a line of `head`, the first bytes of a file, starts with "begin_of_head".
bool LooksLikeIsg(std::string_view head) noexcept;

/// Reads the comment and the header from `lines`, standing at the start of the file, up to and
/// with the end_of_head line. Fails with the line and the key at fault for a missing,
/// contradictory or out-of-range key, and for a spacing that the bounds and counts do not give.
Status ReadIsgHeader(LineReader& lines, GridDescription& grid);

/// Reads an ISG angle: decimal degrees, or degrees, minutes and seconds with the degree sign in
/// UTF-8 or Latin-1 (-5°30'15.5"). `halfUnit` receives half the last printed digit's value in
/// degrees. False when the text is neither.
bool ReadIsgAngle(std::string_view text, double& degrees, double& halfUnit) noexcept;

}  // namespace hextant
