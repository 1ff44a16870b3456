#include "readers/source_recognition.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "grids/grid_file.h"
#include "platform/source_file.h"
#include "readers/norway_reader.h"
#include "settings/choice_lists.h"
#include "text/line_reader.h"
#include "text/text_parsing.h"

namespace hextant {
namespace {

// How much of a file its text layout is told from: a hundred lines of the longest rows.
constexpr std::size_t kHeadBytes = 256 * 1024;
// The row grids skip lines of this many blank-separated fields or fewer.
constexpr std::size_t kSkippedFields = 51;

using Lines = std::vector<std::string>;

// The whole lines of `head` as the readers see them (a byte-order mark skipped; LF, CR LF or CR
// ends a line); a line that the end of `head` cuts is left out unless `head` is the whole file.
Lines HeadLines(std::string_view head, bool wholeFile) {
  if (!wholeFile) {
    const std::size_t end = head.find_last_of("\r\n");
    head = end == std::string_view::npos ? std::string_view() : head.substr(0, end + 1);
  }
  std::istringstream stream{std::string(head)};
  LineReader reader(stream);
  Lines lines;
  for (std::string line; reader.Next(line);) {
    lines.push_back(line);
  }
  return lines;
}

// The fields of `line` between blanks, as the national text readers split it.
std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  for (std::size_t at = line.find_first_not_of(' '); at != std::string_view::npos;
       at = line.find_first_not_of(' ', at)) {
    const std::size_t end = std::min(line.find(' ', at), line.size());
    words.push_back(line.substr(at, end - at));
    at = end;
  }
  return words;
}

// True when the whole of `text` is one finite number.
bool IsNumber(std::string_view text, DecimalMark mark = DecimalMark::PointOrComma) {
  double value = 0;
  const char* last = text.data() + text.size();
  const auto [end, error] = ReadDecimal(text.data(), last, value, mark);
  return error == std::errc() && end == last && std::isfinite(value);
}

bool AllNumbers(const std::vector<std::string_view>& words, DecimalMark mark) {
  return std::all_of(words.begin(), words.end(),
                     [mark](std::string_view word) { return IsNumber(word, mark); });
}

// The keyword header: the \TYPE and \GRID SET headings before the \DATA line.
bool IsCatalunya(const Lines& lines) {
  bool type = false;
  bool gridSet = false;
  for (std::size_t i = 1; i < lines.size(); ++i) {  // the first line is free text
    const std::string& line = lines[i];
    if (line.starts_with("\\DATA")) {
      return type && gridSet;
    }
    if (line.find('=') == std::string::npos) {
      const std::string heading = UpperCase(TrimBlanks(line));
      type = type || heading == "\\TYPE";
      gridSet = gridSet || heading == "\\GRID SET";
    }
  }
  return false;
}

// A "GEOIDE" line (double quotes around it or not), one line, 140 values and the origin's
// latitude and longitude, each the first field of its line.
bool IsItaly(const Lines& lines) {
  constexpr std::size_t kValues = 140;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string_view quoted = lines[i];
    quoted.remove_prefix(std::min(quoted.find_first_not_of('"'), quoted.size()));
    if (quoted.substr(0, quoted.find('"')) != "GEOIDE") {
      continue;
    }
    const std::size_t first = i + 2;
    const std::size_t end = first + kValues + 2;
    if (lines.size() < end) {
      return false;
    }
    for (std::size_t j = first; j < end; ++j) {
      const auto words = Words(lines[j]);
      if (words.empty() || !IsNumber(words[0])) {
        return false;
      }
    }
    return true;
  }
  return false;
}

// Three lines of two numbers (latitudes, longitudes, spacings in degrees), then each row in lines
// of eight values and the rest, as many as the head holds of the rows the header gives.
bool IsLaReunion(const Lines& lines) {
  constexpr auto kPoint = DecimalMark::PointOnly;
  std::array<double, 6> h{};  // latmin, latmax, lonmin, lonmax, dlat, dlon
  for (std::size_t i = 0; i < 3; ++i) {
    const auto words = i < lines.size() ? Words(lines[i]) : std::vector<std::string_view>();
    if (words.size() != 2 || !AllNumbers(words, kPoint)) {
      return false;
    }
    h[2 * i] = ParseDecimal(words[0], kPoint);
    h[2 * i + 1] = ParseDecimal(words[1], kPoint);
  }
  if (!(h[0] < h[1] && std::abs(h[0]) <= 90 && std::abs(h[1]) <= 90 && h[2] < h[3] &&
        std::abs(h[2]) <= 360 && std::abs(h[3]) <= 360 && h[4] > 0 && h[5] > 0)) {
    return false;
  }
  const double rows = std::round((h[1] - h[0]) / h[4]) + 1;
  const double columns = std::round((h[3] - h[2]) / h[5]) + 1;
  if (rows > 32767 || columns > 32767) {
    return false;
  }
  double rowsRead = 0;
  double left = columns;  // values still to come in the row
  for (std::size_t i = 3; i < lines.size() && rowsRead < rows; ++i) {
    if (lines[i].empty()) {
      continue;  // the reader skips empty lines
    }
    const auto words = Words(lines[i]);
    const double expected = std::min(8.0, left);
    if (static_cast<double>(words.size()) != expected || !AllNumbers(words, kPoint)) {
      return false;
    }
    left -= expected;
    if (left == 0) {
      left = columns;
      ++rowsRead;
    }
  }
  return rowsRead >= 1;
}

// Data lines of 52 numbers (Netherlands) or 361 (Switzerland), every one alike; other lines are
// too short to be data, as the readers take them.
std::int16_t RowGridFormat(const Lines& lines) {
  std::size_t length = 0;
  std::size_t dataLines = 0;
  for (const std::string& line : lines) {
    const auto words = Words(line);
    if (words.size() <= kSkippedFields) {
      continue;
    }
    if ((length != 0 && words.size() != length) || !AllNumbers(words, DecimalMark::PointOrComma)) {
      return FormatImportWizard;
    }
    length = words.size();
    ++dataLines;
  }
  if (dataLines < 2) {
    return FormatImportWizard;
  }
  return length == 52 ? FormatNetherlands : length == 361 ? FormatSwitzerland : FormatImportWizard;
}

}  // namespace

std::int16_t RecognizeNationalFormat(std::string_view head, std::uint64_t size) {
  if (FitsNorwayHeader(head, size)) {
    return FormatNorway;
  }
  const Lines lines = HeadLines(head, head.size() >= size);
  if (IsCatalunya(lines)) {
    return FormatCatalunya;
  }
  if (IsItaly(lines)) {
    return FormatItaly;
  }
  if (IsLaReunion(lines)) {
    return FormatLaReunion;
  }
  return RowGridFormat(lines);
}

std::int16_t RecognizeSourceFormat(const std::filesystem::path& path) {
  SourceFile source;
  if (!source.Open(path)) {
    return FormatImportWizard;
  }
  std::string head(static_cast<std::size_t>(std::min<std::uint64_t>(source.Size(), kHeadBytes)),
                   '\0');
  source.Stream().read(head.data(), static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<std::size_t>(source.Stream().gcount()));
  // One read of the head for both: the grid layouts look at its first GridHeadSize bytes.
  const std::string_view gridHead = std::string_view(head).substr(0, GridHeadSize);
  if (RecognizeGridLayout(gridHead, source.Size())) {
    return FormatGridFile;
  }
  return RecognizeNationalFormat(head, source.Size());
}

}  // namespace hextant
