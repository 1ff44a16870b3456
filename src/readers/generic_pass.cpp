#include "readers/generic_pass.h"

#include <algorithm>
#include <cstring>

#include "base/prefault.h"

namespace hextant {
namespace {

constexpr std::uint64_t kBytesPerStride = 12800;
constexpr double kReserveMargin = 1.25;

}  // namespace

GenericPass::GenericPass(std::uint64_t size, const GenericLayout& layout,
                         ConversionSettings& settings, ReadProgress& progress, ReaderOutput& output)
    : size_(size),
      stride_(size / kBytesPerStride),
      layout_(layout),
      settings_(settings),
      progress_(progress),
      diagnostics_(output.Diagnostics),
      deferred_(size) {}

bool GenericPass::Line(std::string_view line, std::uint64_t number, std::uint64_t consumed) {
  if (line.find_first_not_of(' ') != std::string_view::npos) {
    ++counted_;
  }
  if (end_ == StoreEnd::Open) {
    Store(line, number, consumed);  // before the progress report, which may end the line's view
  }
  if (++counter_ > stride_) {
    progress_.ShowReadProgress(size_, consumed);
    counter_ = 0;
  }
  return settings_.ReadingActive;
}

bool GenericPass::Lines(SourceLines& lines, std::uint64_t linesBefore) {
  for (std::string_view line; lines.Read(line);) {
    if (!Line(line, linesBefore + lines.LinesRead(), lines.Consumed())) {
      return false;
    }
  }
  return true;
}

void GenericPass::Store(std::string_view line, std::uint64_t number, std::uint64_t consumed) {
  if (line.empty() || !lines_.Split(layout_, line)) {
    return;
  }
  if (stored_ >= MaxGridNodes) {
    end_ = StoreEnd::Full;  // more lines than a model may hold: refused once they are counted
    return;
  }
  ++stored_;
  deferred_.Note(stored_, consumed);
  GeoidPoint point;
  if (!lines_.Read(layout_, static_cast<std::int64_t>(number), diagnostics_, point)) {
    diagnostics_.NoteOutsideLimits(static_cast<std::int64_t>(number), line);
    end_ = StoreEnd::AngleOutsideLimits;
    return;
  }
  if (!settings_.PointList.Append(point)) {
    end_ = StoreEnd::OutOfMemory;
    return;
  }
  if (point.Separation != NullSeparation) {
    range_.Take(point.Separation);
  }
}

// A block is taken as a whole only while points are being stored and all of them fit: then no
// line of it can end the storing, and every report and stop check falls where Line puts it.
GenericPass::Taken GenericPass::Chunk(const GenericChunk& chunk, std::uint64_t linesBefore,
                                      std::uint64_t consumed, PendingCopy* copy) {
  const auto points = static_cast<std::int64_t>(chunk.Points.size());
  PointList& list = settings_.PointList;
  if (!sized_) {
    ReserveForFile(chunk);
  }
  if (chunk.ReadAgain || end_ != StoreEnd::Open || stored_ + points > MaxGridNodes ||
      !list.ReserveForAppend(static_cast<std::int32_t>(stored_ + points))) {
    return Taken::ReadAgain;
  }
  auto* const to = reinterpret_cast<GeoidPoint*>(list.Data()) + list.Count() + 1;
  std::size_t next = 0;
  const std::uint64_t lines = chunk.LineEnds.size();
  const std::uint64_t every = stride_ + 1;
  for (std::uint64_t line = stride_ - counter_; line < lines; line += every) {
    StoreParsed(chunk, next, line + 1, consumed);
    progress_.ShowReadProgress(size_, consumed + chunk.LineEnds[line]);
    if (!settings_.ReadingActive) {
      CopyPoints(chunk, PendingCopy{to, next});
      return Taken::Stopped;
    }
  }
  StoreParsed(chunk, next, lines, consumed);
  if (copy != nullptr) {
    *copy = PendingCopy{to, next};
  } else {
    CopyPoints(chunk, PendingCopy{to, next});
  }
  counter_ = (counter_ + lines) % every;
  counted_ += chunk.Counted;
  AddDiagnostics(chunk.Diagnostics, linesBefore);
  AddRange(chunk);
  return Taken::Done;
}

// Sizes the list for the whole file from the points per byte of its first block, with a wide
// margin, so that it is not moved while it fills: a list that grows near the end has all its
// pages moved, and on some virtual machines each moved page then costs a fault when it is next
// read (about 1 s for the 830 MB of a 26 M-node list). The first lines of a file may well be
// shorter or longer than the rest (the 3' EGM96 grid's first block was 4 % longer); the room
// reserved and never written is never mapped. A list that proves too small still grows, Trim
// gives back what was not used, and a refused reservation is no failure: growing asks again.
void GenericPass::ReserveForFile(const GenericChunk& chunk) noexcept {
  sized_ = true;
  if (chunk.Bytes.size == 0 || chunk.Points.empty()) {
    return;
  }
  const double perByte =
      static_cast<double>(chunk.Points.size()) / static_cast<double>(chunk.Bytes.size);
  const double estimate = perByte * static_cast<double>(size_) * kReserveMargin + 4096.0;
  settings_.PointList.Reserve(
      static_cast<std::int32_t>(std::min(estimate, static_cast<double>(MaxGridNodes))));
}

void CopyPoints(const GenericChunk& chunk, const GenericPass::PendingCopy& copy) noexcept {
  if (copy.Count > 0) {
    PrefaultForWriting(copy.To, copy.Count * sizeof(GeoidPoint));
    std::memcpy(copy.To, chunk.Points.data(), copy.Count * sizeof(GeoidPoint));
  }
}

bool GenericPass::HasRoomFor(const GenericChunk& chunk) const noexcept {
  const PointList& list = settings_.PointList;
  return std::int64_t{list.Count()} + static_cast<std::int64_t>(chunk.Points.size()) <=
         list.Capacity();
}

// Counts in the parsed points of the block's lines before line `endLine`, from point `next` on,
// noting the points at which the read position passes a percentage step. The room is reserved;
// the points are copied by the caller of Chunk.
void GenericPass::StoreParsed(const GenericChunk& chunk, std::size_t& next, std::uint64_t endLine,
                              std::uint64_t consumed) {
  const std::vector<std::uint32_t>& lines = chunk.PointLines;
  const auto first = lines.begin() + static_cast<std::ptrdiff_t>(next);
  const auto last = std::lower_bound(first, lines.end(), endLine);
  const auto endOf = [&](std::uint32_t line) { return consumed + chunk.LineEnds[line]; };
  for (auto at = first;; ++at) {
    at = std::partition_point(
        at, last, [&](std::uint32_t line) { return endOf(line) < deferred_.NextStep(); });
    if (at == last) {
      break;
    }
    deferred_.Note(stored_ + (at - first) + 1, endOf(*at));
  }
  const auto count = static_cast<std::int32_t>(last - first);
  settings_.PointList.ResizeForOverwrite(settings_.PointList.Count() + count);
  stored_ += count;
  next += static_cast<std::size_t>(count);
}

// Takes the block's separations into the range, at once where that gives what taking them one
// by one gives.
void GenericPass::AddRange(const GenericChunk& chunk) noexcept {
  if (!chunk.RangeMerges) {
    for (const GeoidPoint& point : chunk.Points) {
      if (point.Separation != NullSeparation) {
        range_.Take(point.Separation);
      }
    }
    return;
  }
  if (chunk.Range.Smallest == chunk.Range.Marker) {
    return;  // no valued separation
  }
  if (range_.Smallest == range_.Marker) {
    range_ = chunk.Range;  // the first value sets both ends, as it does one by one
    return;
  }
  range_.Smallest = std::min(range_.Smallest, chunk.Range.Smallest);
  range_.Largest = std::max(range_.Largest, chunk.Range.Largest);
}

void GenericPass::AddDiagnostics(const ReadDiagnostics& chunk, std::uint64_t linesBefore) noexcept {
  diagnostics_.Add(chunk, static_cast<std::int64_t>(linesBefore));
}

std::int32_t GenericPass::ReadPassPoints() const noexcept {
  return static_cast<std::int32_t>(std::min<std::int64_t>(stored_, counted_));
}

bool GenericPass::ShowReadPassProgress() {
  const std::int64_t every = static_cast<std::int64_t>(stride_) + 1;
  for (std::int64_t index = every; index <= ReadPassPoints(); index += every) {
    progress_.ShowPercent(deferred_.PercentAt(index));
    if (!settings_.ReadingActive) {
      return false;
    }
  }
  return true;
}

FirstNodeRange GenericPass::Trim() {
  PointList& points = settings_.PointList;
  const std::int32_t kept = ReadPassPoints() - (AngleFailureCounts() ? 1 : 0);
  const bool cut = kept < points.Count();
  points.Resize(std::min(kept, points.Count()));
  points.ShrinkToFit();
  if (!cut) {
    return range_;
  }
  // Lines of blanks split into empty fields are points the counting pass did not count: the
  // read pass stops at the counted number, so the range is taken again over those points.
  FirstNodeRange range;
  for (std::int32_t i = 1; i <= points.Count(); ++i) {
    if (const double n = points.Node(i).Separation; n != NullSeparation) {
      range.Take(n);
    }
  }
  return range;
}

}  // namespace hextant
