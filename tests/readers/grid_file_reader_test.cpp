#include <bit>
#include <numbers>

#include "reader_fixture.h"
#include "readers/grid_file_reader.h"

namespace hextant::test {
namespace {

constexpr double kRad = std::numbers::pi / 180;

std::string BigEndian(std::uint64_t bits, int bytes) {
  std::string out;
  for (int i = bytes - 1; i >= 0; --i) {
    out.push_back(static_cast<char>(bits >> (8 * i) & 0xFF));
  }
  return out;
}

// A GTX file of 2 rows x 2 columns from (-170.5, 35) every 0.5 degrees, values `v` south first,
// stored as doubles when `wide` (the older files).
std::string Gtx(std::initializer_list<double> v, bool wide) {
  std::string out;
  for (double d : {35.0, 189.5, 0.5, 0.5}) {  // the west edge given from 0 to 360
    out += BigEndian(std::bit_cast<std::uint64_t>(d), 8);
  }
  out += BigEndian(2, 4) + BigEndian(2, 4);
  for (double d : v) {
    out += wide ? BigEndian(std::bit_cast<std::uint64_t>(d), 8)
                : BigEndian(std::bit_cast<std::uint32_t>(static_cast<float>(d)), 4);
  }
  return out;
}

class GridFileReader : public ReaderTest {};

TEST_F(GridFileReader, PutsEveryNodeInGridOrderAndSetsTheGrid) {
  for (bool wide : {false, true}) {
    settings_.SpacingX = settings_.SpacingY = 1;  // replaced by the file's
    ASSERT_TRUE(Read(ConvertFileGrid, Gtx({10.5, -88.8888, 12.25, 40.0}, wide)))
        << failure_.Description();
    ASSERT_EQ(Points().Count(), 4);
    const GeoidPoint first = Points().Node(1), second = Points().Node(2), last = Points().Node(4);
    EXPECT_DOUBLE_EQ(first.X, -170.5 * kRad);
    EXPECT_DOUBLE_EQ(first.Y, 35 * kRad);
    EXPECT_EQ(first.Separation, 10.5);
    EXPECT_EQ(second.NullFlag, NullFlagSet);
    EXPECT_EQ(second.Separation, NullSeparation);
    EXPECT_DOUBLE_EQ(last.X, -170 * kRad);
    EXPECT_DOUBLE_EQ(last.Y, 35.5 * kRad);
    EXPECT_EQ(last.Separation, 40.0);
    EXPECT_EQ(settings_.CoordinateType, Geographical);
    EXPECT_DOUBLE_EQ(settings_.SpacingX, 0.5 * kRad);
    EXPECT_EQ(output_.SeparationOffset, 25.25);  // (10.5 + 40) / 2, the nodata node left out
    EXPECT_EQ(output_.ResolutionCode, ResolutionMillimetres);
  }
}

TEST_F(GridFileReader, RefusesWhatCannotBeAModelAndSaysWhy) {
  const std::string huge =
      "begin_of_head\nlat min = 0\nlat max = 99999\nlon min = 0\nlon max = 99999\n"
      "delta lat = 1\ndelta lon = 1\nnrows = 100000\nncols = 100000\ndata format : sparse\n"
      "ISG format = 2.0\n"
      "end_of_head\n";
  ExpectFailure(ConvertFileGrid, huge, ReaderFormatError,
                "grid of 100000 x 100000 nodes is larger than the 100000000 nodes", "");
  EXPECT_EQ(Points().Count(), 0);
  EXPECT_NE(messages_.shown[0].Detail.find("larger than"), std::string::npos);
  ExpectFailure(ConvertFileGrid, Gtx({-88.8888, -88.8888, -88.8888, -88.8888}, false),
                ReaderFormatError, "every node of the grid is without value", "");
}

}  // namespace
}  // namespace hextant::test
