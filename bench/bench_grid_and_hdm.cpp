// Benchmarks of the grid sort on the shapes input comes in and of writing and reading a
// 10-million-node model.
//   make bench    (or build with -DHEXTANT_BENCHMARKS=ON and run bench/bench_grid_and_hdm)

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>

#include "base/grid_assembly.h"
#include "hdmfile/hdm_reader.h"
#include "hdmfile/hdmfile.h"

namespace {

constexpr int kRows = 2500;
constexpr int kColumns = 4000;                  // 10,000,000 nodes
constexpr double kStep = 0.004363323129985824;  // 0.25° in radians

hextant::PointList ShuffledGrid() {
  std::vector<hextant::GeoidPoint> nodes;
  nodes.reserve(static_cast<std::size_t>(kRows) * kColumns);
  for (int r = 0; r < kRows; ++r) {
    for (int c = 0; c < kColumns; ++c) {
      nodes.push_back(
          {c * kStep - 3.1, r * kStep - 1.5, 20.0 + 0.001 * ((r * 31 + c) % 9000), 0.0});
    }
  }
  std::shuffle(nodes.begin(), nodes.end(), std::mt19937(42));
  hextant::PointList list;
  list.Reserve(static_cast<std::int32_t>(nodes.size()));
  for (const auto& node : nodes) {
    list.Append(node);
  }
  return list;
}

const hextant::PointList& SortedGrid() {
  static const hextant::PointList sorted = [] {
    hextant::PointList list = ShuffledGrid();
    hextant::SortPoints(list);
    return list;
  }();
  return sorted;
}

std::string ModelPath() {
  return (std::filesystem::temp_directory_path() / "hextant-bench.HDM").string();
}

int16_t WriteModel(const hextant::PointList& list, const std::string& path) {
  const std::int32_t n = list.Count();
  const auto first = list.Node(1);
  const auto last = list.Node(n);
  WriteHeaderFileHDM(path.c_str());
  WriteBodyFileHDM(path.c_str(), 1 | HDM_FLAG_INTERPOLATION_4, n);
  WriteCoordTypeFileHDM(path.c_str(), 1, 1, first.X, first.Y, last.X, last.Y, kStep, kStep, 24.5,
                        kRows, n, "WGS 1984", 6378137.0, 1.0 / 298.25722356);
  return WritePtsFileHDM(path.c_str(), list.Data(), n, 24.5);
}

void BM_SortShuffled10M(benchmark::State& state) {
  const hextant::PointList shuffled = ShuffledGrid();
  for (auto _ : state) {
    state.PauseTiming();
    hextant::PointList list = shuffled;
    state.ResumeTiming();
    hextant::SortPoints(list);
    benchmark::DoNotOptimize(list.Data());
  }
  state.SetItemsProcessed(state.iterations() * shuffled.Count());
}
BENCHMARK(BM_SortShuffled10M)->Unit(benchmark::kMillisecond)->Iterations(3);

// SortPoints on the orders files come in, as GDAL writes an XYZ grid with longitudes 0..360:
// rows north to south, each starting at longitude 0 (a rotation of its order); the same already
// in grid order; and shuffled. Arguments: rows, columns (1 M and 26 M nodes).
enum Shape { kNorthToSouth, kSorted, kShuffled };

hextant::PointList ShapedGrid(int rows, int columns, Shape shape) {
  std::vector<hextant::GeoidPoint> nodes;
  nodes.reserve(static_cast<std::size_t>(rows) * columns);
  const double step = 3.14159265359 / (columns / 2);
  for (int r = 0; r < rows; ++r) {
    const double y = shape == kSorted ? r * step - 1.5 : 1.5 - r * step;
    for (int c = 0; c < columns; ++c) {
      double x = c * step;
      if (shape != kSorted && x > 3.14159265359) {
        x -= 6.28318530718;
      } else if (shape == kSorted) {
        x -= 3.1;
      }
      nodes.push_back({x, y, 20.0 + 0.001 * ((r * 31 + c) % 9000), 0.0});
    }
  }
  if (shape == kShuffled) {
    std::shuffle(nodes.begin(), nodes.end(), std::mt19937(42));
  }
  hextant::PointList list;
  list.Reserve(static_cast<std::int32_t>(nodes.size()));
  for (const auto& node : nodes) {
    list.Append(node);
  }
  return list;
}

void BM_SortShape(benchmark::State& state) {
  const auto shape = static_cast<Shape>(state.range(2));
  const hextant::PointList input =
      ShapedGrid(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), shape);
  hextant::PointList list;
  for (auto _ : state) {
    state.PauseTiming();
    list = input;
    state.ResumeTiming();
    hextant::SortPoints(list);
    benchmark::DoNotOptimize(list.Data());
  }
  state.SetItemsProcessed(state.iterations() * input.Count());
}
BENCHMARK(BM_SortShape)
    ->ArgNames({"rows", "columns", "shape"})
    ->ArgsProduct({{721}, {1440}, {kNorthToSouth, kSorted, kShuffled}})
    ->Args({3605, 7200, kNorthToSouth})
    ->Args({3605, 7200, kSorted})
    ->Args({3605, 7200, kShuffled})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

void BM_WriteModel10M(benchmark::State& state) {
  const hextant::PointList& list = SortedGrid();
  const std::string path = ModelPath();
  for (auto _ : state) {
    if (WriteModel(list, path) != HDM_OK) {
      state.SkipWithError("the writer refused the model");
    }
  }
  state.SetItemsProcessed(state.iterations() * list.Count());
}
BENCHMARK(BM_WriteModel10M)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ReadModel10M(benchmark::State& state) {
  const std::string path = ModelPath();
  if (WriteModel(SortedGrid(), path) != HDM_OK) {
    state.SkipWithError("the writer refused the model");
    return;
  }
  for (auto _ : state) {
    const auto result = hdm::ReadHdmFile(path);
    if (!result.model) {
      state.SkipWithError(result.error.c_str());
    }
    benchmark::DoNotOptimize(result.model->codes.data());
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_ReadModel10M)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
