#include "readers/catalunya_gr_reader.h"

#include <cmath>

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

// Every node needs a line of at least two bytes, so a header that promises more nodes than the
// rest of the file can hold is refused before the point list is sized.
Status SizePointList(const GrGrid& grid, std::uint64_t bytesLeft, PointList& points) {
  if (static_cast<std::uint64_t>(grid.points) * 2 > bytesLeft) {
    return FormatError("the file is too short for " + std::to_string(grid.points) + " nodes");
  }
  points.Clear();
  if (!points.Resize(grid.points)) {
    return Status::Error(ErrorOutOfMemory, "Out of memory");
  }
  return Status::Ok();
}

Status ValidateHeader(const GrHeader& h, std::uint64_t bytesLeft, GrGrid& grid, PointList& points) {
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
  if (Status s = SizePointList(grid, bytesLeft, points); !s) {
    return s;
  }
  return ReadOrientation(h, grid);
}

Status ReadNodes(LineReader& reader, const GrGrid& grid, PointList& points, ReadProgress& progress,
                 ExtremeRange& range) {
  std::string_view line;
  std::int32_t node = 1;
  for (std::int32_t r = 0; r < grid.rows; ++r) {
    for (std::int32_t c = 0; c < grid.columns; ++c) {
      if (!reader.Next(line)) {
        return Status::Error(ErrorInputPastEnd, "Input past end of file");
      }
      const double separation = ParseDecimal(line);  // before AtEnd, which ends the line's view
      if (reader.AtEnd()) {
        return FormatError("the file ends without a line after the last node");
      }
      if (separation == 0.0) {
        return FormatError("node " + std::to_string(node) + " holds 0 or no number");
      }
      points.SetNode(node, {c * grid.spacing + grid.x0,
                            (grid.rows - 1 - r) * grid.spacing + grid.y0, separation, 0.0});
      range.Take(separation);
      ++node;
    }
    progress.ShowPercent(static_cast<int>(static_cast<double>(node) / grid.points * 100.0));
  }
  return Status::Ok();
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
  if (Status s = ValidateHeader(header, bytesLeft, grid, env.Settings.PointList); !s) {
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
