#pragma once

// How the generic reader reads one line: the layout and column roles the import wizard
// collected, taken from the settings once per file so that the lines can be read on any thread
// while the settings change, and the reading of a line into a point.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "readers/converter_frame.h"
#include "settings/conversion_settings.h"
#include "text/text_parsing.h"

namespace hextant {

/// The most fields a point line is split into.
inline constexpr std::int16_t MostPointFields = 100;

/// What stays fixed while one file is read: the layout, the unit factors and the roles in use.
struct GenericLayout {
  bool sexagesimal = false;
  bool geographical = false;
  double coordinateFactor = 1.0;
  double separationFactor = 1.0;
  double ySign = 1.0;
  std::int16_t widestRole = 0;  // the highest field number any role in use needs
  std::array<std::int16_t, ColumnRoleCount> roles{};
  std::string delimiter;
  bool mergeDelimiters = false;
  bool codeFilterOn = false;
  std::string codeFilter;
  /// The fields a line needs to be a point when the delimiter is one character, for
  /// SplitFirstFields; 0 when lines are split by SplitLine.
  std::int16_t firstFields = 0;
  /// The columns SplitFirstFields reads as numbers: those of the decimal roles X, Y, Separation.
  std::array<bool, MostPointFields + 1> numberColumns{};
  /// Every one of the first fields is such a column and no code is filtered: a line of plain
  /// numbers there is read by ReadPlainFields alone.
  bool plainFields = false;
};

/// The layout of the generic source `settings` describe.
GenericLayout LayoutOf(const ConversionSettings& settings);

/// Splits the lines of a generic source and reads their points with one layout, keeping its room
/// from line to line. A one-character delimiter takes SplitFirstFields, which reads the number
/// columns while it splits; other delimiters and column widths take SplitLine.
class PointLineReader {
 public:
  /// Splits a non-empty `line`; false when it has too few fields to be a point.
  bool Split(const GenericLayout& layout, std::string_view line);
  /// The point of the line last split, line `line` of the file; values that hold no number read
  /// as 0 and are noted. False when its angles lie outside the limits.
  bool Read(const GenericLayout& layout, std::int64_t line, ReadDiagnostics& diagnostics,
            GeoidPoint& p);

 private:
  FieldNumbers Numbers(const GenericLayout& layout) noexcept {
    return FieldNumbers{layout.numberColumns.data(), numberRead_.data(), numbers_.data()};
  }

  std::vector<LineField> fields_;
  std::array<std::string_view, MostPointFields + 1> firstFields_;
  std::array<bool, MostPointFields + 1> numberRead_{};
  std::array<double, MostPointFields + 1> numbers_{};
};

}  // namespace hextant
