#pragma once

// The export layouts read back for the round-trip tests: the grids by the tool's grid-file
// reader, XYZ text by the standard library.

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "grids/grid_file.h"

namespace hextant::test {

// A grid export read back by the tool's own grid-file reader: header and values, rows south to
// north; nodes without value are NaN.
struct ReadGrid {
  GridDescription grid;
  std::vector<double> values;
  Status status = Status::Ok();
};

inline ReadGrid ReadGridFile(const std::string& path) {
  struct Rows final : GridNodeSink {
    explicit Rows(ReadGrid& g) : g_(g) {}
    Status Row(std::int32_t row, const double* values) override {
      const auto columns = static_cast<std::size_t>(g_.grid.Columns);
      g_.values.resize(static_cast<std::size_t>(g_.grid.NodeCount()));
      std::copy(values, values + columns,
                g_.values.begin() + static_cast<std::ptrdiff_t>(row * columns));
      return Status::Ok();
    }
    Status Point(double, double, double) override { return Status::Error(1, "a sparse file"); }
    void Progress(std::uint64_t) override {}
    ReadGrid& g_;
  };
  ReadGrid g;
  std::ifstream in(path, std::ios::binary);
  GridFile file(in, std::filesystem::file_size(path));
  g.status = file.ReadHeader();
  g.grid = file.Description();
  Rows rows(g);
  if (g.status) {
    g.status = file.ReadNodes(rows);
  }
  return g;
}

inline std::vector<std::tuple<double, double, double>> ReadXyz(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::tuple<double, double, double>> nodes;
  double x, y, n;
  while (in >> x >> y >> n) {
    nodes.emplace_back(x, y, n);
  }
  return nodes;
}

}  // namespace hextant::test
