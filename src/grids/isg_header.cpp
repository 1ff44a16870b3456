#include "grids/isg_header.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <map>
#include <string>

#include "text/text_parsing.h"

namespace hextant {
namespace {

std::string_view Trim(std::string_view text) noexcept {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) {
    return {};
  }
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Lower case with runs of blanks made one space: "Delta  Lat" -> "delta lat".
std::string KeyOf(std::string_view text) {
  std::string key;
  for (char c : Trim(text)) {
    if (c == ' ' || c == '\t') {
      if (!key.empty() && key.back() != ' ') {
        key.push_back(' ');
      }
    } else {
      key.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
    }
  }
  return key;
}

// The whole of `text` as a plain number, with the half of its last digit.
bool ReadPlain(std::string_view text, double& value, double& halfUnit) noexcept {
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
  }
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end || !std::isfinite(value)) {
    return false;
  }
  const auto point = text.find('.');
  const auto exponent = text.find_first_of("eE");
  const auto digitsEnd = exponent == std::string_view::npos ? text.size() : exponent;
  const auto decimals =
      point == std::string_view::npos || point > digitsEnd ? 0 : digitsEnd - point - 1;
  halfUnit = 0.5 * std::pow(10.0, -static_cast<double>(decimals));
  return true;
}

// One header line as read: its value text and its line number.
struct Entry {
  std::string value;
  std::uint64_t line = 0;
};

class IsgHeader {
 public:
  Status Add(std::string_view line, std::uint64_t number);
  Status Describe(GridDescription& grid);

 private:
  const Entry* Find(const std::string& key) const {
    const auto it = entries_.find(key);
    return it == entries_.end() || it->second.value == "---" ? nullptr : &it->second;
  }
  std::string Text(const std::string& key, const std::string& fallback = {}) const {
    const Entry* e = Find(key);
    return e == nullptr ? fallback : KeyOf(e->value);
  }
  Status Error(const std::string& key, const std::string& why) const {
    const auto it = entries_.find(key);
    const std::string where =
        it == entries_.end() ? "" : "line " + std::to_string(it->second.line) + ": ";
    return Status::Error(ErrorFileFormat, where + "the ISG header's '" + key + "' " + why);
  }
  Status Number(const std::string& key, double& value, double& halfUnit, bool angle) const;
  Status Count(const std::string& key, std::int32_t& count) const;
  Status Axis(const std::string& name, bool edges, std::int32_t count, double factor, double& first,
              double& spacing) const;
  Status Units(GridDescription& grid) const;
  Status Ordering(GridDescription& grid) const;

  std::map<std::string, Entry> entries_;
  bool dmsAngles_ = false;
};

Status IsgHeader::Add(std::string_view line, std::uint64_t number) {
  const auto split = line.find_first_of(":=");
  if (split == std::string_view::npos) {
    if (Trim(line).empty()) {
      return Status::Ok();
    }
    return Status::Error(ErrorFileFormat, "line " + std::to_string(number) +
                                              ": an ISG header line needs 'key : text' or "
                                              "'key = number', not '" +
                                              std::string(Trim(line).substr(0, 60)) + "'");
  }
  const std::string key = KeyOf(line.substr(0, split));
  const std::string value(Trim(line.substr(split + 1)));
  const auto [it, added] = entries_.emplace(key, Entry{value, number});
  if (!added && it->second.value != value) {
    return Status::Error(ErrorFileFormat, "line " + std::to_string(number) +
                                              ": the ISG header "
                                              "gives '" +
                                              key + "' twice, as '" + it->second.value +
                                              "' and as '" + value + "'");
  }
  return Status::Ok();
}

Status IsgHeader::Number(const std::string& key, double& value, double& halfUnit,
                         bool angle) const {
  const Entry* e = Find(key);
  if (e == nullptr) {
    return Error(key, "is missing");
  }
  const bool read = angle && dmsAngles_ ? ReadIsgAngle(e->value, value, halfUnit)
                                        : ReadPlain(e->value, value, halfUnit);
  if (!read) {
    return Error(key, "is '" + e->value + "', not " +
                          (angle && dmsAngles_ ? "an angle such as 45°30'00\"" : "a number"));
  }
  return Status::Ok();
}

Status IsgHeader::Count(const std::string& key, std::int32_t& count) const {
  double value = 0, half = 0;
  if (Status s = Number(key, value, half, false); !s) {
    return s;
  }
  if (!(value >= 1 && value <= std::numeric_limits<std::int32_t>::max()) ||
      value != std::floor(value)) {
    return Error(key, "must be a whole number from 1, not " + Find(key)->value);
  }
  count = static_cast<std::int32_t>(value);
  return Status::Ok();
}

// The first node and the spacing along one axis ("lat", "lon", "north", "east"), in degrees or
// metres; the spacing comes from the bounds and the count and must agree with the header's.
Status IsgHeader::Axis(const std::string& name, bool edges, std::int32_t count, double factor,
                       double& first, double& spacing) const {
  double lo = 0, hi = 0, delta = 0, boundHalf = 0, deltaHalf = 0;
  const bool angle = name == "lat" || name == "lon";
  for (auto [key, value, half] :
       {std::tuple{name + " min", &lo, &boundHalf}, std::tuple{name + " max", &hi, &boundHalf},
        std::tuple{"delta " + name, &delta, &deltaHalf}}) {
    if (Status s = Number(key, *value, *half, angle); !s) {
      return s;
    }
  }
  if (!(delta > 0)) {
    return Error("delta " + name, "must be a positive spacing, not " + NumberText(delta));
  }
  if (!(hi >= lo)) {
    return Error(name + " max",
                 "(" + NumberText(hi) + ") lies below " + name + " min (" + NumberText(lo) + ")");
  }
  const std::int32_t steps = edges ? count : count - 1;
  spacing = steps > 0 ? (hi - lo) / steps : delta;
  // The bounds are taken as exact; the spacing is checked to its own printed precision, a tie
  // refused: "0.3" for 0.25 is a wrong spacing, not 0.25 rounded.
  if (!(std::abs(spacing - delta) < deltaHalf * (1 - 1e-9) + 1e-12 * delta)) {
    return Error("delta " + name, "is " + Find("delta " + name)->value + ", but " + name +
                                      " min, " + name + " max and the node count give " +
                                      NumberText(spacing));
  }
  if (steps == 0 && hi != lo) {
    return Error(name + " max", "differs from " + name + " min for a single node");
  }
  first = (edges ? lo + spacing / 2 : lo) * factor;
  spacing *= factor;
  return Status::Ok();
}

Status IsgHeader::Units(GridDescription& grid) const {
  const std::string type = Text("coord type", "geodetic");
  if (type != "geodetic" && type != "projected") {
    return Error("coord type", "must be geodetic or projected, not '" + type + "'");
  }
  grid.Geographical = type == "geodetic";
  const Entry* latMin = Find(grid.Geographical ? "lat min" : "north min");
  const bool degreeSign =
      latMin != nullptr && latMin->value.find('\xB0') != std::string::npos;  // UTF-8 or Latin-1
  grid.CoordinateUnits =
      Text("coord units", grid.Geographical ? (degreeSign ? "dms" : "deg") : "meters");
  const std::string& units = grid.CoordinateUnits;
  if (grid.Geographical ? units != "deg" && units != "dms" : units != "meters" && units != "feet") {
    return Error("coord units", "is '" + units + "', which a " + type + " grid cannot have");
  }
  grid.ValueUnits = Text("data units", "meters");
  if (grid.ValueUnits != "meters" && grid.ValueUnits != "feet") {
    return Error("data units", "must be meters or feet, not '" + grid.ValueUnits + "'");
  }
  grid.ValueFactor = grid.ValueUnits == "feet" ? FootInMetres : 1.0;
  return Status::Ok();
}

Status IsgHeader::Ordering(GridDescription& grid) const {
  const std::string format = Text("data format", "grid");
  if (format != "grid" && format != "sparse") {
    return Error("data format", "must be grid or sparse, not '" + format + "'");
  }
  grid.Sparse = format == "sparse";
  std::string order = Text("data ordering", grid.Sparse ? "lat, lon, n" : "n-to-s, w-to-e");
  std::erase(order, ' ');
  if (!grid.Sparse) {
    const bool known = order == "n-to-s,w-to-e" || order == "s-to-n,w-to-e" ||
                       order == "n-to-s,e-to-w" || order == "s-to-n,e-to-w";
    if (!known) {
      return Error("data ordering", "is '" + order + "', not one of a grid (N-to-S, W-to-E)");
    }
    grid.RowsFromNorth = order.starts_with("n-to-s");
    grid.ColumnsFromEast = order.ends_with("e-to-w");
    return Status::Ok();
  }
  int slots[3] = {-1, -1, -1};  // the fields of x, y and the value
  int field = 0;
  for (std::size_t start = 0; start <= order.size(); ++field) {
    const auto end = std::min(order.find(',', start), order.size());
    const std::string token = order.substr(start, end - start);
    const int kind = token == "lon" || token == "east"    ? 0
                     : token == "lat" || token == "north" ? 1
                     : token == "n"                       ? 2
                                                          : -1;
    if (kind < 0 || field > 2 || slots[kind] >= 0) {
      field = -1;
      break;
    }
    slots[kind] = field;
    start = end + 1;
  }
  if (field != 3) {
    return Error("data ordering", "is '" + order + "', not one of a sparse file (lat, lon, N)");
  }
  const int x = slots[0], y = slots[1], value = slots[2];
  grid.Fields = SparseFields{x, y, value};
  return Status::Ok();
}

Status IsgHeader::Describe(GridDescription& grid) {
  grid = GridDescription{};
  grid.Layout = GridLayout::Isg;
  grid.Version = Text("isg format");
  if (grid.Version != "1.0" && grid.Version != "1.01" && grid.Version != "2.0") {
    return Error("isg format", grid.Version.empty() ? "is missing"
                                                    : "is '" + grid.Version +
                                                          "'; versions 1.0, 1.01 and 2.0 are read");
  }
  if (const Entry* name = Find("model name")) {
    grid.ModelName = name->value;
  }
  if (Status s = Units(grid); !s) {
    return s;
  }
  if (Status s = Ordering(grid); !s) {
    return s;
  }
  dmsAngles_ = grid.CoordinateUnits == "dms";
  const double factor = grid.CoordinateUnits == "feet" ? FootInMetres : 1.0;
  const bool edges = grid.Version != "2.0";
  const std::string y = grid.Geographical ? "lat" : "north";
  const std::string x = grid.Geographical ? "lon" : "east";
  if (Status s = Count("nrows", grid.Rows); !s) {
    return s;
  }
  if (Status s = Count("ncols", grid.Columns); !s) {
    return s;
  }
  if (Status s = Axis(y, edges, grid.Rows, factor, grid.South, grid.SpacingY); !s) {
    return s;
  }
  if (Status s = Axis(x, edges, grid.Columns, factor, grid.West, grid.SpacingX); !s) {
    return s;
  }
  if (Find("nodata") != nullptr) {
    double half = 0;
    if (Status s = Number("nodata", grid.NoData, half, false); !s) {
      return s;
    }
    grid.HasNoData = true;
  }
  return Status::Ok();
}

}  // namespace

bool LooksLikeIsg(std::string_view head) noexcept {
  for (std::size_t at = head.find("begin_of_head"); at != std::string_view::npos;
       at = head.find("begin_of_head", at + 1)) {
    // At the start of a line, the first line after a UTF-8 byte-order mark included.
    if (at == 0 || head[at - 1] == '\n' || head[at - 1] == '\r' ||
        (at == 3 && head.starts_with("\xEF\xBB\xBF"))) {
      return true;
    }
  }
  return false;
}

bool ReadIsgAngle(std::string_view text, double& degrees, double& halfUnit) noexcept {
  const auto sign = text.find('\xB0');
  if (sign == std::string_view::npos) {
    return ReadPlain(text, degrees, halfUnit);
  }
  std::string_view d = text.substr(0, sign);
  if (!d.empty() && d.back() == '\xC2') {
    d.remove_suffix(1);  // the degree sign in UTF-8
  }
  const std::string_view rest = text.substr(sign + 1);
  const auto minuteMark = rest.find('\'');
  const auto secondMark = rest.find('"');
  if (minuteMark == std::string_view::npos || secondMark == std::string_view::npos ||
      secondMark < minuteMark || secondMark + 1 != rest.size()) {
    return false;
  }
  double deg = 0, min = 0, sec = 0, half = 0, ignored = 0;
  const bool negative = !Trim(d).empty() && Trim(d).front() == '-';
  std::string_view digits = Trim(d);
  if (negative) {
    digits.remove_prefix(1);
  }
  if (!ReadPlain(digits, deg, ignored) ||
      !ReadPlain(Trim(rest.substr(0, minuteMark)), min, ignored) ||
      !ReadPlain(Trim(rest.substr(minuteMark + 1, secondMark - minuteMark - 1)), sec, half) ||
      deg < 0 || min < 0 || min >= 60 || sec < 0 || sec >= 60) {
    return false;
  }
  degrees = (negative ? -1 : 1) * (deg + min / 60 + sec / 3600);
  halfUnit = half / 3600;
  return true;
}

Status ReadIsgHeader(LineReader& lines, GridDescription& grid) {
  std::string_view line;
  bool inHeader = false;
  IsgHeader header;
  while (lines.Next(line)) {
    if (!inHeader) {
      inHeader = line.starts_with("begin_of_head");
      continue;
    }
    if (line.starts_with("end_of_head")) {
      Status s = header.Describe(grid);
      grid.DataOffset = lines.Consumed();
      return s;
    }
    if (Status s = header.Add(line, lines.LinesRead()); !s) {
      return s;
    }
  }
  return Status::Error(ErrorFileFormat,
                       std::string("the file ends after line ") +
                           std::to_string(lines.LinesRead()) +
                           (inHeader ? " without end_of_head" : " without begin_of_head"));
}

}  // namespace hextant
