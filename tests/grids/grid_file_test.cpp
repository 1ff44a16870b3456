#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "grid_test_support.h"
#include "grids/grid_file.h"
#include "grids/isg_blocks.h"
#include "grids/isg_header.h"

namespace hextant {
namespace {

using grid_test::Collect;
using grid_test::Node;
using grid_test::Read;

// An ISG file of 2 rows x 3 columns with `keys` after the extent, the values north to south.
std::string Isg(const std::string& version, const std::string& extent, const std::string& keys,
                const std::string& values = "1 2 3\n4 5 6\n") {
  return "A comment, Mod\xC3\xA8le\nbegin_of_head ======\n" + extent + "nrows = 2\nncols = 3\n" +
         keys + "ISG format = " + version + "\nend_of_head ======\n" + values;
}

const std::string kNodes2 =  // nodes at lat 10, 11 and lon 20, 20.5, 21
    "lat min = 10\nlat max = 11\nlon min = 20\nlon max = 21\ndelta lat = 1\ndelta lon = 0.5\n";

TEST(IsgGrid, ReadsEveryVersionOrderingAndAngleNotation) {
  const std::string edges =  // version 1.x: the cells' edges, 0.5 beyond the outer nodes
      "lat min = 9.5\nlat max = 11.5\nlon min = 19.75\nlon max = 21.25\ndelta lat = 1\n"
      "delta lon = 0.5\n";
  const std::string dms =
      "coord units : dms\nlat min = 10\xC2\xB0"
      "00'00\"\nlat max = 11\xB0"
      "00'00\"\n"
      "lon min = 20\xC2\xB0"
      "00'00\"\nlon max = 21\xC2\xB0"
      "00'00\"\ndelta lat = 1\xC2\xB0"
      "00'00\"\n"
      "delta lon = 0\xC2\xB0"
      "30'00.0\"\n";
  const struct {
    std::string file;
    std::vector<double> southToNorth;  // the values in grid order
  } cases[] = {
      {Isg("2.0", kNodes2, "data ordering : N-to-S, W-to-E\nmodel name : m\n"), {4, 5, 6, 1, 2, 3}},
      {Isg("2.0", kNodes2, "data ordering: S-to-N, W-to-E\n"), {1, 2, 3, 4, 5, 6}},
      {Isg("2.0", kNodes2, "data ordering = N-to-S, E-to-W\n"), {6, 5, 4, 3, 2, 1}},
      {Isg("2.0", kNodes2, "data ordering : s-to-n, e-to-w\n"), {3, 2, 1, 6, 5, 4}},
      {Isg("1.0", edges, ""), {4, 5, 6, 1, 2, 3}},
      {Isg("1.01", edges, "model name : ---\n"), {4, 5, 6, 1, 2, 3}},
      {Isg("2.0", dms, "coord type : geodetic\n"), {4, 5, 6, 1, 2, 3}},
      {Isg("2.0", kNodes2, "nodata = -9999\ndata units : feet\n", "1 -9999.0 3\r\n4 5\n6\n"),
       {4 * 0.3048, 5 * 0.3048, 6 * 0.3048, 0.3048, NAN, 3 * 0.3048}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const Read r(c.file);
    ASSERT_TRUE(r.status) << r.status.Description();
    ASSERT_EQ(r.nodes.size(), 6u);
    for (std::size_t i = 0; i < 6; ++i) {
      EXPECT_DOUBLE_EQ(r.nodes[i].x, 20 + 0.5 * static_cast<double>(i % 3));
      EXPECT_DOUBLE_EQ(r.nodes[i].y, i < 3 ? 10 : 11);
      if (std::isnan(c.southToNorth[i])) {
        EXPECT_TRUE(std::isnan(r.nodes[i].value));
      } else {
        EXPECT_DOUBLE_EQ(r.nodes[i].value, c.southToNorth[i]);
      }
    }
  }
}

TEST(IsgGrid, TakesRoundedSpacingsAndProjectedFeet) {
  // 5' printed to six decimals: the nodes come from the bounds and counts.
  const Read rounded(
      Isg("2.0",
          "lat min = 45\nlat max = 45.083333333\nlon min = 10\nlon max = 10.1666667\n"
          "delta lat = 0.083333\ndelta lon = 0.083333\n",
          ""));
  ASSERT_TRUE(rounded.status) << rounded.status.Description();
  EXPECT_NEAR(rounded.grid.SpacingX, 5.0 / 60, 1e-7);
  const Read feet(Isg("2.0",
                      "north min = 1000\nnorth max = 2000\neast min = 0\neast max = 1000\n"
                      "delta north = 1000\ndelta east = 500\n",
                      "coord type : projected\ncoord units : feet\n"));
  ASSERT_TRUE(feet.status) << feet.status.Description();
  EXPECT_FALSE(feet.grid.Geographical);
  EXPECT_DOUBLE_EQ(feet.grid.South, 304.8);
  EXPECT_DOUBLE_EQ(feet.grid.SpacingX, 152.4);
}

TEST(IsgGrid, ReadsSparseNodesInTheFieldsOrder) {
  const Read r(Isg("2.0", kNodes2, "data format : sparse\ndata ordering : lon, lat, N\n",
                   "20 10 1.5\n21 11 -2\n"));
  ASSERT_TRUE(r.status) << r.status.Description();
  ASSERT_EQ(r.nodes.size(), 2u);
  EXPECT_EQ(r.nodes[1].x, 21);
  EXPECT_EQ(r.nodes[1].y, 11);
  EXPECT_EQ(r.nodes[1].value, -2);
}

// The values are cut into blocks parsed on two threads: any cut gives the same nodes and lines.
TEST(IsgGrid, BlocksOfAnySizeGiveTheSameNodesAndLines) {
  GridDescription grid;
  grid.Rows = 2;
  grid.Columns = 3;
  grid.RowsFromNorth = true;
  const struct {
    std::string text;
    std::string why;  // "" for a good read
  } cases[] = {
      {"  1 2.5\r\n+3\r4   5\t6\n", ""},
      {"1 2.5 3\r\n4 5 x6\n7", "line 12: 'x6' is not a number"},
      {"1 2 3\r4 5", "the file ends at line 12 after 5 of the header's 2 x 3 values"},
      {"1 2 3\r\n\r\n4 5 6\n7\n", "line 14 holds more values than the header's 2 x 3"},
  };
  for (const auto& c : cases) {
    for (std::size_t block : {1, 2, 3, 5, 8, 64}) {
      SCOPED_TRACE(c.text + " in blocks of " + std::to_string(block));
      std::istringstream rest(c.text.substr(2));
      Collect sink(grid);
      const Status s =
          ReadIsgRows({std::string_view(c.text).substr(0, 2), rest, 10, 0}, grid, sink, block);
      if (!c.why.empty()) {
        EXPECT_EQ(s.Description(), c.why);
        continue;
      }
      ASSERT_TRUE(s) << s.Description();
      const std::vector<Node> nodes = sink.Nodes();
      ASSERT_EQ(nodes.size(), 6u);
      EXPECT_EQ(nodes[0].value, 4);
      EXPECT_EQ(nodes[2].value, 6);
      EXPECT_EQ(nodes[4].value, 2.5);
    }
  }
}

TEST(GridFiles, RefuseBrokenFilesSayingWhereAndWhy) {
  std::string gtx(40, '\0');
  const auto put = [&](std::size_t at, std::uint64_t bits, int bytes) {
    for (int i = 0; i < bytes; ++i) {
      gtx[at + static_cast<std::size_t>(i)] =
          static_cast<char>(bits >> (8 * (bytes - 1 - i)) & 0xFF);
    }
  };
  put(16, std::bit_cast<std::uint64_t>(0.25), 8);
  put(24, std::bit_cast<std::uint64_t>(0.25), 8);
  put(32, 2, 4);
  put(36, 3, 4);
  const std::string gtxShort = gtx + std::string(20, '\0');
  const struct {
    std::string file;
    std::string why;
    std::optional<GridLayout> forced = std::nullopt;
  } cases[] = {
      {Isg("2.0", kNodes2, "", "1 2 3\n4 5\n"),
       "the file ends at line 14 after 5 of the header's 2 x 3"},
      {Isg("2.0", kNodes2, "", "1 2 3\n4 5 6 7\n"),
       "line 14 holds more values than the header's 2 x 3"},
      {Isg("2.0", kNodes2, "", "1 2 3\n4 x5 6\n"), "line 14: 'x5' is not a number"},
      {Isg("2.0", "lat max = 11\n", ""), "'lat min' is missing"},
      {Isg("2.0", kNodes2 + "lat max = 12\n", ""), "gives 'lat max' twice"},
      {Isg("2.0",
           "lat min = 10\nlat max = 11\nlon min = 20\nlon max = 21\ndelta lat = 1\n"
           "delta lon = 0.3\n",
           ""),
       "'delta lon' is 0.3, but lon min, lon max and the node count give 0.5"},
      {Isg("2.0",
           "lat min = 10\nlat max = 11\nlon min = 20\nlon max = 21\ndelta lat = 1\n"
           "delta lon = 1\n",
           ""),
       "'delta lon' is 1, but"},  // 0.5 rounds to 1 only by a tie: refused
      {Isg("2.0",
           "lat min = 10\nlat max = 10\nlon min = 20\nlon max = 21\ndelta lat = 0\n"
           "delta lon = 0.5\n",
           ""),
       "'delta lat' must be a positive spacing, not 0"},
      {Isg("2.0", "lat min = nan\n", ""), "'lat min' is 'nan', not a number"},
      {Isg("2.0", kNodes2, "coord type : projected\n"), "'north min' is missing"},
      {Isg("2.0", kNodes2, "data ordering : W-to-E\n"), "not one of a grid"},
      {Isg("3.0", kNodes2, ""), "'isg format' is '3.0'"},
      {"begin_of_head\nnrows = 0\nncols : 1\nISG format = 2.0\nend_of_head\n",
       "line 2: the ISG header's 'nrows' must be a whole number from 1, not 0"},
      {"begin_of_head\nlat min = 1\n", "the file ends after line 2 without end_of_head"},
      {Isg("2.0", kNodes2, "", "1 2"),
       "the header promises 2 x 3 values, but only 3 bytes follow it"},
      {gtxShort, "promises 2 x 3 values (64 bytes as floats), but the file has 60 bytes",
       GridLayout::Gtx},
      {"x y z\n", "neither an ISG file"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const Read r(c.file, c.forced);
    EXPECT_FALSE(r.status);
    EXPECT_NE(r.status.Description().find(c.why), std::string::npos) << r.status.Description();
  }
}

TEST(GridFiles, AreToldByContent) {
  std::string gtx(40 + 4, '\0');
  gtx[23] = gtx[31] = 0;  // spacings 0 are no GTX header
  EXPECT_EQ(RecognizeGridLayout(gtx, gtx.size()), std::nullopt);
  // 1263665316 x 1824726041 doubles pass 2^64 and would wrap to the 32 bytes after the header.
  const unsigned char header[] = {0x40, 0x46, 0x80, 0,    0,    0,    0,    0,    0x40, 0x14,
                                  0,    0,    0,    0,    0,    0,    0x3f, 0xd0, 0,    0,
                                  0,    0,    0,    0,    0x3f, 0xd0, 0,    0,    0,    0,
                                  0,    0,    0x4b, 0x52, 0x00, 0xa4, 0x6c, 0xc3, 0x1c, 0x19};
  const std::string wrapping =
      std::string(reinterpret_cast<const char*>(header), sizeof header) + std::string(32, '\0');
  EXPECT_EQ(RecognizeGridLayout(wrapping, wrapping.size()), std::nullopt);
  EXPECT_EQ(RecognizeGridLayout("text\nbegin_of_head\n", 100), GridLayout::Isg);
  EXPECT_EQ(RecognizeGridLayout("text begin_of_head\n", 100), std::nullopt);
  double degrees = 0, half = 0;
  ASSERT_TRUE(
      ReadIsgAngle("-5\xB0"
                   "30'36.5\"",
                   degrees, half));
  EXPECT_DOUBLE_EQ(degrees, -(5 + 30 / 60.0 + 36.5 / 3600));
  EXPECT_DOUBLE_EQ(half, 0.05 / 3600);
  EXPECT_FALSE(
      ReadIsgAngle("5\xB0"
                   "61'00\"",
                   degrees, half));
}

}  // namespace
}  // namespace hextant
