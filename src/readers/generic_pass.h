#pragma once

// The generic reader's one pass over the data lines. It does the work of the counting pass and
// of the read pass at once: it counts the lines the counting pass counts, with that pass's
// progress reports and stop checks, and stores the points the read pass stores, noting where
// that pass would report. Lines come one at a time from the reader's own line reader, or as
// blocks of lines read into points on other threads and taken in here in file order, with the
// same reports, stop checks, points and notes as line by line.

#include <cstdint>
#include <string_view>
#include <vector>

#include "readers/converter_frame.h"
#include "readers/deferred_progress.h"
#include "readers/generic_chunk.h"
#include "readers/generic_layout.h"
#include "readers/reader_support.h"

namespace hextant {

/// Why the storing of points ended before the end of the file, if it did.
enum class StoreEnd { Open, Full, OutOfMemory, AngleOutsideLimits };

class GenericPass {
 public:
  GenericPass(std::uint64_t size, const GenericLayout& layout, ConversionSettings& settings,
              ReadProgress& progress, ReaderOutput& output);

  /// Takes line number `number` of the file, which ends after `consumed` bytes of it; false
  /// when the user stopped the read.
  bool Line(std::string_view line, std::uint64_t number, std::uint64_t consumed);
  /// Takes every line `lines` has left; line numbers and positions count from `lines`' own.
  bool Lines(SourceLines& lines, std::uint64_t linesBefore);

  enum class Taken { Done, Stopped, ReadAgain };
  /// The rows of the point list a taken block's points belong in, left for the caller to copy
  /// `Count` points from the block's `Points` to: until it has, nothing may read the point list
  /// or make it grow.
  struct PendingCopy {
    GeoidPoint* To = nullptr;
    std::size_t Count = 0;
  };
  /// Takes the lines of a parsed block that follows `linesBefore` lines and `consumed` bytes of
  /// the file. ReadAgain, with nothing taken, when the block's lines must go through Line. With
  /// `copy`, a block taken whole leaves its points' copy to the caller; otherwise they are copied
  /// here.
  Taken Chunk(const GenericChunk& chunk, std::uint64_t linesBefore, std::uint64_t consumed,
              PendingCopy* copy = nullptr);
  /// True when the point list holds room for the block's points without growing.
  bool HasRoomFor(const GenericChunk& chunk) const noexcept;
  /// The list the points go to, for the caller that copies them to see that it stays in place.
  const PointList& Points() const noexcept { return settings_.PointList; }

  /// Shows the read pass's progress up to the last point it stores; false on a stop request.
  bool ShowReadPassProgress();
  /// Cuts the point list to what the read pass stores and gives the range of its separations.
  FirstNodeRange Trim();

  std::int64_t Counted() const noexcept { return counted_; }
  StoreEnd End() const noexcept { return end_; }
  /// The points the read pass stores, the failing one included (one more than it keeps).
  std::int32_t ReadPassPoints() const noexcept;
  bool AngleFailureCounts() const noexcept {
    return end_ == StoreEnd::AngleOutsideLimits && stored_ <= counted_;
  }

 private:
  void Store(std::string_view line, std::uint64_t number, std::uint64_t consumed);
  void StoreParsed(const GenericChunk& chunk, std::size_t& next, std::uint64_t lastLine,
                   std::uint64_t consumed);
  void AddDiagnostics(const ReadDiagnostics& chunk, std::uint64_t linesBefore) noexcept;
  void AddRange(const GenericChunk& chunk) noexcept;
  void ReserveForFile(const GenericChunk& chunk) noexcept;

  std::uint64_t size_;
  std::uint64_t stride_;
  const GenericLayout& layout_;
  ConversionSettings& settings_;
  ReadProgress& progress_;
  ReadDiagnostics& diagnostics_;
  DeferredProgress deferred_;
  PointLineReader lines_;
  FirstNodeRange range_;
  std::uint64_t counter_ = 0;  // lines since the last progress report
  std::int64_t counted_ = 0;
  std::int32_t stored_ = 0;  // points read, the failing one included
  StoreEnd end_ = StoreEnd::Open;
  bool sized_ = false;  // the list was sized for the file from the first block
};

/// Copies the points a taken block left to copy into their rows.
void CopyPoints(const GenericChunk& chunk, const GenericPass::PendingCopy& copy) noexcept;

}  // namespace hextant
