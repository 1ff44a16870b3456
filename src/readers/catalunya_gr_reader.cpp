#include "readers/catalunya_gr_reader.h"

#include <cmath>

#include <string_view>
#include <system_error>
#include <vector>

#include "base/angles.h"
#include "base/rounding.h"
#include "readers/reader_support.h"
#include "text/line_reader.h"
#include "text/text_parsing.h"

namespace hextant {
namespace {

constexpr const char* kProcedure = "ConvertFileGR";
constexpr std::int32_t kLargestCount = 32767;  // the row and column loops count in 16 bits

enum class Section { None, Type, Description, Orientation, Auxiliary };

struct GrHeader {
  bool reachedData = false;
  bool gridSet = false;
  std::string typeCode, itemUnits, rowsText, columnsText;
  std::string orientationCode, orientationValues, orientationUnits, pointsText;
};

struct GrGrid {
  std::int32_t rows = 0, columns = 0, points = 0;
  double x0 = 0.0, y0 = 0.0, spacing = 0.0;
};

Status FormatError(const std::string& why) {
  return Status::Error(ReaderFormatError, why);
}

// Parts of `text` between single `separator` characters, empty parts included; none for an
// empty text.
std::vector<std::string_view> SplitAt(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  if (text.empty()) {
    return parts;
  }
  for (std::size_t start = 0;;) {
    const std::size_t next = text.find(separator, start);
    parts.push_back(text.substr(start, next == std::string_view::npos ? next : next - start));
    if (next == std::string_view::npos) {
      return parts;
    }
    start = next + 1;
  }
}

// Follows the header's sections line by line and keeps the values the reader needs.
class HeaderScanner {
 public:
  void Take(std::string_view line) {
    if (!prefix_.empty() && line.starts_with(prefix_) &&
        (section_ == Section::Orientation || section_ == Section::Auxiliary)) {
      section_ = Section::Description;  // a line at the subsection's level closes it
      prefix_.clear();
    }
    const auto parts = SplitAt(line, '=');
    if (parts.size() == 1) {
      TakeHeading(line, UpperCase(TrimBlanks(parts[0])));
    } else if (parts.size() == 2) {
      TakeKey(UpperCase(TrimBlanks(parts[0])), std::string(TrimBlanks(parts[1])));
    }
  }

  GrHeader& Header() { return header_; }

 private:
  void TakeHeading(std::string_view line, const std::string& heading) {
    if (heading == "\\TYPE") {
      section_ = Section::Type;
    } else if (heading == "\\DESCRIPTION") {
      section_ = Section::Description;
    } else if (heading == "\\ORIENTATION PARAMETERS" || heading == "\\AUXILIARY INFORMATION") {
      section_ = heading == "\\AUXILIARY INFORMATION" ? Section::Auxiliary : Section::Orientation;
      prefix_ = std::string(line.substr(0, line.find('\\') + 1));
    } else if (heading == "\\GRID SET") {
      header_.gridSet = true;
    }
  }

  void TakeKey(const std::string& key, std::string value) {
    std::string* slot = nullptr;
    switch (section_) {
      case Section::Type:
        slot = key == "\\CODE" ? &header_.typeCode : nullptr;
        break;
      case Section::Description:
        slot = key == "\\ITEM UNITS"          ? &header_.itemUnits
               : key == "\\NUMBER OF ROWS"    ? &header_.rowsText
               : key == "\\NUMBER OF COLUMNS" ? &header_.columnsText
                                              : nullptr;
        break;
      case Section::Orientation:
        slot = key == "\\CODE"    ? &header_.orientationCode
               : key == "\\LIST"  ? &header_.orientationValues
               : key == "\\UNITS" ? &header_.orientationUnits
                                  : nullptr;
        break;
      case Section::Auxiliary:
        slot = key == "\\NUMBER OF POINTS" ? &header_.pointsText : nullptr;
        break;
      case Section::None:
        break;
    }
    if (slot != nullptr) {
      *slot = std::move(value);
    }
  }

  Section section_ = Section::None;
  std::string prefix_;
  GrHeader header_;
};

Status ReadLine(LineReader& reader, std::string& line) {
  return reader.Next(line) ? Status::Ok()
                           : Status::Error(ErrorInputPastEnd, "Input past end of file");
}

Status ScanHeader(LineReader& reader, GrHeader& header) {
  std::string line;
  if (Status read = ReadLine(reader, line); !read) {
    return read;  // line 1, skipped unread
  }
  HeaderScanner scanner;
  do {
    if (Status read = ReadLine(reader, line); !read) {
      return read;
    }
    scanner.Take(line);
    if (line.starts_with("\\DATA")) {
      scanner.Header().reachedData = true;
      break;
    }
  } while (!reader.AtEnd());
  header = std::move(scanner.Header());
  return Status::Ok();
}

Status CountFrom(const std::string& text, std::int32_t& count) {
  const auto rounded = RoundHalfEvenToInt32(ParseDecimal(text));
  if (!rounded) {
    return Status::Error(ErrorOverflow, "Overflow");
  }
  count = *rounded;
  return Status::Ok();
}

Status ReadCounts(const GrHeader& h, GrGrid& grid) {
  if (Status s = CountFrom(h.rowsText, grid.rows); !s) {
    return s;
  }
  if (grid.rows == 0) {
    return FormatError("the number of rows is missing or 0");
  }
  if (Status s = CountFrom(h.columnsText, grid.columns); !s) {
    return s;
  }
  if (grid.columns == 0) {
    return FormatError("the number of columns is missing or 0");
  }
  if (grid.rows < 0 || grid.columns < 0) {
    return FormatError("a negative number of rows or columns");
  }
  if (grid.rows > kLargestCount || grid.columns > kLargestCount) {
    return Status::Error(ErrorOverflow, "Overflow");
  }
  if (Status s = CountFrom(h.pointsText, grid.points); !s) {
    return s;
  }
  const std::int32_t product = grid.rows * grid.columns;  // at most 32767², within 32 bits
  if (grid.points == 0) {
    grid.points = product;
  } else if (grid.points != product) {
    return FormatError("the number of points differs from rows × columns");
  }
  return Status::Ok();
}

Status ReadOrientation(const GrHeader& h, GrGrid& grid) {
  if (h.orientationCode != "HELMERT" || h.orientationValues.empty()) {
    return FormatError("the orientation code is not HELMERT or the list is missing");
  }
  const auto words = SplitAt(h.orientationUnits, ' ');
  if (words.size() != 4 || words[1] != words[0] || words[2] != words[0] || words[3] != words[0]) {
    return FormatError("the orientation units are not four equal words");
  }
  const std::string unit = UpperCase(TrimBlanks(words[0]));
  if (unit != "RAD" && unit != "DEG" && unit != "GRA") {
    return FormatError("the orientation unit is not RAD, DEG or GRA");
  }
  const auto values = SplitAt(TrimBlanks(h.orientationValues), ' ');
  const std::size_t expected = unit == "DEG" ? 12 : 4;
  if (values.size() != expected) {
    return FormatError("the orientation list does not hold " + std::to_string(expected) +
                       " values");
  }
  std::vector<double> v;
  for (auto text : values) {
    v.push_back(ParseDecimal(text));
  }
  if (unit == "RAD") {
    grid.x0 = v[0], grid.y0 = v[1], grid.spacing = v[2];
  } else if (unit == "GRA") {
    grid.x0 = DegToRad(v[0]), grid.y0 = DegToRad(v[1]), grid.spacing = DegToRad(v[2]);
  } else {
    grid.x0 = DmsToRad(v[0], v[1], v[2]);
    grid.y0 = DmsToRad(v[3], v[4], v[5]);
    grid.spacing = DmsToRad(v[6], v[7], v[8]);
  }
  // The origin and spacing must be those of a geographical grid, as the window takes them.
  const double degree = DegToRad(1.0);
  if (!(std::abs(grid.y0) <= 90 * degree && std::abs(grid.x0) <= 360 * degree &&
        std::abs(grid.spacing) <= 180 * degree)) {
    return FormatError("the orientation list puts the origin at longitude " +
                       NumberText(grid.x0 / degree) + ", latitude " + NumberText(grid.y0 / degree) +
                       " degrees with a spacing of " + NumberText(grid.spacing / degree) +
                       ": beyond \u00b190\u00b0 of latitude, \u00b1360\u00b0 of longitude or "
                       "180\u00b0 of spacing");
  }
  return Status::Ok();
}

// The values of the file, one a line, as many as its header promises or not.
struct ValueLines {
  std::int64_t count = 0;
  std::uint64_t first = 0, last = 0;  // the lines of the first and the last
  bool toTheEnd = false;              // the file ends with the last
};

// A node count that differs from the header's, with both counts and the lines of the values.
Status CountMismatch(const GrGrid& grid, const ValueLines& values) {
  std::string text = "the header promises " + std::to_string(grid.points) + " nodes (" +
                     std::to_string(grid.rows) + " rows \u00d7 " + std::to_string(grid.columns) +
                     " columns), but the file holds " + std::to_string(values.count) + " values";
  if (values.count > 0) {
    text += ", on lines " + std::to_string(values.first) + " to " + std::to_string(values.last);
  }
  if (values.count < grid.points && values.toTheEnd) {
    text += ": it may have been cut short";
  }
  return FormatError(text);
}

bool IsValue(std::string_view line) {
  double value = 0.0;
  const char* last = line.data() + line.size();
  const auto [end, error] = ReadDecimal(line.data(), last, value);
  return error == std::errc() && OnlyBlanksIn(end, last);
}

// Adds the lines from the reader's position on that hold a value, up to the first that does not;
// they reach to the end when no line follows, or only a last one that is no keyword ("\END") and
// may be a value cut within ("-").
void CountValues(LineReader& reader, ValueLines& values) {
  std::string_view line;
  while (reader.Next(line)) {
    if (!IsValue(line)) {
      const bool keyword = TrimBlanks(line).starts_with('\\');
      values.toTheEnd = !keyword && reader.AtEnd();
      return;
    }
    ++values.count;
    values.last = reader.LinesRead();
  }
  values.toTheEnd = true;
}

// Every node needs a line of at least two bytes, so a header that promises more nodes than the
// rest of the file can hold is refused before the point list is sized, with the values counted.
Status SizePointList(const GrGrid& grid, std::uint64_t bytesLeft, LineReader& reader,
                     PointList& points) {
  if (static_cast<std::uint64_t>(grid.points) * 2 > bytesLeft) {
    ValueLines values{0, reader.LinesRead() + 1, reader.LinesRead()};
    CountValues(reader, values);
    return CountMismatch(grid, values);
  }
  points.Clear();
  if (!points.Resize(grid.points)) {
    return Status::Error(ErrorOutOfMemory, "Out of memory");
  }
  return Status::Ok();
}

Status ValidateHeader(const GrHeader& h, GrGrid& grid) {
  if (!h.reachedData) {
    return FormatError("no \\DATA line ends the header");
  }
  if (!h.gridSet) {
    return FormatError("the file is not marked \\GRID SET");
  }
  if (h.typeCode != "GEOID(N)") {
    return FormatError("the type code is not GEOID(N)");
  }
  if (UpperCase(h.itemUnits) != "M") {
    return FormatError("the item units are not M");
  }
  if (Status s = ReadCounts(h, grid); !s) {
    return s;
  }
  return ReadOrientation(h, grid);
}

// A node line that holds no number, line `firstLine` holding the first node: where no value
// follows it ("\END", an empty line, a number cut to "-"), the values end before the header's
// count, and the counts are given; otherwise the node is.
Status NoNumberAt(LineReader& reader, const GrGrid& grid, std::int32_t node,
                  std::uint64_t firstLine, bool keyword) {
  const std::uint64_t at = reader.LinesRead();
  const bool last = reader.AtEnd();
  ValueLines after;
  CountValues(reader, after);
  if (after.count > 0) {
    return FormatError("node " + std::to_string(node) + " (line " + std::to_string(at) +
                       ") holds no number");
  }
  return CountMismatch(grid, {node - 1, firstLine, at - 1, last && !keyword});
}

Status ReadNodes(LineReader& reader, const GrGrid& grid, PointList& points, ReadProgress& progress,
                 ExtremeRange& range) {
  std::string_view line;
  std::int32_t node = 1;
  const std::uint64_t firstLine = reader.LinesRead() + 1;
  for (std::int32_t r = 0; r < grid.rows; ++r) {
    for (std::int32_t c = 0; c < grid.columns; ++c) {
      if (!reader.Next(line)) {
        return Status::Error(ErrorInputPastEnd, "Input past end of file");
      }
      const double separation = ParseDecimal(line);  // before AtEnd, which ends the line's view
      if (separation == 0.0 && !IsValue(line)) {
        const bool keyword = TrimBlanks(line).starts_with('\\');
        return NoNumberAt(reader, grid, node, firstLine, keyword);
      }
      if (reader.AtEnd() && node < grid.points) {
        return CountMismatch(grid, {node, firstLine, reader.LinesRead(), true});
      }
      if (reader.AtEnd()) {
        return FormatError("the file ends without a line after the last node");
      }
      if (separation == 0.0) {
        return FormatError("node " + std::to_string(node) + " (line " +
                           std::to_string(reader.LinesRead()) + ") holds 0");
      }
      points.SetNode(node, {c * grid.spacing + grid.x0,
                            (grid.rows - 1 - r) * grid.spacing + grid.y0, separation, 0.0});
      range.Take(separation);
      ++node;
    }
    progress.ShowPercent(static_cast<int>(static_cast<double>(node) / grid.points * 100.0));
  }
  ValueLines values{grid.points, firstLine, reader.LinesRead()};
  CountValues(reader, values);  // the line after the last node ends them, unless it is a value
  return values.count > grid.points ? CountMismatch(grid, values) : Status::Ok();
}

Status ReadGrFile(std::istream& source, std::uint64_t sizeInBytes, ReaderEnvironment& env,
                  ReaderOutput& output, GrGrid& grid) {
  LineReader reader(source);
  GrHeader header;
  if (Status s = ScanHeader(reader, header); !s) {
    return s;
  }
  const std::uint64_t consumed = reader.Consumed();
  const std::uint64_t bytesLeft = sizeInBytes > consumed ? sizeInBytes - consumed : 0;
  if (Status s = ValidateHeader(header, grid); !s) {
    return s;
  }
  if (Status s = SizePointList(grid, bytesLeft, reader, env.Settings.PointList); !s) {
    return s;
  }
  ExtremeRange range;
  if (Status s = ReadNodes(reader, grid, env.Settings.PointList, env.Progress, range); !s) {
    return s;
  }
  return FinishRange(range.Smallest, range.Largest, output);
}

}  // namespace

bool ConvertFileGR(std::istream& source, std::uint64_t sizeInBytes, ReaderEnvironment& env,
                   ReaderOutput& output, Status* failure) {
  env.Progress.ShowBar();
  GrGrid grid;
  const bool read = RunReader(kProcedure, env, failure,
                              [&] { return ReadGrFile(source, sizeInBytes, env, output, grid); });
  if (read) {
    env.Settings.SpacingX = grid.spacing;
    env.Settings.SpacingY = grid.spacing;
    env.Settings.EllipsoidCode = Wgs1984Code;
  }
  return read;
}

bool ConvertFileGR(const std::filesystem::path& sourceFile, ReaderEnvironment& env,
                   ReaderOutput& output, Status* failure) {
  return ReadSourceFile(sourceFile, kProcedure, ConvertFileGR, env, output, failure);
}

}  // namespace hextant
