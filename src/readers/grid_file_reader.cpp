#include "readers/grid_file_reader.h"

#include <cmath>
#include <numbers>
#include <vector>

#include "base/prefault.h"
#include "grids/grid_file.h"
#include "platform/file_system.h"
#include "platform/source_file.h"
#include "readers/reader_support.h"

namespace hextant {
namespace {

constexpr const char* kProcedure = "ConvertFileGrid";

// Puts the nodes of a grid file into the point list in grid order: rows from south to north,
// each from west to east, so that the sort finds them in place.
class PointListSink final : public GridNodeSink {
 public:
  PointListSink(const GridDescription& grid, PointList& points, ReadProgress& progress,
                std::uint64_t size)
      : grid_(grid),
        points_(points),
        progress_(progress),
        size_(size),
        scale_(grid.Geographical ? std::numbers::pi / 180 : 1.0) {
    columnX_.resize(static_cast<std::size_t>(grid.Columns));
    for (std::size_t a = 0; a < columnX_.size(); ++a) {
      columnX_[a] = (grid.West + static_cast<double>(a) * grid.SpacingX) * scale_;
    }
  }

  Status Row(std::int32_t row, const double* values) override {
    const double y = (grid_.South + row * grid_.SpacingY) * scale_;
    const std::int32_t first = row * grid_.Columns + 1;
    for (std::int32_t a = 0; a < grid_.Columns; ++a) {
      points_.SetNode(first + a, NodeAt(columnX_[static_cast<std::size_t>(a)], y, values[a]));
    }
    return Status::Ok();
  }

  Status Point(double x, double y, double value) override {
    if (!points_.Append(NodeAt(x * scale_, y * scale_, value))) {
      return Status::Error(ErrorOutOfMemory, "Out of memory");
    }
    return Status::Ok();
  }

  void Progress(std::uint64_t consumed) override { progress_.ShowReadProgress(size_, consumed); }

  const ExtremeRange& Range() const noexcept { return range_; }
  bool AnyValue() const noexcept { return range_.Largest >= range_.Smallest; }

 private:
  GeoidPoint NodeAt(double x, double y, double value) noexcept {
    if (std::isnan(value)) {
      return GeoidPoint{x, y, NullSeparation, NullFlagSet};
    }
    range_.Take(value);
    return GeoidPoint{x, y, value, 0.0};
  }

  const GridDescription& grid_;
  PointList& points_;
  ReadProgress& progress_;
  std::uint64_t size_;
  double scale_;
  std::vector<double> columnX_;
  ExtremeRange range_;
};

Status MakeRoom(const GridDescription& grid, PointList& points) {
  if (grid.NodeCount() > MaxGridNodes) {
    return Status::Error(ErrorFileFormat,
                         "the header's grid of " + std::to_string(grid.Rows) + " x " +
                             std::to_string(grid.Columns) + " nodes is larger than the " +
                             std::to_string(MaxGridNodes) + " nodes a model may hold");
  }
  points.Clear();
  if (grid.Sparse) {
    return Status::Ok();
  }
  if (!points.ResizeForOverwrite(static_cast<std::int32_t>(grid.NodeCount()))) {
    return Status::Error(ErrorOutOfMemory, "Out of memory");
  }
  // Every node is written: mapping the whole block in one request (in huge pages) is far faster
  // than a fault per page as the rows arrive.
  PrefaultForWriting(points.Data(), static_cast<std::size_t>(grid.NodeCount() + 1) *
                                        PointList::kFieldsPerNode * sizeof(double));
  return Status::Ok();
}

Status ReadGrid(std::istream& source, std::uint64_t size, ReaderEnvironment& env,
                ReaderOutput& output) {
  ConversionSettings& settings = env.Settings;
  GridFile file(source, size);
  const auto forced = settings.GridLayoutForced < 0
                          ? std::nullopt
                          : std::optional(static_cast<GridLayout>(settings.GridLayoutForced));
  if (Status s = file.ReadHeader(forced); !s) {
    return s;
  }
  const GridDescription& grid = file.Description();
  if (Status s = MakeRoom(grid, settings.PointList); !s) {
    return s;
  }
  const double scale = grid.Geographical ? std::numbers::pi / 180 : 1.0;
  settings.CoordinateType = grid.Geographical ? Geographical : Grid;
  settings.SpacingX = grid.SpacingX * scale;
  settings.SpacingY = grid.SpacingY * scale;
  PointListSink sink(grid, settings.PointList, env.Progress, size);
  if (Status s = file.ReadNodes(sink); !s) {
    return s;
  }
  env.Progress.ShowReadProgress(size, size);
  if (!sink.AnyValue()) {
    return Status::Error(ErrorFileFormat, "every node of the grid is without value");
  }
  return FinishRange(sink.Range().Smallest, sink.Range().Largest, output);
}

}  // namespace

bool ConvertFileGrid(std::istream& source, std::uint64_t sizeInBytes, ReaderEnvironment& env,
                     ReaderOutput& output, Status* failure) {
  env.Progress.ShowBar();
  return RunReader(kProcedure, env, failure,
                   [&] { return ReadGrid(source, sizeInBytes, env, output); });
}

bool ConvertFileGrid(const std::filesystem::path& sourceFile, ReaderEnvironment& env,
                     ReaderOutput& output, Status* failure) {
  env.Progress.ShowBar();
  SourceFile source;
  return RunReader(kProcedure, env, failure, [&]() -> Status {
    if (Status opened = source.Open(sourceFile); !opened) {
      return opened;
    }
    const Status read = ReadGrid(source.Stream(), source.Size(), env, output);
    return read ? read
                : Status::Error(read.Number(), PathText(sourceFile) + ": " + read.Description());
  });
}

}  // namespace hextant
