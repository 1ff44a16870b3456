#pragma once

// Reading a grid file held in memory, for the tests of the grid layouts.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "grids/grid_file.h"

namespace hextant::grid_test {

struct Node {
  double x, y, value;  // value NaN: no value
};

// Collects the nodes a grid file hands out, in grid order (rows south to north).
class Collect final : public GridNodeSink {
 public:
  explicit Collect(const GridDescription& grid) : grid_(grid) {}
  Status Row(std::int32_t row, const double* values) override {
    for (std::int32_t a = 0; a < grid_.Columns; ++a) {
      rows_[static_cast<std::size_t>(row)].push_back(
          {grid_.West + a * grid_.SpacingX, grid_.South + row * grid_.SpacingY, values[a]});
    }
    return Status::Ok();
  }
  Status Point(double x, double y, double value) override {
    points.push_back({x, y, value});
    return Status::Ok();
  }
  void Progress(std::uint64_t) override {}
  std::vector<Node> Nodes() const {
    std::vector<Node> all;
    for (const auto& row : rows_) {
      all.insert(all.end(), row.begin(), row.end());
    }
    return all;
  }
  std::vector<Node> points;

 private:
  const GridDescription& grid_;
  std::vector<std::vector<Node>> rows_ = std::vector<std::vector<Node>>(64);
};

// Reads `bytes` as a grid file: the header, then the nodes; the first failure in `status`.
struct Read {
  explicit Read(const std::string& bytes, std::optional<GridLayout> forced = std::nullopt) {
    std::istringstream in(bytes);
    GridFile file(in, bytes.size());
    status = file.ReadHeader(forced);
    grid = file.Description();
    Collect sink(grid);
    if (status) {
      status = file.ReadNodes(sink);
    }
    nodes = grid.Sparse ? sink.points : sink.Nodes();
  }
  Status status = Status::Ok();
  GridDescription grid;
  std::vector<Node> nodes;
};

// Checks the 2 rows of 3 nodes the tables of layouts read: positions from (west, south) by (dx,
// dy), values within `tolerance` (NaN: no value).
inline void ExpectSixNodes(const Read& r, double west, double south, double dx, double dy,
                           const std::vector<double>& southToNorth, double tolerance = 0) {
  ASSERT_EQ(r.nodes.size(), 6u);
  for (std::size_t i = 0; i < 6; ++i) {
    EXPECT_DOUBLE_EQ(r.nodes[i].x, west + dx * static_cast<double>(i % 3)) << i;
    EXPECT_DOUBLE_EQ(r.nodes[i].y, south + dy * static_cast<double>(i / 3)) << i;
    if (std::isnan(southToNorth[i])) {
      EXPECT_TRUE(std::isnan(r.nodes[i].value)) << i << ": " << r.nodes[i].value;
    } else {
      EXPECT_NEAR(r.nodes[i].value, southToNorth[i], tolerance) << i;
    }
  }
}

}  // namespace hextant::grid_test
