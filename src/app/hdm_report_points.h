#pragma once

// The points that hextant-inspect answers: `--at X,Y` arguments and files of "X Y" lines.

#include <cstdint>
#include <functional>
#include <istream>
#include <optional>
#include <string>
#include <string_view>

namespace hextant {

/// One point as the user typed it: its two numbers and their texts, which the answer repeats.
struct TypedPoint {
  double x = 0;
  double y = 0;
  std::string xText;
  std::string yText;
};

/// A number in full: optional sign, digits with a point or a comma as decimal mark (when
/// `commaIsDecimal`), optional exponent; blanks at both ends. nullopt for anything else,
/// infinities and NaN included.
std::optional<double> ParseNumber(std::string_view text, bool commaIsDecimal);

/// The point of an `--at` argument "X,Y"; nullopt when it is not two numbers.
std::optional<TypedPoint> ParseAtArgument(std::string_view text);

/// The point of one line of a points file: what follows '#' is a comment; SplitLine, as the
/// text readers use it, splits the fields at the first of tab, semicolon, space or comma that
/// the line holds (consecutive delimiters as one); with a comma delimiter the decimal mark is a
/// point, else a point or a comma. `empty` is set for a line without a point (blank or comment);
/// nullopt with `empty` false is a broken line, `problem` says why.
std::optional<TypedPoint> ParsePointLine(std::string_view line, bool& empty, std::string& problem);

/// Calls `answer` for each point of `in` in order and `broken` (line number from 1, problem) for
/// each broken line; returns the number of broken lines.
std::int64_t ReadPoints(std::istream& in, const std::function<void(const TypedPoint&)>& answer,
                        const std::function<void(std::int64_t, const std::string&)>& broken);

}  // namespace hextant
