#include "hdm_report_points.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <vector>

#include "text/line_reader.h"
#include "text/text_parsing.h"

namespace hextant {
namespace {

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) {
    return {};
  }
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

}  // namespace

std::optional<double> ParseNumber(std::string_view text, bool commaIsDecimal) {
  text = Trim(text);
  std::string copy(text);
  if (commaIsDecimal) {
    for (char& c : copy) {
      c = c == ',' ? '.' : c;
    }
  }
  const char* begin = copy.data();
  const char* end = begin + copy.size();
  if (begin != end && *begin == '+') {
    ++begin;  // from_chars takes no plus sign
  }
  if (begin == end ||
      !(std::isdigit(static_cast<unsigned char>(*begin)) || *begin == '-' || *begin == '.')) {
    return std::nullopt;  // keeps out "inf", "nan" and a second sign
  }
  double value = 0;
  const auto [stop, error] = std::from_chars(begin, end, value, std::chars_format::general);
  if (error != std::errc() || stop != end || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

std::optional<TypedPoint> ParseAtArgument(std::string_view text) {
  text = Trim(text);
  auto split = text.find(',');
  if (split == std::string_view::npos) {
    split = text.find_first_of(" \t");  // "X Y", given as one argument
  }
  if (split == std::string_view::npos) {
    return std::nullopt;
  }
  TypedPoint point{0, 0, std::string(Trim(text.substr(0, split))),
                   std::string(Trim(text.substr(split + 1)))};
  const auto x = ParseNumber(point.xText, false);
  const auto y = ParseNumber(point.yText, false);
  if (!x || !y) {
    return std::nullopt;
  }
  point.x = *x;
  point.y = *y;
  return point;
}

std::optional<TypedPoint> ParsePointLine(std::string_view line, bool& empty, std::string& problem) {
  line = Trim(line.substr(0, line.find('#')));
  empty = line.empty();
  if (empty) {
    return std::nullopt;
  }
  const char* delimiter = ",";
  for (const char* candidate : {"\t", ";", " "}) {
    if (line.find(candidate[0]) != std::string_view::npos) {
      delimiter = candidate;
      break;
    }
  }
  std::vector<LineField> fields;
  std::int16_t count = 100;
  if (!SplitLine(line, delimiter, count, fields, true)) {
    problem = "the line is too long";
    return std::nullopt;
  }
  if (count != 2) {
    problem = "expected two numbers X Y, found " + std::to_string(count) + " fields";
    return std::nullopt;
  }
  TypedPoint point{0, 0, std::string(Trim(fields[1].Text)), std::string(Trim(fields[2].Text))};
  const bool commaIsDecimal = delimiter[0] != ',';
  const auto x = ParseNumber(point.xText, commaIsDecimal);
  const auto y = ParseNumber(point.yText, commaIsDecimal);
  if (!x || !y) {
    problem = "'" + (x ? point.yText : point.xText) + "' is not a number";
    return std::nullopt;
  }
  point.x = *x;
  point.y = *y;
  return point;
}

std::int64_t ReadPoints(std::istream& in, const std::function<void(const TypedPoint&)>& answer,
                        const std::function<void(std::int64_t, const std::string&)>& broken) {
  // A line is held only up to one character past the longest a point line may be: a longer one
  // is cut there, refused as too long, and the rest of it skipped unread.
  LineReader lines(in, MaxLineLength + 1);
  std::string line, problem;
  std::int64_t number = 0, brokenLines = 0;
  while (lines.Next(line)) {
    ++number;
    bool empty = false;
    if (const auto point = ParsePointLine(line, empty, problem)) {
      answer(*point);
    } else if (!empty) {
      broken(number, problem);
      ++brokenLines;
    }
  }
  return brokenLines;
}

}  // namespace hextant
