#pragma once

// What every source reader shares: the calling contract, the offset and storage resolution of
// the separations, and the range trackers.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/status.h"
#include "platform/message_boxes.h"
#include "platform/source_file.h"
#include "readers/reader_progress.h"
#include "settings/conversion_settings.h"

namespace hextant {

/// Error number of a file that breaks its format.
inline constexpr int ReaderFormatError = ErrorFileFormat;

/// What a reader needs besides its source: the settings it reads and overwrites (its
/// `PointList` among them), the progress display and the message boxes for its error report.
struct ReaderEnvironment {
  ConversionSettings& Settings;
  ReadProgress& Progress;
  MessageBoxes& Messages;
  /// The open source, when the reader was given a path: a read of it that failed makes the
  /// reader fail with that error, whatever the reader made of the early end.
  const SourceFile* Source = nullptr;
};

/// What a reader read as best it could: values whose text held no number, read as 0.
struct ReadDiagnostics {
  std::int64_t NonNumericValues = 0;
  std::int64_t FirstNonNumericLine = 0;  // 1-based line of the first such value (0: none)

  std::int64_t OutsideLimitsLine = 0;  // 1-based line whose angles stopped the read (0: none)
  std::string OutsideLimitsText;       // that line as read, cut to a readable length

  /// Notes that the angles of `text`, line `line` of the file, lie outside the limits.
  void NoteOutsideLimits(std::int64_t line, std::string_view text) {
    OutsideLimitsLine = line;
    OutsideLimitsText = std::string(text.substr(0, 80));
  }
  /// Notes that a value on `line` held no number.
  void NoteNonNumeric(std::int64_t line) noexcept {
    if (NonNumericValues++ == 0) {
      FirstNonNumericLine = line;
    }
  }

  std::int64_t RepeatedNodes = 0;             // node lines that fell on a node an earlier line gave
  std::int64_t FirstRepeatedLine = 0;         // 1-based line of the first of them (0: none)
  std::int64_t FirstRepeatedEarlierLine = 0;  // the earlier line whose node it gave again

  /// Notes that `line` gave the node that `earlier` gave already.
  void NoteRepeated(std::int64_t line, std::int64_t earlier) noexcept {
    if (RepeatedNodes++ == 0) {
      FirstRepeatedLine = line;
      FirstRepeatedEarlierLine = earlier;
    }
  }

  /// What else a reader saw that may make the model differ from what the file meant, one
  /// sentence each, naming the line ("line 30 holds 12 of the 52 values of a row: ...").
  std::vector<std::string> Warnings;

  std::int64_t PartialNumbers = 0;    // values of which a leading number was read, the rest not
  std::int64_t FirstPartialLine = 0;  // 1-based line of the first such value (0: none)
  std::array<char, 40> FirstPartialText{};  // that value's text, cut to a readable length
  std::size_t FirstPartialLength = 0;
  double FirstPartialValue = 0.0;  // what it was read as

  /// Notes that of `text` on `line` only a leading part was read, as `value`. Allocates nothing,
  /// so the reading threads may call it.
  void NotePartial(std::int64_t line, std::string_view text, double value) noexcept {
    if (PartialNumbers++ == 0) {
      FirstPartialLine = line;
      FirstPartialLength = text.copy(FirstPartialText.data(), FirstPartialText.size());
      FirstPartialValue = value;
    }
  }
  std::string_view PartialText() const noexcept {
    return {FirstPartialText.data(), FirstPartialLength};
  }
  /// Adds the notes of a later part of the file whose first line is line `linesBefore` + 1.
  void Add(const ReadDiagnostics& later, std::int64_t linesBefore) noexcept {
    if (later.NonNumericValues > 0 && NonNumericValues == 0) {
      FirstNonNumericLine = linesBefore + later.FirstNonNumericLine;
    }
    NonNumericValues += later.NonNumericValues;
    if (later.PartialNumbers > 0 && PartialNumbers == 0) {
      FirstPartialLine = linesBefore + later.FirstPartialLine;
      FirstPartialText = later.FirstPartialText;
      FirstPartialLength = later.FirstPartialLength;
      FirstPartialValue = later.FirstPartialValue;
    }
    PartialNumbers += later.PartialNumbers;
  }
};

/// What a reader hands back besides the point list.
struct ReaderOutput {
  double SeparationOffset = 0.0;    // metres
  std::int16_t ResolutionCode = 0;  // ResolutionMillimetres or ResolutionCentimetres
  /// The factor that brings the settings' spacings into the unit of the coordinates read (a grid
  /// entered in feet is read in metres); the settings themselves keep what the user entered.
  double SpacingFactor = 1.0;
  /// The read stopped because the user asked it to (the Back button during a read).
  bool StoppedByUser = false;
  /// The reader put the nodes in grid order itself (rows south to north, each west to east), so
  /// the run need not sort them.
  bool InGridOrder = false;
  ReadDiagnostics Diagnostics;
};

/// The midpoint of the separation range cut down to whole millimetres goes to `offset`; returns
/// ResolutionCentimetres when `largest` lies more than 32 m above it, else ResolutionMillimetres.
/// Fails (nullopt) when smallest + largest is exactly 0, which is also what an empty read gives.
std::optional<std::int16_t> ComputeOffsetAndResolution(double& offset, double smallest,
                                                       double largest) noexcept;

/// Range of the valued separations with both trackers starting at the extremes ±999999.9.
struct ExtremeRange {
  double Smallest = 999999.9;
  double Largest = -999999.9;
  void Take(double value) noexcept {
    if (value < Smallest) {
      Smallest = value;
    }
    if (value > Largest) {
      Largest = value;
    }
  }
};

/// Range whose trackers hold a marker until the first value sets both; after that a value above
/// the largest replaces it, otherwise a value below the smallest replaces that.
struct FirstNodeRange {
  explicit FirstNodeRange(double marker = 99999.999)
      : Marker(marker), Smallest(marker), Largest(marker) {}
  double Marker;
  double Smallest;
  double Largest;
  void Take(double value) noexcept {
    if (Smallest == Marker) {
      Smallest = Largest = value;
    }
    if (value > Largest) {
      Largest = value;
    } else if (value < Smallest) {
      Smallest = value;
    }
  }
};

/// Range in which each tracker is replaced while it still holds the marker 99999.999 or when the
/// value lies beyond it.
struct MarkerOrCompareRange {
  static constexpr double Marker = 99999.999;
  double Smallest = Marker;
  double Largest = Marker;
  void Take(double value) noexcept {
    if (Smallest == Marker || value < Smallest) {
      Smallest = value;
    }
    if (Largest == Marker || value > Largest) {
      Largest = value;
    }
  }
};

/// True when nothing but blanks, tabs and line ends stands in [first, last): a number read up to
/// `first` was read whole.
inline bool OnlyBlanksIn(const char* first, const char* last) noexcept {
  for (; first < last; ++first) {
    if (*first != ' ' && *first != '\t' && *first != '\r' && *first != '\n') {
      return false;
    }
  }
  return true;
}

/// Runs the offset computation for a reader: fills `output`, or returns the format error.
Status FinishRange(double smallest, double largest, ReaderOutput& output);

}  // namespace hextant
