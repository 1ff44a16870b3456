#pragma once

// The headers of the text grids besides ISG: the ESRI ASCII grid ("ncols 41" ... key lines, then
// the rows from north to south) and Surfer's text grid (DSAA, then nx ny, xlo xhi, ylo yhi,
// zlo zhi, then the rows from south to north). Neither names a coordinate system.

#include <string>
#include <string_view>

#include "base/status.h"
#include "grids/grid_description.h"
#include "text/line_reader.h"

namespace hextant {

/// Surfer's blanking value: a node whose value is this or more holds no value.
inline constexpr double SurferBlank = 1.70141e38;

/// True when the first word of `head` is ncols or nrows, in any case.
bool LooksLikeEsriAscii(std::string_view head) noexcept;

/// Reads the header lines from `lines`, standing at the start of the file. The header ends at
/// the first line that starts with a number: that line, read already, goes to `firstValues`.
/// Fails with the line and the key at fault for an unknown, repeated, missing or out-of-range
/// key.
Status ReadEsriAsciiHeader(LineReader& lines, GridDescription& grid, std::string& firstValues);

/// True when `head` starts with DSAA.
bool LooksLikeSurferText(std::string_view head) noexcept;

/// Reads the five header lines from `lines`, standing at the start of the file; fails with the
/// line at fault.
Status ReadSurferTextHeader(LineReader& lines, GridDescription& grid);

}  // namespace hextant
