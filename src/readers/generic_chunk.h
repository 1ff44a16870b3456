#pragma once

// One block of whole lines of a generic source, read into points apart from the rest of the
// file (on a worker thread), with what the reader needs to take them in as if it had read the
// lines itself: where each line ends, which line each point came from, the lines it counts and
// the values that held no number.

#include <cstdint>
#include <string_view>
#include <vector>

#include "base/large_buffer.h"
#include "readers/converter_frame.h"
#include "readers/generic_layout.h"
#include "text/line_blocks.h"

namespace hextant {

struct GenericChunk {
  LineBlocks::Block Bytes;
  /// The points of the block's lines, in order.
  std::vector<GeoidPoint, LargeBufferAllocator<GeoidPoint>> Points;
  /// For each point, the index (0-based, in the block) of its line.
  std::vector<std::uint32_t> PointLines;
  /// For each line, the bytes of the block up to and including its line end.
  std::vector<std::uint32_t> LineEnds;
  /// Lines that are not all blanks.
  std::int64_t Counted = 0;
  /// Values that held no number, their lines numbered 1, 2, ... within the block.
  ReadDiagnostics Diagnostics;
  /// The range of the valued separations, taken from the marker on; it merges into another
  /// range as taking the values one by one would unless a value is NaN or the marker itself.
  FirstNodeRange Range;
  bool RangeMerges = true;
  /// The block holds a line the reader must see for itself (angles outside the limits), or it
  /// could not be read apart: its lines are to be read again in the reader's own order.
  bool ReadAgain = false;

  /// Reads the lines of `Bytes` with `layout`; a line longer than `lineLimit` is cut to it, as
  /// LineReader cuts it. Allocation failures end in ReadAgain.
  void Parse(const GenericLayout& layout, std::size_t lineLimit) noexcept;

 private:
  void ParseLines(const GenericLayout& layout, std::size_t lineLimit);
  bool TakeLine(const GenericLayout& layout, std::string_view line, std::uint32_t index);

  PointLineReader lines_;
};

}  // namespace hextant
