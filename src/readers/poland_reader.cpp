#include "readers/poland_reader.h"

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "base/angles.h"
#include "base/rounding.h"
#include "readers/deferred_progress.h"
#include "readers/reader_support.h"

namespace hextant {
namespace {

constexpr const char* kProcedure = "ConvertFilePoland";
constexpr int kLinesPerReport = 1000;

// A node line as read: its position in radians, its separation in metres, its line number.
struct PolandNode {
  double lon, lat, separation;
  std::int64_t line;
};

// The node lines and extent of the file, read once. A second pass over the file would report
// progress every 1001 lines counted across both passes; its reports are shown afterwards.
class PolandLines {
 public:
  PolandLines(std::istream& source, std::uint64_t size, ReadProgress& progress,
              ReadDiagnostics& diagnostics)
      : lines_(source, size, progress), diagnostics_(diagnostics), deferred_(size) {}

  Status Read();
  /// Shows the reports the second pass makes up to its line `line`.
  void ShowSecondPassProgress(std::int64_t line);

  const std::vector<PolandNode>& Nodes() const noexcept { return nodes_; }
  ReadDiagnostics& Diagnostics() noexcept { return diagnostics_; }
  const MarkerOrCompareRange& Lon() const noexcept { return lon_; }
  const MarkerOrCompareRange& Lat() const noexcept { return lat_; }

 private:
  double Number(std::string_view text) noexcept {
    return NumberOf(text, lines_.LinesRead(), diagnostics_);
  }
  bool CountLine() noexcept {
    const bool report = counter_ == kLinesPerReport;
    counter_ = report ? 0 : counter_ + 1;
    return report;
  }

  SourceLines lines_;
  ReadDiagnostics& diagnostics_;
  DeferredProgress deferred_;
  std::vector<LineField> fields_;
  std::vector<PolandNode> nodes_;
  MarkerOrCompareRange lon_, lat_;
  int counter_ = 0;
  std::int64_t lineCount_ = 0;
  std::int64_t shownUpTo_ = 0;  // second-pass lines whose reports have been shown
  // The last line that holds anything, when it is a node line cut short after a node line: one
  // or two numbers (0: the last line is no such line).
  std::int64_t cutLine_ = 0;
  std::int16_t cutValues_ = 0;
};

Status PolandLines::Read() {
  std::string_view line;
  while (!lines_.AtEnd()) {
    if (Status s = lines_.Read(line); !s) {
      return s;
    }
    ++lineCount_;
    deferred_.Note(lineCount_, lines_.Consumed());
    const std::int16_t count = SplitMerged(line, "\t", 3, fields_);
    const auto number = static_cast<std::int64_t>(lines_.LinesRead());
    const bool nodeLine = count >= 3 && fields_[1].Text != "#";
    if (nodeLine) {
      nodes_.push_back({DegToRad(Number(fields_[2].Text)), DegToRad(Number(fields_[1].Text)),
                        Number(fields_[3].Text), number});
      lon_.Take(nodes_.back().lon);
      lat_.Take(nodes_.back().lat);
    }
    if (count > 0) {
      const bool cut = !nodeLine && !nodes_.empty() && OnlyNumbers(fields_, count, "");
      cutLine_ = cut ? number : 0;
      cutValues_ = count;
    }
    if (CountLine()) {
      lines_.ReportProgress();  // after the line is used: the report ends the line's view
    }
  }
  if (cutLine_ > 0) {
    diagnostics_.Warnings.push_back("line " + std::to_string(cutLine_) + " holds " +
                                    std::to_string(cutValues_) +
                                    " of the 3 values of a node line: the file may have been "
                                    "cut short");
  }
  return Status::Ok();
}

void PolandLines::ShowSecondPassProgress(std::int64_t line) {
  for (; shownUpTo_ < std::min(line, lineCount_);) {
    ++shownUpTo_;
    if (CountLine()) {
      lines_.ShowPercent(deferred_.PercentAt(shownUpTo_));
    }
  }
}

// A grid may leave nodes without value, but one whose spacing leaves nearly all of them empty
// comes from a wrong spacing, and would only cost memory: such grids are refused.
constexpr std::int64_t kNodesPerLine = 64;
constexpr std::int64_t kSmallGrid = 65536;

struct PolandGrid {
  double lonMin = 0, latMin = 0;
  std::int32_t columns = 0, rows = 0;
};

Status SizeGrid(const PolandLines& lines, const ConversionSettings& settings, PolandGrid& grid) {
  const MarkerOrCompareRange& lon = lines.Lon();
  const MarkerOrCompareRange& lat = lines.Lat();
  const auto nodeLines = static_cast<std::int64_t>(lines.Nodes().size());
  grid.lonMin = lon.Smallest;
  grid.latMin = lat.Smallest;
  const auto columns = RoundHalfEvenToInt32((lon.Largest - lon.Smallest) / settings.SpacingX + 1);
  const auto rows = RoundHalfEvenToInt32((lat.Largest - lat.Smallest) / settings.SpacingY + 1);
  if (!columns || !rows) {
    return Status::Error(ErrorOverflow, "Overflow: the extent and the spacing give no grid");
  }
  const std::int64_t nodes = static_cast<std::int64_t>(*columns) * *rows;
  const std::int64_t allowed =
      std::min(MaxGridNodes, std::max(kSmallGrid, kNodesPerLine * nodeLines));
  if (nodes < 1 || nodes > allowed) {
    return Status::Error(ErrorOverflow, "Overflow: the extent and the spacing give a grid of " +
                                            std::to_string(nodes) + " nodes for " +
                                            std::to_string(nodeLines) +
                                            " node lines; check the spacing");
  }
  grid.columns = *columns;
  grid.rows = *rows;
  return Status::Ok();
}

Status FillGrid(const PolandGrid& grid, const ConversionSettings& settings, PointList& points) {
  points.Clear();
  if (!points.ResizeForOverwrite(grid.rows * grid.columns)) {
    return Status::Error(ErrorOutOfMemory, "Out of memory");
  }
  std::int32_t i = 0;
  for (std::int32_t b = 0; b < grid.rows; ++b) {
    for (std::int32_t a = 0; a < grid.columns; ++a) {
      points.SetNode(++i, {a * settings.SpacingX + grid.lonMin, b * settings.SpacingY + grid.latMin,
                           NullSeparation, NullFlagSet});
    }
  }
  return Status::Ok();
}

// The number of the grid node that `node` falls on, or 0 when it lies off the grid.
std::int32_t NodeNumber(const PolandNode& node, const PolandGrid& grid,
                        const ConversionSettings& settings) {
  const auto a = RoundHalfEvenToInt32((node.lon - grid.lonMin) / settings.SpacingX);
  const auto b = RoundHalfEvenToInt32((node.lat - grid.latMin) / settings.SpacingY);
  if (!a || !b || *a < 0 || *a >= grid.columns || *b < 0 || *b >= grid.rows) {
    return 0;
  }
  return grid.columns * *b + *a + 1;
}

// The line of the last node line before `later` that falls on grid node `number`; looked for
// only for the first repeat, which the warning names.
std::int64_t EarlierLineOf(const std::vector<PolandNode>& nodes, const PolandNode& later,
                           std::int32_t number, const PolandGrid& grid,
                           const ConversionSettings& settings) {
  std::int64_t earlier = 0;
  for (const PolandNode& node : nodes) {
    if (&node == &later) {
      break;
    }
    earlier = NodeNumber(node, grid, settings) == number ? node.line : earlier;
  }
  return earlier;
}

// "1443 of the 1581 nodes of the grid (91.3 %) have no value: ...", for the warning.
std::string EmptyNodesWarning(std::int64_t empty, std::int64_t nodes) {
  const double percent = 100.0 * static_cast<double>(empty) / static_cast<double>(nodes);
  const std::string share =
      percent < 0.05 ? "under 0.1" : NumberText(RoundHalfEven(percent * 10) / 10);
  return std::to_string(empty) + " of the " + std::to_string(nodes) +
         " nodes of the grid the file's extent gives (" + share +
         " %) have no value: no line of the file falls on them";
}

// Places every node line on its grid node, in file order, so that a later line on the same node
// replaces the earlier one; the second pass's progress runs along.
Status PlaceNodes(PolandLines& lines, const PolandGrid& grid, const ConversionSettings& settings,
                  PointList& points, MarkerOrCompareRange& range) {
  ReadDiagnostics& diagnostics = lines.Diagnostics();
  std::int64_t valued = 0;
  for (const PolandNode& node : lines.Nodes()) {
    lines.ShowSecondPassProgress(node.line);
    const std::int32_t number = NodeNumber(node, grid, settings);
    if (number == 0) {
      return Status::Error(ReaderFormatError, "line " + std::to_string(node.line) +
                                                  " puts a node off the grid its extent gives");
    }
    if (points.Node(number).NullFlag != 0.0) {
      ++valued;
    } else if (diagnostics.RepeatedNodes > 0) {
      diagnostics.NoteRepeated(node.line, 0);  // the later line is taken
    } else {
      diagnostics.NoteRepeated(node.line,
                               EarlierLineOf(lines.Nodes(), node, number, grid, settings));
    }
    points.SetNode(number, {node.lon, node.lat, node.separation, 0.0});
    range.Take(node.separation);
  }
  lines.ShowSecondPassProgress(std::numeric_limits<std::int64_t>::max());
  const std::int64_t nodes = static_cast<std::int64_t>(grid.rows) * grid.columns;
  if (valued < nodes) {
    diagnostics.Warnings.push_back(EmptyNodesWarning(nodes - valued, nodes));
  }
  return Status::Ok();
}

Status ReadPoland(std::istream& source, std::uint64_t size, ReaderEnvironment& env,
                  ReaderOutput& output) {
  ConversionSettings& settings = env.Settings;
  if (Status s = CheckSpacings(settings.SpacingX, settings.SpacingY); !s) {
    return s;
  }
  PolandLines lines(source, size, env.Progress, output.Diagnostics);
  if (Status s = lines.Read(); !s) {
    return s;
  }
  PolandGrid grid;
  if (Status s = SizeGrid(lines, settings, grid); !s) {
    return s;
  }
  if (Status s = FillGrid(grid, settings, settings.PointList); !s) {
    return s;
  }
  MarkerOrCompareRange range;
  if (Status s = PlaceNodes(lines, grid, settings, settings.PointList, range); !s) {
    return s;
  }
  return FinishRange(range.Smallest, range.Largest, output);
}

}  // namespace

bool ConvertFilePoland(std::istream& source, std::uint64_t sizeInBytes, ReaderEnvironment& env,
                       ReaderOutput& output, Status* failure) {
  env.Progress.ShowBar();
  return RunReader(kProcedure, env, failure,
                   [&] { return ReadPoland(source, sizeInBytes, env, output); });
}

bool ConvertFilePoland(const std::filesystem::path& sourceFile, ReaderEnvironment& env,
                       ReaderOutput& output, Status* failure) {
  return ReadSourceFile(sourceFile, kProcedure, ConvertFilePoland, env, output, failure);
}

}  // namespace hextant
