#pragma once

// The text routines every text reader shares. None of them looks at the locale: the decimal mark
// is a point or a comma in input and always a point in output. They run once per line or field
// of files with millions of lines, so none allocates per character; SplitLine reuses the caller's
// field list and points into the caller's line.

#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace hextant {

/// The longest line SplitLine splits, in characters.
inline constexpr std::size_t MaxLineLength = 32767;
/// The widest column of a width list, in characters; wider ones are clipped to it.
inline constexpr std::int32_t MaxColumnWidth = 32767;

/// Which characters end the whole part of a number.
enum class DecimalMark { PointOrComma, PointOnly };

/// Reads the leading number of `text`: commas count as points (unless `mark` is PointOnly, when
/// a comma ends the number); spaces, tabs and line feeds are
/// ignored wherever they stand; an optional sign, digits, a point and digits, and an exponent
/// letter E, e, D or d with an optional sign and digits. "&H"/"&O" read a hexadecimal or octal
/// whole number. Text without a leading number gives 0; a number beyond the range of a double
/// gives ±infinity (or ±0 when too small).
double ParseDecimal(std::string_view text, DecimalMark mark = DecimalMark::PointOrComma) noexcept;

/// ParseDecimal of the characters first..last into `value`: returns the end of what was read and
/// std::errc::invalid_argument when the text held no digit (then `value` is 0). A plain number
/// (optional minus, digits, point, exponent E) is read by std::from_chars directly.
std::from_chars_result ReadDecimal(const char* first, const char* last, double& value,
                                   DecimalMark mark = DecimalMark::PointOrComma) noexcept;

/// ParseDecimal of `text` after its leading characters with codes 65 and above (letters,
/// [ \ ] ^ _ ` { | } ~ and every non-ASCII byte) are dropped: "N45" gives 45, " N45" gives 0.
double ParseAfterLetters(std::string_view text) noexcept;

/// ParseAfterLetters of first..last as ReadDecimal reads: invalid_argument when no digit came.
std::from_chars_result ReadAfterLetters(const char* first, const char* last,
                                        double& value) noexcept;

/// Writes `value` by a pattern of the form "0.0000": at least as many integer digits as zeros
/// before the point, exactly as many decimals as zeros after it, rounded, with a point as the
/// decimal mark whatever the locale.
std::string FormatWithPoint(double value, std::string_view pattern);

/// `value` for a message: at most ten significant digits, a point as the decimal mark, an
/// exponent for very large or small values ("0.004363323", "1e+250", "inf").
std::string NumberText(double value);

/// True when the text, with spaces at both ends removed, is empty, or holds only digits and the
/// characters + , - . with at least one digit ("1-2,3" passes; "1a" and "-" do not).
bool IsNumericText(std::string_view text) noexcept;

/// `text` without the blanks (spaces, not tabs) at both ends.
std::string_view TrimBlanks(std::string_view text) noexcept;

/// `text` with the ASCII letters a-z in upper case.
std::string UpperCase(std::string_view text);

/// One field of a split line. `Text` points into the line that was split; `Start` is the 1-based
/// position of its first character and `End` the position just past it.
struct LineField {
  std::string_view Text;
  std::int32_t Start = 0;
  std::int32_t End = 0;
};

/// Splits `line` (without its line end) into `fields` 1..count; element 0 is always empty.
/// A `delimiter` of 4 or more characters is a comma-separated list of column widths (rounded
/// half to even, clipped to 0..MaxColumnWidth); a shorter one is a delimiter text searched as a
/// whole, and with `mergeDelimiters` empty fields between delimiters are dropped. `maxFields`
/// comes in as the most fields the caller uses and goes out as the smaller of that and the
/// number of fields found. Returns false, with no field and `maxFields` 0, for a line longer than
/// MaxLineLength.
bool SplitLine(std::string_view line, std::string_view delimiter, std::int16_t& maxFields,
               std::vector<LineField>& fields, bool mergeDelimiters);

/// Fields SplitFirstFields reads as numbers while it splits, each array holding one element per
/// field (element 0 unused): field i is read when Wanted[i] is set and it is a number that
/// ReadDecimal reads with from_chars alone; then Read[i] is set and Values[i] holds the number.
struct FieldNumbers {
  const bool* Wanted = nullptr;
  bool* Read = nullptr;
  double* Values = nullptr;
};

/// The first `count` fields of `line` at the one-character `delimiter` into fields[1..count], as
/// SplitLine finds them; false, with fields past the last found unset, when the line has fewer
/// than `count` fields or is longer than MaxLineLength. `fields` holds count + 1 views. With
/// `numbers`, the fields it asks for are read as numbers too (none when the delimiter is a
/// character a number may hold).
bool SplitFirstFields(std::string_view line, char delimiter, bool mergeDelimiters,
                      std::int16_t count, std::string_view* fields,
                      const FieldNumbers* numbers = nullptr) noexcept;

/// Reads the first `count` fields of `line` into values[1..count] when each of them is a number
/// that ReadDecimal reads with from_chars alone, found as SplitFirstFields finds them; false,
/// with `values` partly set, for any other line, and always when the delimiter is a character a
/// number may hold. This is the fast way through a line that holds only plain numbers.
bool ReadPlainFields(std::string_view line, char delimiter, bool mergeDelimiters,
                     std::int16_t count, double* values) noexcept;

}  // namespace hextant
