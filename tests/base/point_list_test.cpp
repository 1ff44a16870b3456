#include <gtest/gtest.h>

#include "base/point_list.h"

namespace hextant {
namespace {

TEST(PointList, IsOneDenseBlockWithAnUnusedRowZero) {
  PointList list;
  EXPECT_EQ(list.Count(), 0);
  ASSERT_TRUE(list.Append({1.0, 2.0, 3.0, 0.0}));
  ASSERT_TRUE(list.Append({5.0, 6.0, NullSeparation, NullFlagSet}));
  EXPECT_EQ(list.Count(), 2);
  const double expected[] = {0, 0, 0, 0, 1, 2, 3, 0, 5, 6, 32767.0, -1.0};
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(list.Data()[i], expected[i]) << "double " << i;
  }
}

TEST(PointList, ResizeKeepsNodesAndZeroesNewOnes) {
  PointList list;
  list.Append({1.0, 2.0, 3.0, 0.0});
  ASSERT_TRUE(list.Resize(3));
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Node(1).Separation, 3.0);
  EXPECT_EQ(list.Node(3).X, 0.0);
  EXPECT_FALSE(list.Resize(-1));
  EXPECT_FALSE(list.Resize(PointList::kMaxNodes + 1));
  EXPECT_EQ(list.Count(), 3) << "a refused resize changes nothing";
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

}  // namespace
}  // namespace hextant
