#include "grids/text_grid_headers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <map>
#include <optional>
#include <vector>

#include "text/text_parsing.h"

namespace hextant {
namespace {

bool IsBlank(char c) noexcept {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t at = 0;
  while (at < line.size()) {
    while (at < line.size() && IsBlank(line[at])) {
      ++at;
    }
    std::size_t end = at;
    while (end < line.size() && !IsBlank(line[end])) {
      ++end;
    }
    if (end > at) {
      words.push_back(line.substr(at, end - at));
    }
    at = end;
  }
  return words;
}

std::string LowerCase(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return lower;
}

// The whole of `text` as a finite number.
std::optional<double> Number(std::string_view text) noexcept {
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
  }
  double value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

// A count of nodes: a whole number from `least` that fits a 32-bit integer.
bool IsCount(std::optional<double> value, double least) noexcept {
  return value && *value >= least && *value <= std::numeric_limits<std::int32_t>::max() &&
         *value == std::floor(*value);
}

bool StartsWithNumber(std::string_view line) noexcept {
  const std::vector<std::string_view> words = Words(line);
  return !words.empty() && Number(words.front()).has_value();
}

struct EsriEntry {
  double value = 0;
  std::uint64_t line = 0;
};

class EsriHeader {
 public:
  Status Add(std::string_view line, std::uint64_t number) {
    const std::vector<std::string_view> words = Words(line);
    if (words.empty()) {
      return Status::Ok();
    }
    const std::string key = LowerCase(words[0]);
    static constexpr std::string_view kKeys[] = {
        "ncols",     "nrows",    "xllcorner", "xllcenter", "yllcorner",
        "yllcenter", "cellsize", "dx",        "dy",        "nodata_value"};
    if (std::find(std::begin(kKeys), std::end(kKeys), key) == std::end(kKeys)) {
      return Fail(number, "'" + std::string(words[0].substr(0, 40)) +
                              "' is no key of an ESRI ASCII grid header");
    }
    const std::optional<double> value = words.size() == 2 ? Number(words[1]) : std::nullopt;
    if (!value) {
      return Fail(number, "the ESRI ASCII header's '" + key + "' needs one number");
    }
    if (!entries_.emplace(key, EsriEntry{*value, number}).second) {
      return Fail(number, "the ESRI ASCII header gives '" + key + "' twice");
    }
    return Status::Ok();
  }

  Status Describe(GridDescription& grid, std::uint64_t lastLine) const {
    for (const char* key : {"ncols", "nrows"}) {
      if (Status s = Need(key, lastLine); !s) {
        return s;
      }
      if (!IsCount(entries_.at(key).value, 1)) {
        return Error(key, "must be a whole number from 1, not " + Text(key));
      }
    }
    const bool cellsize = entries_.count("cellsize") != 0;
    const char* spacings[2] = {cellsize ? "cellsize" : "dx", cellsize ? "cellsize" : "dy"};
    for (const char* key : spacings) {
      if (Status s = Need(key, lastLine); !s) {
        return s;
      }
      if (!(entries_.at(key).value > 0)) {
        return Error(key, "must be a positive spacing, not " + Text(key));
      }
    }
    double origin[2] = {};
    bool corner[2] = {};
    const char* axes[2][2] = {{"xllcorner", "xllcenter"}, {"yllcorner", "yllcenter"}};
    for (int a = 0; a < 2; ++a) {
      const bool atCorner = entries_.count(axes[a][0]) != 0;
      const bool atCentre = entries_.count(axes[a][1]) != 0;
      if (atCorner == atCentre) {
        return Status::Error(ErrorFileFormat, std::string("the ESRI ASCII header needs either '") +
                                                  axes[a][0] + "' or '" + axes[a][1] + "'" +
                                                  (atCorner ? ", not both" : ""));
      }
      corner[a] = atCorner;
      origin[a] = entries_.at(axes[a][atCorner ? 0 : 1]).value;
    }
    grid = GridDescription{};
    grid.Layout = GridLayout::EsriAscii;
    grid.Version = corner[0] ? "cell corners" : "cell centres";
    grid.Columns = static_cast<std::int32_t>(entries_.at("ncols").value);
    grid.Rows = static_cast<std::int32_t>(entries_.at("nrows").value);
    grid.SpacingX = entries_.at(cellsize ? "cellsize" : "dx").value;
    grid.SpacingY = entries_.at(cellsize ? "cellsize" : "dy").value;
    // A corner origin is the cell's edge: the node is the cell's centre, half a cell in.
    grid.West = origin[0] + (corner[0] ? grid.SpacingX / 2 : 0.0);
    grid.South = origin[1] + (corner[1] ? grid.SpacingY / 2 : 0.0);
    grid.RowsFromNorth = true;
    if (const auto it = entries_.find("nodata_value"); it != entries_.end()) {
      grid.HasNoData = true;
      grid.NoData = it->second.value;
    }
    TakeCoordinatesFromExtent(grid);
    if (grid.Geographical && grid.West > 180) {
      grid.West -= 360;  // longitudes given from 0 to 360, as for GTX
    }
    return Status::Ok();
  }

 private:
  static Status Fail(std::uint64_t line, const std::string& why) {
    return Status::Error(ErrorFileFormat, "line " + std::to_string(line) + ": " + why);
  }
  Status Need(const char* key, std::uint64_t lastLine) const {
    return entries_.count(key) != 0
               ? Status::Ok()
               : Fail(lastLine, std::string("the ESRI ASCII header ends without '") + key + "'");
  }
  Status Error(const char* key, const std::string& why) const {
    return Fail(entries_.at(key).line, std::string("the ESRI ASCII header's '") + key + "' " + why);
  }
  std::string Text(const char* key) const {
    char text[32];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, entries_.at(key).value);
    return ec == std::errc() ? std::string(text, end) : std::string("?");
  }

  std::map<std::string, EsriEntry> entries_;
};

Status SurferError(std::uint64_t line, const std::string& why) {
  return Status::Error(ErrorFileFormat,
                       "line " + std::to_string(line) + ": the Surfer DSAA header " + why);
}

}  // namespace

bool LooksLikeEsriAscii(std::string_view head) noexcept {
  if (head.substr(0, 3) == "\xEF\xBB\xBF") {
    head.remove_prefix(3);
  }
  std::size_t at = 0;
  while (at < head.size() && IsBlank(head[at])) {
    ++at;
  }
  std::string word;
  while (at < head.size() && !IsBlank(head[at]) && word.size() < 6) {
    word.push_back(head[at++]);
  }
  word = LowerCase(word);
  return (word == "ncols" || word == "nrows") && at < head.size() && IsBlank(head[at]);
}

Status ReadEsriAsciiHeader(LineReader& lines, GridDescription& grid, std::string& firstValues) {
  EsriHeader header;
  std::string_view line;
  while (lines.Next(line)) {
    if (StartsWithNumber(line)) {
      firstValues.assign(line);
      return header.Describe(grid, lines.LinesRead());
    }
    if (Status s = header.Add(line, lines.LinesRead()); !s) {
      return s;
    }
  }
  return Status::Error(ErrorFileFormat, "the file ends after line " +
                                            std::to_string(lines.LinesRead()) +
                                            " with the ESRI ASCII header, before any value");
}

bool LooksLikeSurferText(std::string_view head) noexcept {
  return head.substr(0, 4) == "DSAA" && (head.size() == 4 || IsBlank(head[4]));
}

Status ReadSurferTextHeader(LineReader& lines, GridDescription& grid) {
  std::string_view line;
  double numbers[4][2] = {};
  for (int k = -1; k < 4; ++k) {
    if (!lines.Next(line)) {
      return Status::Error(ErrorFileFormat, "the file ends after line " +
                                                std::to_string(lines.LinesRead()) +
                                                " within the Surfer DSAA header of five lines");
    }
    const std::vector<std::string_view> words = Words(line);
    if (k < 0) {
      continue;  // DSAA, as recognised
    }
    std::optional<double> first, second;
    if (words.size() == 2) {
      first = Number(words[0]);
      second = Number(words[1]);
    }
    if (!first || !second) {
      return SurferError(lines.LinesRead(), "needs two numbers on this line");
    }
    numbers[k][0] = *first;
    numbers[k][1] = *second;
  }
  if (!IsCount(numbers[0][0], 2) || !IsCount(numbers[0][1], 2)) {
    return SurferError(2, "gives nx ny " + NumberText(numbers[0][0]) + " " +
                              NumberText(numbers[0][1]) + "; they must be whole numbers from 2");
  }
  grid = GridDescription{};
  grid.Layout = GridLayout::Surfer;
  grid.Version = "6 text";
  grid.Columns = static_cast<std::int32_t>(numbers[0][0]);
  grid.Rows = static_cast<std::int32_t>(numbers[0][1]);
  grid.West = numbers[1][0];
  grid.South = numbers[2][0];
  grid.SpacingX = (numbers[1][1] - numbers[1][0]) / (grid.Columns - 1);
  grid.SpacingY = (numbers[2][1] - numbers[2][0]) / (grid.Rows - 1);
  if (!(grid.SpacingX > 0) || !(grid.SpacingY > 0)) {
    return SurferError(grid.SpacingX > 0 ? 4 : 3,
                       "gives no positive spacing: the upper bound must pass the lower one");
  }
  grid.BlankFrom = SurferBlank;
  TakeCoordinatesFromExtent(grid);
  return Status::Ok();
}

}  // namespace hextant
