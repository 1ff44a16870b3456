#include "readers/poland_reader.h"

#include <algorithm>
#include <limits>
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
  void NoteRepeated(std::int64_t line) noexcept { diagnostics_.NoteRepeated(line); }
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
    if (count >= 3 && fields_[1].Text != "#") {
      const std::int64_t number = static_cast<std::int64_t>(lines_.LinesRead());
      nodes_.push_back({DegToRad(Number(fields_[2].Text)), DegToRad(Number(fields_[1].Text)),
                        Number(fields_[3].Text), number});
      lon_.Take(nodes_.back().lon);
      lat_.Take(nodes_.back().lat);
    }
    if (CountLine()) {
      lines_.ReportProgress();  // after the line is used: the report ends the line's view
    }
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

// Places every node line on its grid node, in file order, so that a later line on the same node
// replaces the earlier one; the second pass's progress runs along.
Status PlaceNodes(PolandLines& lines, const PolandGrid& grid, const ConversionSettings& settings,
                  PointList& points, MarkerOrCompareRange& range) {
  for (const PolandNode& node : lines.Nodes()) {
    lines.ShowSecondPassProgress(node.line);
    const auto a = RoundHalfEvenToInt32((node.lon - grid.lonMin) / settings.SpacingX);
    const auto b = RoundHalfEvenToInt32((node.lat - grid.latMin) / settings.SpacingY);
    if (!a || !b || *a < 0 || *a >= grid.columns || *b < 0 || *b >= grid.rows) {
      return Status::Error(ReaderFormatError, "a node lies off the grid its extent gives");
    }
    const std::int32_t number = grid.columns * *b + *a + 1;
    if (points.Node(number).NullFlag == 0.0) {
      lines.NoteRepeated(node.line);  // the later line is taken
    }
    points.SetNode(number, {node.lon, node.lat, node.separation, 0.0});
    range.Take(node.separation);
  }
  lines.ShowSecondPassProgress(std::numeric_limits<std::int64_t>::max());
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
