#pragma once

// Pieces every reader uses: the trap that turns a reader's failure into the common error report,
// opening the source by path, and the source's lines with the progress report.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <istream>
#include <string>
#include <vector>

#include "readers/converter_frame.h"
#include "text/line_reader.h"
#include "text/text_parsing.h"

namespace hextant {

/// Error number of a spacing the grid cannot be built with.
inline constexpr int ErrorInvalidSpacing = 5;
/// The most nodes a reader builds a grid of (3.2 GB of points); larger grids are refused.
inline constexpr std::int64_t MaxGridNodes = 100'000'000;

/// Runs the body of the reader `procedure`. An exception inside becomes a failure; a failure is
/// reported through ReportReaderError, stored in `failure` when given, and gives false.
bool RunReader(const char* procedure, ReaderEnvironment& env, Status* failure,
               const std::function<Status()>& body);

/// A reader of a source stream of the given size in bytes.
using StreamReader = bool (*)(std::istream& source, std::uint64_t sizeInBytes,
                              ReaderEnvironment& env, ReaderOutput& output, Status* failure);

/// Opens `sourceFile` and runs `read` on it with its size; a file that cannot be opened is
/// reported for `procedure`.
bool ReadSourceFile(const std::filesystem::path& sourceFile, const char* procedure,
                    StreamReader read, ReaderEnvironment& env, ReaderOutput& output,
                    Status* failure);

/// Refuses spacings that are zero, negative or not finite.
Status CheckSpacings(double spacingX, double spacingY);

/// The lines of a text source, with the read position for the progress report.
class SourceLines {
 public:
  /// `start` is the position in the file at which the stream stands; only at 0 is a byte-order
  /// mark skipped.
  SourceLines(std::istream& source, std::uint64_t size, ReadProgress& progress,
              std::uint64_t start = 0)
      : reader_(source, LineReader::kDefaultLineLimit, start == 0),
        size_(size),
        start_(start),
        progress_(progress) {}

  /// The next line, valid until the next Read or AtEnd; fails with "Input past end of file"
  /// when there is none.
  Status Read(std::string_view& line);
  bool AtEnd() { return reader_.AtEnd(); }
  /// Shows how far the read has come.
  void ReportProgress() { progress_.ShowReadProgress(size_, Consumed()); }
  /// Shows a percentage worked out before (a deferred report of an earlier position).
  void ShowPercent(int percent) { progress_.ShowPercent(percent); }
  /// The position in the file after the last line read.
  std::uint64_t Consumed() const noexcept { return start_ + reader_.Consumed(); }
  /// The number of lines read so far.
  std::uint64_t LinesRead() const noexcept { return reader_.LinesRead(); }
  /// LineReader::Unread.
  bool Unread(std::string_view& bytes) const noexcept { return reader_.Unread(bytes); }

 private:
  LineReader reader_;
  std::uint64_t size_;
  std::uint64_t start_;
  ReadProgress& progress_;
};

/// Splits `line` at `delimiter` with consecutive delimiters merged, after dropping its leading
/// blanks; returns how many of the first `maxFields` fields came back.
std::int16_t SplitMerged(std::string_view line, std::string_view delimiter, std::int16_t maxFields,
                         std::vector<LineField>& fields);

/// ParseDecimal of `text`; a text that holds no number reads as 0 and is noted for `line`, and
/// one read only in part ("5abc" as 5) is noted too.
double NumberOf(std::string_view text, std::uint64_t line, ReadDiagnostics& diagnostics,
                DecimalMark mark = DecimalMark::PointOrComma) noexcept;

/// True when fields 1..count of a split line are numbers or `code`, the last perhaps cut within
/// ("43.4", "43.", "-"): a line too short for the format's data that a file cut short ends in.
bool OnlyNumbers(const std::vector<LineField>& fields, std::int16_t count, std::string_view code);

/// Field `index` (1-based) of a split line, or an empty text when the line has fewer fields.
std::string_view FieldText(const std::vector<LineField>& fields, std::int16_t count,
                           std::int16_t index);

}  // namespace hextant
