#include <gtest/gtest.h>

#include "base/angles.h"
#include "fakes/platform_fakes.h"
#include "readers/converter_frame.h"
#include "readers/reader_progress.h"

namespace hextant::test {
namespace {

TEST(ComputeOffsetAndResolution, CutsTheMidpointToMillimetresAndPicksTheUnit) {
  struct Case {
    double smallest, largest, offset;
    std::int16_t code;
  };
  const Case cases[] = {
      {10.0, 42.0, 26.0, ResolutionMillimetres},
      {-40.0, 30.0, -5.0, ResolutionCentimetres},
      {1.0, 65.0, 33.0, ResolutionMillimetres},  // exactly 32 above: still millimetres
      {1.0, 65.5, 33.25, ResolutionCentimetres},
      {0.0, 0.001, 0.0, ResolutionMillimetres},
      {-0.001, 0.0, -0.001, ResolutionMillimetres},
      {-12.3456, -12.3456, -12.346, ResolutionMillimetres},
      {12.3456, 12.3456, 12.345, ResolutionMillimetres},
  };
  for (const auto& c : cases) {
    double offset = -99.0;
    EXPECT_EQ(ComputeOffsetAndResolution(offset, c.smallest, c.largest), c.code) << c.smallest;
    EXPECT_DOUBLE_EQ(offset, c.offset) << c.smallest << " " << c.largest;
  }
  double offset = 0.0;
  EXPECT_FALSE(ComputeOffsetAndResolution(offset, -5.0, 5.0).has_value());
  ExtremeRange untouched;
  EXPECT_FALSE(ComputeOffsetAndResolution(offset, untouched.Smallest, untouched.Largest));
}

TEST(RangeTrackers, FollowTheirStartRules) {
  const auto range = [](auto tracker, std::initializer_list<double> values) {
    for (double v : values) {
      tracker.Take(v);
    }
    return std::pair(tracker.Smallest, tracker.Largest);
  };
  const std::pair<double, double> expected{3.0, 8.0};
  EXPECT_EQ(range(FirstNodeRange{}, {5.0, 3.0, 8.0, 4.0}), expected);
  EXPECT_EQ(range(MarkerOrCompareRange{}, {5.0, 3.0, 8.0, 4.0}), expected);
  EXPECT_EQ(range(ExtremeRange{}, {5.0, 3.0, 8.0, 4.0}), expected);
  // First-node start: after a new largest, the same value is not also tested as a smallest.
  EXPECT_EQ(range(FirstNodeRange{}, {5.0, 9.0, 1.0}), (std::pair(1.0, 9.0)));
}

TEST(Angles, UseTheirOwnPi) {
  EXPECT_DOUBLE_EQ(DegToRad(180.0), 3.14159265359);
  EXPECT_DOUBLE_EQ(DmsToRad(180.0, 0.0, 0.0), 3.141592654);
  EXPECT_DOUBLE_EQ(DmsToRad(-3.0, 30.0, 0.0), -2.5 * 3.141592654 / 180.0);
}

TEST(ReadProgress, ShowsWholePercentOfTheReadPosition) {
  EXPECT_EQ(ReadPercent(50, 51), 102);  // the end of a 50-byte file
  EXPECT_EQ(ReadPercent(1000, 1001), 100);
  EXPECT_EQ(ReadPercent(200, 75), 37);
  EXPECT_EQ(ReadPercent(0, 1), 0);
  EXPECT_FLOAT_EQ(ProgressBarWidth(102), 7726.5f);
}

}  // namespace
}  // namespace hextant::test
