#pragma once

#include "base/status.h"
#include "grids/grid_description.h"
#include "grids/grid_sink.h"
#include "text/line_reader.h"

namespace hextant {

/// Reads the values of the ISG grid `grid` from `lines`, standing after end_of_head, into `sink`:
/// rows of a grid (turned to run south to north and west to east), or the nodes of a sparse
/// file. Fails with the line at fault for a text that is no number and for fewer or more values
/// than the header gives.
Status ReadIsgValues(LineReader& lines, const GridDescription& grid, GridNodeSink& sink);

}  // namespace hextant
