#include "readers/generic_chunk.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "base/prefault.h"
#include "text/line_reader.h"

namespace hextant {
namespace {

// Reserves room for `count` items, its pages mapped at once when it had less.
template <class T, class Allocator>
void Reserve(std::vector<T, Allocator>& items, std::size_t count) {
  if (items.capacity() < count) {
    items.reserve(count);
    PrefaultForWriting(items.data(), items.capacity() * sizeof(T));
  }
}

}  // namespace
void GenericChunk::Parse(const GenericLayout& layout, std::size_t lineLimit) noexcept {
  Points.clear();
  PointLines.clear();
  LineEnds.clear();
  Counted = 0;
  Diagnostics = ReadDiagnostics{};
  Range = FirstNodeRange{};
  RangeMerges = true;
  ReadAgain = false;
  try {
    // Room for lines of 16 bytes from the start, so that the first block a slot reads does not
    // grow its lists step by step (each step new pages and a copy); later blocks reuse the room.
    const std::size_t lines = Bytes.size / 16 + 1;
    Reserve(LineEnds, lines);
    Reserve(PointLines, lines);
    Reserve(Points, lines);
    ParseLines(layout, lineLimit);
  } catch (const std::bad_alloc&) {
    ReadAgain = true;
  }
}

// Lines end at LF, CR LF or CR, as LineReader ends them. The block ends after a line end, or is
// the last of the file, where a CR at the end is a line end and the last line may have none.
void GenericChunk::ParseLines(const GenericLayout& layout, std::size_t lineLimit) {
  const char* data = Bytes.data.get();
  const std::size_t size = Bytes.size;
  std::size_t nextCr = FindByte(data, 0, size, '\r');  // searched again once passed
  for (std::size_t at = 0; at < size;) {
    if (nextCr < at) {
      nextCr = FindByte(data, at, size, '\r');
    }
    const std::size_t stop = std::min(FindByte(data, at, std::min(nextCr, size), '\n'), nextCr);
    std::size_t next = stop;
    if (stop < size) {
      next += data[stop] == '\r' && stop + 1 < size && data[stop + 1] == '\n' ? 2 : 1;
    }
    const std::string_view line(data + at, std::min(stop - at, lineLimit));
    const auto index = static_cast<std::uint32_t>(LineEnds.size());
    LineEnds.push_back(static_cast<std::uint32_t>(next));
    if (!TakeLine(layout, line, index)) {
      ReadAgain = true;
      return;
    }
    at = next;
  }
}

// Counts and reads one line; false when the reader must see it for itself.
bool GenericChunk::TakeLine(const GenericLayout& layout, std::string_view line,
                            std::uint32_t index) {
  if (line.find_first_not_of(' ') != std::string_view::npos) {
    ++Counted;
  }
  if (line.empty() || !lines_.Split(layout, line)) {
    return true;
  }
  GeoidPoint point;
  if (!lines_.Read(layout, static_cast<std::int64_t>(index) + 1, Diagnostics, point)) {
    return false;
  }
  Points.push_back(point);
  PointLines.push_back(index);
  if (const double n = point.Separation; n != NullSeparation) {
    RangeMerges = RangeMerges && !std::isnan(n) && n != Range.Marker;
    Range.Take(n);
  }
  return true;
}

}  // namespace hextant
