#pragma once

// The values of an ISG grid read in blocks of text that two threads turn into numbers while the
// reading thread places the numbers of the blocks before them, in file order.

#include <cstddef>
#include <cstdint>
#include <istream>
#include <string_view>

#include "base/status.h"
#include "grids/grid_description.h"
#include "grids/grid_sink.h"

namespace hextant {

/// Bytes of text in one block, at most (a block ends after its last blank or line end).
inline constexpr std::size_t IsgBlockBytes = std::size_t{4} << 20;

/// Where the values start: the bytes already read after the header, the stream with the rest,
/// the lines and bytes before them.
struct IsgValueText {
  std::string_view Buffered;
  std::istream& Rest;
  std::uint64_t LinesBefore = 0;
  std::uint64_t BytesBefore = 0;
};

/// Reads the rows of the grid `grid` (not sparse) into `sink`, turned to run south to north and
/// west to east. Fails with the line at fault for a text that is no number and for fewer or more
/// values than the header gives. `blockBytes` is for tests.
Status ReadIsgRows(const IsgValueText& text, const GridDescription& grid, GridNodeSink& sink,
                   std::size_t blockBytes = IsgBlockBytes);

}  // namespace hextant
