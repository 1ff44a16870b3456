#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "grid_test_support.h"

namespace hextant {
namespace {

using grid_test::Read;

// Numbers written as a binary layout stores them.
class Bytes {
 public:
  explicit Bytes(bool little) : little_(little) {}
  template <typename T>
  Bytes& Put(T value) {
    char raw[sizeof(T)];
    std::memcpy(raw, &value, sizeof(T));
    for (std::size_t i = 0; i < sizeof(T); ++i) {  // the test machine is little-endian
      bytes_.push_back(raw[little_ ? i : sizeof(T) - 1 - i]);
    }
    return *this;
  }
  Bytes& Text(const std::string& text) {
    bytes_ += text;
    return *this;
  }
  const std::string& Str() const { return bytes_; }

 private:
  bool little_;
  std::string bytes_;
};

// An NGS file: the 44-byte header, then float32 values south row first.
std::string Ngs(bool little, double south, double west, std::int32_t rows, std::int32_t columns,
                std::int32_t kind, const std::vector<float>& values) {
  Bytes b(little);
  b.Put(south).Put(west).Put(0.5).Put(0.5).Put(rows).Put(columns).Put(kind);
  for (float v : values) {
    b.Put(v);
  }
  return b.Str();
}

// A BYN file of 2 rows x 3 columns from 10N 20E, 1800" apart, header and values in their own
// byte orders, the values north row first; `scale` 1 gives the bounds and spacings in
// thousandths of seconds, 18" apart. `dy` replaces the stored latitude spacing.
std::string Byn(bool littleHeader, int valueBytes, bool littleValues,
                const std::vector<std::int32_t>& northToSouth, std::int16_t scale = 0,
                std::int16_t dy = -1) {
  const std::int32_t unit = scale == 1 ? 1000 : 1;
  const std::int16_t step = scale == 1 ? 18000 : 1800;
  Bytes b(littleHeader);
  b.Put(36000 * unit).Put(36000 * unit + step).Put(72000 * unit).Put(72000 * unit + 2 * step);
  b.Put(dy < 0 ? step : dy).Put(step);
  b.Put(std::int16_t{0}).Put(std::int16_t{0}).Put(valueBytes == 2 ? 100.0 : 1000.0);
  b.Put(static_cast<std::int16_t>(valueBytes)).Text(std::string(14, '\0'));
  b.Put(static_cast<std::int16_t>(littleValues ? 1 : 0)).Put(scale).Text(std::string(28, '\0'));
  Bytes values(littleValues);
  for (std::int32_t v : northToSouth) {
    valueBytes == 2 ? values.Put(static_cast<std::int16_t>(v)) : values.Put(v);
  }
  return b.Str() + values.Str();
}

// Surfer 6 and 7 binary grids of 2 rows x 3 columns at 10-10.5N 20-21E, values south row first.
std::string Surfer6(std::int16_t columns, const std::vector<float>& values) {
  Bytes b(true);
  b.Text("DSBB").Put(columns).Put(std::int16_t{2}).Put(20.0).Put(21.0).Put(10.0).Put(10.5);
  b.Put(-1.0).Put(6.0);
  for (float v : values) {
    b.Put(v);
  }
  return b.Str();
}

std::string Surfer7(const std::vector<double>& values, double rotation = 0,
                    const std::string& dataTag = "DATA", double spacing = 0.5) {
  Bytes b(true);
  b.Text("DSRB").Put(std::int32_t{4}).Put(std::int32_t{2});
  b.Text("GRID").Put(std::int32_t{72}).Put(std::int32_t{2}).Put(std::int32_t{3});
  b.Put(20.0).Put(10.0).Put(spacing).Put(0.5).Put(-1.0).Put(6.0).Put(rotation).Put(-99999.0);
  b.Text(dataTag).Put(static_cast<std::int32_t>(8 * values.size()));
  for (double v : values) {
    b.Put(v);
  }
  return b.Str();
}

// The layouts' variants beyond the samples' (which the end-to-end test converts node by node):
// 2 rows of 3 nodes, each value and position checked.
TEST(GridLayouts, ReadEveryNodeOfEveryLayoutAndVariant) {
  const struct {
    std::string file;
    GridLayout layout;
    std::string text;  // the first line of the summary
    bool geographical;
    double west, south, dx, dy;
    std::vector<double> southToNorth;
  } cases[] = {
      {"NCOLS 3\r\nNRows 2\r\nxllcorner 19.75\r\nyllCORNER 9.75\r\ncellsize 0.5\r\n"
       "nodata_value -88.8888\r\n 4 5.5 -88.88880157470703125\r\n1 2 3\r\n",
       GridLayout::EsriAscii,
       "ESRI ASCII grid (cell corners)",
       true,
       20,
       10,
       0.5,
       0.5,
       {1, 2, 3, 4, 5.5, NAN}},
      {"ncols 3\nnrows 2\nxllcenter 480000\nyllcenter 75000\ndx 1000\ndy 500\n-1 -2 -3\n"
       "4e0 +5 6\n",
       GridLayout::EsriAscii,
       "ESRI ASCII grid (cell centres)",
       false,
       480000,
       75000,
       1000,
       500,
       {4, 5, 6, -1, -2, -3}},
      {"ncols 3\nnrows 2\nxllcenter 190\nyllcenter -10\ncellsize 1\n1 2 3 4 5 6\n",
       GridLayout::EsriAscii,
       "ESRI ASCII grid (cell centres)",
       true,
       -170,
       -10,
       1,
       1,
       {4, 5, 6, 1, 2, 3}},
      {Ngs(false, 10, 350, 2, 3, 1, {1, 2, 3, 4, 9999, 6}),
       GridLayout::Ngs,
       "NGS binary grid (big-endian)",
       true,
       -10,
       10,
       0.5,
       0.5,
       {1, 2, 3, 4, NAN, 6}},
      {Byn(false, 2, true, {32767, 500, 600, 100, -200, 300}, 1),
       GridLayout::Byn,
       "BYN (2-byte integers)",
       true,
       20,
       10,
       0.005,
       0.005,
       {1, -2, 3, NAN, 5, 6}},
      {"DSAA\r\n3 2\r\n20 21\r\n10 10.5\r\n-1 6\r\n1 2 3\r\n\r\n4 1.70141e38\r\n6\r\n",
       GridLayout::Surfer,
       "Surfer 6 text grid",
       true,
       20,
       10,
       0.5,
       0.5,
       {1, 2, 3, 4, NAN, 6}},
      {"DSAA\n3 2\n480000 482000\n75000 75500\n-1 6\n1 2 3 4 5 6\n",
       GridLayout::Surfer,
       "Surfer 6 text grid",
       false,
       480000,
       75000,
       1000,
       500,
       {1, 2, 3, 4, 5, 6}},
      {Surfer7({1, -99999, 3, 4, 5, 1.70141e38}),
       GridLayout::Surfer,
       "Surfer 7 grid",
       true,
       20,
       10,
       0.5,
       0.5,
       {1, NAN, 3, 4, 5, NAN}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const Read r(c.file);
    ASSERT_TRUE(r.status) << r.status.Description();
    EXPECT_EQ(r.grid.Layout, c.layout);
    EXPECT_EQ(DescribeGrid(r.grid).front(), c.text);
    EXPECT_EQ(r.grid.Geographical, c.geographical);
    grid_test::ExpectSixNodes(r, c.west, c.south, c.dx, c.dy, c.southToNorth, 1e-12);
  }
}

// Broken files of the layouts besides ISG and GTX, each refused with the place and the cause.
TEST(GridLayouts, RefuseBrokenFilesSayingWhereAndWhy) {
  const std::string ngs = Ngs(false, 10, 350, 2, 3, 1, {1, 2, 3, 4, 5, 6});
  const auto ngsWith = [&](std::size_t at, const std::string& bytes) {
    return ngs.substr(0, at) + bytes + ngs.substr(at + bytes.size());
  };
  const std::string esri = "ncols 3\nnrows 2\nxllcenter 20\nyllcenter 10\n";
  const struct {
    std::string file;
    std::string why;
    std::optional<GridLayout> forced = std::nullopt;
  } cases[] = {
      {esri + "cellsize 0\n1 2 3\n4 5 6\n",
       "line 5: the ESRI ASCII header's 'cellsize' must be a positive spacing, not 0"},
      {esri + "dx -1\ndy 1\n1 2 3\n4 5 6\n", "'dx' must be a positive spacing, not -1"},
      {esri + "dx 1\n1 2 3\n4 5 6\n", "line 6: the ESRI ASCII header ends without 'dy'"},
      {esri + "cellsize 1\nxllcorner 19.5\n1 2 3\n4 5 6\n", "either 'xllcorner' or 'xllcenter'"},
      {esri + "cellsize 1\nnodata -9999\n1 2 3\n4 5 6\n",
       "line 6: 'nodata' is no key of an ESRI ASCII grid header"},
      {esri + "ncols 4\ncellsize 1\n1 2 3\n4 5 6\n",
       "line 5: the ESRI ASCII header gives 'ncols' twice"},
      {"nrows -2\nncols 3\nxllcenter 0\nyllcenter 0\ncellsize 1\n1\n",
       "line 1: the ESRI ASCII header's 'nrows' must be a whole number from 1, not -2"},
      {esri + "cellsize 1\n1 2 3\n4 5\n",
       "the file ends at line 7 after 5 of the header's 2 x 3 values"},
      {esri + "cellsize 1\n1 2 3\n4 5 6 7\n", "line 7 holds more values than the header's 2 x 3"},
      {"ncols 300000\nnrows 200000\nxllcenter 0\nyllcenter 0\ncellsize 1\n1 2\n",
       "the header promises 200000 x 300000 values, but only"},
      {esri + "cellsize 1\n", "the file ends after line 5 with the ESRI ASCII header"},
      {ngs.substr(0, 60), "promises 2 x 3 float32 values (68 bytes), but the file has 60 bytes",
       GridLayout::Ngs},
      {ngsWith(32, Ngs(false, 0, 0, 0x7fffffff, 0x7fffffff, 1, {}).substr(32, 8)),
       "promises 2147483647 x 2147483647 float32 values", GridLayout::Ngs},
      {ngsWith(40, std::string("\0\0\0\2", 4)),
       "the NGS header gives the value kind 2 (bytes 40-43); only 1", GridLayout::Ngs},
      {ngsWith(16, std::string(8, '\0')),
       "the NGS header gives the spacings 0 x 0.5 degrees (bytes 16-31)", GridLayout::Ngs},
      {ngsWith(0, Ngs(false, 95, 0, 1, 1, 1, {}).substr(0, 8)),
       "puts the first node at latitude 95, longitude 350 (bytes 0-15)", GridLayout::Ngs},
      {Byn(true, 4, true, {1, 2, 3, 4, 5}),
       "promises 2 x 3 values of 4 bytes (104 bytes), but the file has 100 bytes", GridLayout::Byn},
      {Byn(true, 4, true, {1, 2, 3, 4, 5, 6}, 0, 0),
       "the BYN header gives the spacings 0\" x 1800\" (bytes 16-19)", GridLayout::Byn},
      {Byn(true, 4, true, {1, 2, 3, 4, 5, 6}, 0, 700),
       "36000\" to 37800\" and 72000\" to 75600\" (bytes 0-15) that are no whole number",
       GridLayout::Byn},
      {Byn(true, 4, true, {1, 2, 3, 4, 5, 6}, 2),
       "the BYN header gives the scale flag 2 (bytes 50-51)", GridLayout::Byn},
      {Byn(true, 3, true, {}), "the BYN header gives the value size 3 (bytes 32-33)",
       GridLayout::Byn},
      {"DSAA\n3 2\n20 20\n10 10.5\n-1 6\n1 2 3 4 5 6\n",
       "line 3: the Surfer DSAA header gives no positive spacing"},
      {"DSAA\n1 2\n20 21\n10 10.5\n-1 6\n1 2\n", "line 2: the Surfer DSAA header gives nx ny 1 2"},
      {"DSAA\n3 2\n20 21\n",
       "the file ends after line 3 within the Surfer DSAA header of five lines"},
      {"DSAA\n3 2\n20 21\n10 10.5\n-1 6\n1 2 3 4 5\n",
       "the file ends at line 6 after 5 of the header's 2 x 3 values"},
      {Surfer6(3, {1, 2, 3, 4, 5}),
       "the Surfer grid promises 2 x 3 values of 4 bytes from byte 56, but 20 bytes follow"},
      {Surfer6(30000, {1, 2, 3, 4, 5, 6}), "promises 2 x 30000 values of 4 bytes"},
      {Surfer7({1, 2, 3, 4, 5, 6}, 30), "the Surfer grid is rotated by 30° (byte 76)"},
      {Surfer7({1, 2, 3, 4, 5, 6}, 0, "DATX"),
       "has a section 'DATX' at byte 92 that is none of DSRB, GRID, FLTI, DATA"},
      {Surfer7({1, 2, 3, 4, 5, 6}, 0, "DATA", -0.5), "gives no positive spacing: -0.5 x 0.5"},
      {Surfer7({1, 2, 3, 4, 5, 6}).substr(0, 130),
       "section DATA at byte 92 runs to byte 148, but the file has 130 bytes"},
      {Surfer7({1, 2, 3, 4, 5, 6}).substr(0, 96), "ends at byte 92 without a DATA section"},
      {Surfer7({1, 2, 3, 4, 5, 6}).substr(0, 90), "section GRID at byte 12 is shorter than 72"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const Read r(c.file, c.forced);
    EXPECT_FALSE(r.status);
    EXPECT_NE(r.status.Description().find(c.why), std::string::npos) << r.status.Description();
  }
}

TEST(GridLayouts, AreToldByContent) {
  EXPECT_EQ(RecognizeGridLayout("\xEF\xBB\xBF nCols 3\n", 100), GridLayout::EsriAscii);
  EXPECT_EQ(RecognizeGridLayout("ncolsx 3\n", 100), std::nullopt);
  // An NGS header in either byte order, and not when the length does not match.
  for (bool little : {false, true}) {
    const std::string ngs = Ngs(little, 10, 350, 2, 3, 1, {1, 2, 3, 4, 5, 6});
    EXPECT_EQ(RecognizeGridLayout(ngs, ngs.size()), GridLayout::Ngs);
    EXPECT_EQ(RecognizeGridLayout(ngs, ngs.size() - 2), std::nullopt);
    const std::string byn = Byn(!little, 4, little, {1, 2, 3, 4, 5, 6});
    EXPECT_EQ(RecognizeGridLayout(byn, byn.size()), GridLayout::Byn);
    EXPECT_EQ(RecognizeGridLayout(byn, byn.size() + 4), std::nullopt);
  }
}

}  // namespace
}  // namespace hextant
