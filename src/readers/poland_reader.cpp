#include "readers/poland_reader.h"

#include <algorithm>

#include "base/angles.h"
#include "base/rounding.h"
#include "readers/reader_support.h"

namespace hextant {
namespace {

constexpr const char* kProcedure = "ConvertFilePoland";
constexpr int kLinesPerReport = 1000;

struct PolandNode {
  double lon, lat, separation;  // radians, metres
};

// Reads the node lines of one pass, reporting progress every 1001 lines across both passes.
class NodeLines {
 public:
  NodeLines(std::istream& source, std::uint64_t size, ReadProgress& progress, int& counter)
      : lines_(source, size, progress), counter_(counter) {}

  /// The next node line; false at the end of the file.
  Status Next(bool& found, PolandNode& node) {
    std::string_view line;
    while (!lines_.AtEnd()) {
      if (Status s = lines_.Read(line); !s) {
        return s;
      }
      CountLine();
      const std::int16_t count = SplitMerged(line, "\t", 3, fields_);
      if (count < 3 || fields_[1].Text == "#") {
        continue;
      }
      node = {DegToRad(ParseDecimal(fields_[2].Text)), DegToRad(ParseDecimal(fields_[1].Text)),
              ParseDecimal(fields_[3].Text)};
      found = true;
      return Status::Ok();
    }
    found = false;
    return Status::Ok();
  }

 private:
  void CountLine() {
    if (counter_ == kLinesPerReport) {
      lines_.ReportProgress();
      counter_ = 0;
    } else {
      ++counter_;
    }
  }

  SourceLines lines_;
  int& counter_;
  std::vector<LineField> fields_;
};

struct Extent {
  MarkerOrCompareRange lon, lat;
  std::int64_t nodeLines = 0;
};

// A grid may leave nodes without value, but one whose spacing leaves nearly all of them empty
// comes from a wrong spacing, and would only cost memory: such grids are refused.
constexpr std::int64_t kNodesPerLine = 64;
constexpr std::int64_t kSmallGrid = 65536;

struct PolandGrid {
  double lonMin = 0, latMin = 0;
  std::int32_t columns = 0, rows = 0;
};

Status FirstPass(NodeLines& lines, Extent& extent) {
  PolandNode node{};
  for (bool found = true;;) {
    if (Status s = lines.Next(found, node); !s || !found) {
      return s;
    }
    extent.lon.Take(node.lon);
    extent.lat.Take(node.lat);
    ++extent.nodeLines;
  }
}

Status SizeGrid(const Extent& e, const ConversionSettings& settings, PolandGrid& grid) {
  grid.lonMin = e.lon.Smallest;
  grid.latMin = e.lat.Smallest;
  const auto columns =
      RoundHalfEvenToInt32((e.lon.Largest - e.lon.Smallest) / settings.SpacingX + 1);
  const auto rows = RoundHalfEvenToInt32((e.lat.Largest - e.lat.Smallest) / settings.SpacingY + 1);
  if (!columns || !rows) {
    return Status::Error(ErrorOverflow, "Overflow: the extent and the spacing give no grid");
  }
  const std::int64_t nodes = static_cast<std::int64_t>(*columns) * *rows;
  const std::int64_t allowed =
      std::min(MaxGridNodes, std::max(kSmallGrid, kNodesPerLine * e.nodeLines));
  if (nodes < 1 || nodes > allowed) {
    return Status::Error(ErrorOverflow, "Overflow: the extent and the spacing give a grid of " +
                                            std::to_string(nodes) + " nodes for " +
                                            std::to_string(e.nodeLines) +
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

Status SecondPass(NodeLines& lines, const PolandGrid& grid, const ConversionSettings& settings,
                  PointList& points, MarkerOrCompareRange& range) {
  PolandNode node{};
  for (bool found = true;;) {
    if (Status s = lines.Next(found, node); !s || !found) {
      return s;
    }
    const auto a = RoundHalfEvenToInt32((node.lon - grid.lonMin) / settings.SpacingX);
    const auto b = RoundHalfEvenToInt32((node.lat - grid.latMin) / settings.SpacingY);
    if (!a || !b || *a < 0 || *a >= grid.columns || *b < 0 || *b >= grid.rows) {
      return Status::Error(ReaderFormatError, "a node lies off the grid its extent gives");
    }
    points.SetNode(grid.columns * *b + *a + 1, {node.lon, node.lat, node.separation, 0.0});
    range.Take(node.separation);
  }
}

Status ReadPoland(std::istream& source, std::uint64_t size, ReaderEnvironment& env,
                  ReaderOutput& output) {
  ConversionSettings& settings = env.Settings;
  if (Status s = CheckSpacings(settings.SpacingX, settings.SpacingY); !s) {
    return s;
  }
  int counter = 0;
  Extent extent;
  NodeLines first(source, size, env.Progress, counter);
  if (Status s = FirstPass(first, extent); !s) {
    return s;
  }
  PolandGrid grid;
  if (Status s = SizeGrid(extent, settings, grid); !s) {
    return s;
  }
  if (Status s = FillGrid(grid, settings, settings.PointList); !s) {
    return s;
  }
  source.clear();
  source.seekg(0);
  NodeLines second(source, size, env.Progress, counter);
  MarkerOrCompareRange range;
  if (Status s = SecondPass(second, grid, settings, settings.PointList, range); !s) {
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
