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
    columnX_.resize(grid.Sparse ? 0 : static_cast<std::size_t>(grid.Columns));
    for (std::size_t a = 0; a < columnX_.size(); ++a) {
      columnX_[a] = (grid.West + static_cast<double>(a) * grid.SpacingX) * scale_;
    }
  }

  Status Row(std::int32_t row, const double* values) override {
    const double y = (grid_.South + row * grid_.SpacingY) * scale_;
    const std::int32_t first = row * grid_.Columns + 1;
    MapAhead(first);
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
  // Every row is written whole: mapping the memory of the rows in requests of a few MiB (in huge
  // pages) is far faster than a fault per page, and spread over the read it keeps the progress
  // moving. The rows arrive from south to north or from north to south.
  void MapAhead(std::int32_t firstNode) {
    constexpr std::size_t kNodeBytes = PointList::kFieldsPerNode * sizeof(double);
    constexpr std::size_t kChunk = std::size_t{8} << 20;
    const std::size_t begin = static_cast<std::size_t>(firstNode) * kNodeBytes;
    const std::size_t end = begin + static_cast<std::size_t>(grid_.Columns) * kNodeBytes;
    if (begin >= mappedBegin_ && end <= mappedEnd_) {
      return;
    }
    const std::size_t total = static_cast<std::size_t>(grid_.NodeCount() + 1) * kNodeBytes;
    const std::size_t span = std::max(kChunk, end - begin);
    mappedBegin_ = grid_.RowsFromNorth && end > span ? end - span : begin;
    mappedEnd_ = grid_.RowsFromNorth ? end : std::min(total, begin + span);
    PrefaultForWriting(reinterpret_cast<char*>(points_.Data()) + mappedBegin_,
                       mappedEnd_ - mappedBegin_);
  }

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
  std::size_t mappedBegin_ = 0, mappedEnd_ = 0;  // bytes of the block mapped ahead
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
  return points.ResizeForOverwrite(static_cast<std::int32_t>(grid.NodeCount()))
             ? Status::Ok()
             : Status::Error(ErrorOutOfMemory, "Out of memory");
}

Status ReadGrid(std::istream& source, std::uint64_t size, ReaderEnvironment& env,
                ReaderOutput& output) {
  ConversionSettings& settings = env.Settings;
  GridFile file(source, size);
  if (Status s = file.ReadHeader(ForcedGridLayout(settings.GridLayoutForced)); !s) {
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
  output.InGridOrder = !grid.Sparse;
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
  ReaderEnvironment reading{env.Settings, env.Progress, env.Messages, &source};
  return RunReader(kProcedure, reading, failure, [&]() -> Status {
    if (Status opened = source.Open(sourceFile); !opened) {
      return opened;
    }
    const Status read = ReadGrid(source.Stream(), source.Size(), reading, output);
    return read ? read
                : Status::Error(read.Number(), PathText(sourceFile) + ": " + read.Description());
  });
}

}  // namespace hextant
