#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "base/grid_assembly.h"
#include "base/rounding.h"

namespace hextant {
namespace {

// A rows × columns grid in row order; each node's separation encodes its position and every
// third node is null, so a node that lost any of its fields on the way would show up.
std::vector<GeoidPoint> GridNodes(int rows, int columns, double x0 = 0.0, double y0 = 0.0,
                                  double step = 1.0) {
  std::vector<GeoidPoint> nodes;
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c) {
      nodes.push_back({x0 + c * step, y0 + r * step, 100.0 * r + c, (r + c) % 3 ? 0.0 : -1.0});
    }
  }
  return nodes;
}

PointList ListOf(const std::vector<GeoidPoint>& nodes) {
  PointList list;
  for (const auto& node : nodes) {
    EXPECT_TRUE(list.Append(node));
  }
  return list;
}

std::vector<GeoidPoint> NodesOf(const PointList& list) {
  std::vector<GeoidPoint> nodes;
  for (std::int32_t i = 1; i <= list.Count(); ++i) {
    nodes.push_back(list.Node(i));
  }
  return nodes;
}

bool SameNodes(const std::vector<GeoidPoint>& a, const std::vector<GeoidPoint>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& p, const auto& q) {
    return p.X == q.X && p.Y == q.Y && p.Separation == q.Separation && p.NullFlag == q.NullFlag;
  });
}

TEST(SortPoints, PutsGridsIntoRowOrder) {
  struct Case {
    const char* name;
    std::vector<GeoidPoint> grid;
  };
  const Case cases[] = {
      {"3 x 4", GridNodes(3, 4)},
      {"southern grid with negative coordinates", GridNodes(5, 7, -10.0, -0.9, 0.004)},
      {"single row", GridNodes(1, 50)},
      {"single column", GridNodes(50, 1)},
      {"301 x 240, rows turned on two threads", GridNodes(301, 240, 480000.0, 75000.0, 1000.0)},
  };
  std::mt19937 random(7);
  // Besides shuffles, the orders files come in: rows north to south, each row starting at its
  // third node (longitudes 0..360) or each at a node of its own, rows west to east reversed,
  // everything reversed, and rows north to south with two nodes of one row swapped.
  auto rowsOf = [](std::vector<GeoidPoint> nodes, auto eachRow) {
    for (auto row = nodes.begin(); row != nodes.end();) {
      auto end = std::find_if(row, nodes.end(), [&](const auto& p) { return p.Y != row->Y; });
      eachRow(row, end);
      row = end;
    }
    return nodes;
  };
  auto northToSouth = [](std::vector<GeoidPoint> nodes) {
    std::stable_sort(nodes.begin(), nodes.end(), [](auto& p, auto& q) { return p.Y > q.Y; });
    return nodes;
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::vector<GeoidPoint>> orders{northToSouth(c.grid),
                                                std::vector(c.grid.rbegin(), c.grid.rend())};
    orders.push_back(rowsOf(orders[0], [](auto row, auto end) {
      std::rotate(row, row + std::min<std::ptrdiff_t>(2, end - row), end);
    }));
    orders.push_back(rowsOf(orders[0], [turn = std::ptrdiff_t{0}](auto row, auto end) mutable {
      std::rotate(row, row + turn++ % (end - row), end);
    }));
    orders.push_back(rowsOf(c.grid, [](auto row, auto end) { std::reverse(row, end); }));
    orders.push_back(orders[0]);
    std::swap(orders.back().front(), orders.back()[orders.back().size() / 2]);
    for (int round = 0; round < 3; ++round) {
      orders.push_back(c.grid);
      std::shuffle(orders.back().begin(), orders.back().end(), random);
    }
    for (std::size_t order = 0; order < orders.size(); ++order) {
      PointList list = ListOf(orders[order]);
      list.SetNode(0, {9.0, 9.0, 9.0, 9.0});
      SortPoints(list);
      EXPECT_TRUE(SameNodes(NodesOf(list), c.grid)) << "order " << order;
      EXPECT_EQ(list.Node(0).X, 9.0) << "row 0 is left alone";
    }
  }
}

TEST(SortPoints, GroupsRowsByTheNeighbourRule) {
  // Each Y differs from the next by 5e-7: one chained row, although the ends differ by 1.5e-6.
  PointList chained = ListOf({{1, 1.5e-6, 0, 0}, {4, 1.0e-6, 0, 0}, {2, 5e-7, 0, 0}, {3, 0, 0, 0}});
  SortPoints(chained);
  for (std::int32_t i = 1; i <= 4; ++i) {
    EXPECT_EQ(chained.Node(i).X, i) << "one row, sorted by X";
  }
  // A difference of exactly the tolerance still joins the row.
  PointList atTolerance = ListOf({{2, 0, 0, 0}, {1, 1e-6, 0, 0}});
  SortPoints(atTolerance);
  EXPECT_EQ(atTolerance.Node(1).X, 1);
  // A gap of 2e-6 starts a new row: the lower Y comes first whatever its X.
  PointList split = ListOf({{1, 2e-6, 0, 0}, {2, 0, 0, 0}});
  SortPoints(split);
  EXPECT_EQ(split.Node(1).X, 2);
  EXPECT_EQ(split.Node(2).X, 1);
}

// Patterns that break careless quicksorts: many equal keys, reversed and organ-pipe input.
TEST(SortRange, SortsAdversarialPatterns) {
  const int n = 5000;
  const std::pair<const char*, std::function<double(int)>> patterns[] = {
      {"all equal", [](int) { return 1.0; }},
      {"two values", [](int i) { return i % 2; }},
      {"reversed", [](int i) { return n - i; }},
      {"organ pipe", [](int i) { return i < n / 2 ? i : n - i; }},
      {"few distinct", [](int i) { return (i * 7919) % 13; }},
  };
  for (const auto& [name, key] : patterns) {
    SCOPED_TRACE(name);
    PointList list;
    std::vector<double> keys;
    for (int i = 0; i < n; ++i) {
      keys.push_back(key(i));
      list.Append({0.0, keys.back(), keys.back() * 2.0, 0.0});
    }
    SortRange(list, 1, n, KeyY);
    std::sort(keys.begin(), keys.end());
    for (int i = 1; i <= n; ++i) {
      ASSERT_EQ(list.Node(i).Y, keys[static_cast<std::size_t>(i - 1)]) << "at " << i;
      ASSERT_EQ(list.Node(i).Separation, 2.0 * list.Node(i).Y) << "node split at " << i;
    }
  }
}

TEST(GridCounts, RoundHalvesToEvenAndRefuseTheUnrepresentable) {
  struct Case {
    double first, last, spacing;
    std::int32_t rows;
  };
  const Case cases[] = {
      {0.0, 2.5, 1.0, 4},  // 3.5
      {0.0, 1.5, 1.0, 2},  // 2.5
      {0.0, 3.4, 1.0, 4},
      {10.0, 10.0, 0.25, 1},
      // A row distance a hair off the spacing still counts the right rows.
      {0.1, 0.1 + 2 * 0.0043633231299858 + 1e-15, 0.0043633231299858, 3},
      {0.0, 1.0, 0.0, 0},
      {0.0, std::nan(""), 1.0, 0},
      {0.0, 1e12, 1.0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RowCount(c.first, c.last, c.spacing), c.rows) << c.last;
    EXPECT_EQ(ColumnCount(c.first, c.last, c.spacing), c.rows) << c.last;
  }
}

TEST(GridCounts, RegularityIsACountTest) {
  EXPECT_TRUE(IsRegularGrid(1, 1, 1));
  EXPECT_TRUE(IsRegularGrid(12, 3, 4));
  EXPECT_FALSE(IsRegularGrid(11, 3, 4));
  EXPECT_FALSE(IsRegularGrid(13, 3, 4));
  EXPECT_FALSE(IsRegularGrid(12, 0, 4));
}

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
  const std::pair<double, double> cases[] = {{0.5, 0.0},    {1.5, 2.0},   {2.5, 2.0},
                                             {-2.5, -2.0},  {-3.5, -4.0}, {2.4999, 2.0},
                                             {2.5001, 3.0}, {-0.4, -0.0}};
  for (const auto& [value, expected] : cases) {
    EXPECT_EQ(RoundHalfEven(value), expected) << value;
  }
  EXPECT_EQ(RoundHalfEvenToInt32(2147483647.4), 2147483647);
  EXPECT_FALSE(RoundHalfEvenToInt32(2147483647.6).has_value());
  EXPECT_FALSE(RoundHalfEvenToInt32(INFINITY).has_value());
}

}  // namespace
}  // namespace hextant
