#pragma once

#include "base/status.h"
#include "grids/grid_description.h"
#include "grids/grid_sink.h"
#include "text/line_reader.h"

namespace hextant {

/// Reads the nodes of the sparse ISG file `grid` from `lines`, standing after end_of_head, into
/// `sink`. Fails with the line at fault for a text that is no number, a node of fewer than three
/// numbers and more nodes than the header gives.
Status ReadIsgValues(LineReader& lines, const GridDescription& grid, GridNodeSink& sink);

}  // namespace hextant
