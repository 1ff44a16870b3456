#include <gtest/gtest.h>

#include <functional>

#include "base/angles.h"
#include "readers/catalunya_gr_reader.h"
#include "readers/reader_fixture.h"

namespace hextant::test {
namespace {

// A small GR file, 3 rows × 2 columns from 2°10'E 41°30'N, one minute apart; each test changes
// one part of it.
struct GrText {
  std::string typeCode = "GEOID(N)";
  std::string itemUnits = "M";
  std::string rowsLine = "  \\NUMBER OF ROWS = 3";
  std::string columns = "2";
  std::string points;  // empty: no \NUMBER OF POINTS key
  std::string orientationCode = "HELMERT";
  std::string units = "DEG DEG DEG DEG";
  std::string list = "2 10 0 41 30 0 0 1 0 0 0 0";
  std::string gridSet = "\\GRID SET";
  std::string data = "\\DATA";
  std::vector<std::string> values{"51.5", "51.6", "51,25", "51.3", "50.9", "51.0"};
  bool closingLine = true;

  std::string Text() const {
    std::string t = "Catalunya test file\r\n\\TYPE\r\n  \\CODE = " + typeCode +
                    "\r\n\\DESCRIPTION\r\n  \\ITEM UNITS = " + itemUnits + "\r\n" + rowsLine +
                    "\r\n  \\NUMBER OF COLUMNS = " + columns +
                    "\r\n  \\ORIENTATION PARAMETERS\r\n    \\CODE = " + orientationCode +
                    "\r\n    \\UNITS = " + units + "\r\n    \\LIST = " + list + "\r\n";
    if (!points.empty()) {
      t += "  \\AUXILIARY INFORMATION\r\n    \\NUMBER OF POINTS = " + points + "\r\n";
    }
    t += gridSet + "\r\n" + data + "\r\n";
    for (const auto& v : values) {
      t += v + "\r\n";
    }
    return closingLine ? t + "\\END\r\n" : t;
  }
};

class GrReader : public ReaderTest {
 protected:
  GrReader() {
    settings_.SpacingX = settings_.SpacingY = -1.0;
    settings_.EllipsoidCode = 3;
  }

  bool Read(const std::string& text) { return ReaderTest::Read(ConvertFileGR, text); }

  void ExpectFailure(const std::string& text, int number, const std::string& why) {
    ReaderTest::ExpectFailure(ConvertFileGR, text, number, why, "ConvertFileGR");
    EXPECT_EQ(settings_.SpacingX, -1.0) << "settings change only on success";
    EXPECT_EQ(settings_.EllipsoidCode, 3);
  }
};

TEST_F(GrReader, ReadsNodesFromNorthToSouth) {
  ASSERT_TRUE(Read(GrText{}.Text())) << failure_.Description();
  const double x0 = DmsToRad(2, 10, 0), y0 = DmsToRad(41, 30, 0), step = DmsToRad(0, 1, 0);
  const PointList& points = settings_.PointList;
  ASSERT_EQ(points.Count(), 6);
  EXPECT_DOUBLE_EQ(points.Node(1).X, x0);
  EXPECT_DOUBLE_EQ(points.Node(1).Y, y0 + 2 * step);
  EXPECT_EQ(points.Node(3).Separation, 51.25) << "a comma is a decimal mark";
  EXPECT_DOUBLE_EQ(points.Node(6).X, x0 + step);
  EXPECT_DOUBLE_EQ(points.Node(6).Y, y0);
  EXPECT_EQ(settings_.SpacingX, step);
  EXPECT_EQ(settings_.SpacingY, step);
  EXPECT_EQ(settings_.EllipsoidCode, 24);
  EXPECT_DOUBLE_EQ(output_.SeparationOffset, 51.25);  // (50.9 + 51.6) / 2
  EXPECT_EQ(output_.ResolutionCode, ResolutionMillimetres);
  EXPECT_TRUE(page_.barShown);
  EXPECT_EQ(page_.percents, (std::vector<int>{50, 83, 116})) << "next node / points per row";
}

TEST_F(GrReader, AcceptsTheLenientSpellings) {
  const std::pair<const char*, std::function<void(GrText&)>> cases[] = {
      {"item units in lower case", [](GrText& g) { g.itemUnits = "m"; }},
      {"unit words in lower case", [](GrText& g) { g.units = "deg deg deg deg"; }},
      {"radians with four values",
       [](GrText& g) {
         g.units = "RAD RAD RAD RAD";
         g.list = "0.03 0.72 0.0003 0";
       }},
      {"degrees with four values",
       [](GrText& g) {
         g.units = "GRA GRA GRA GRA";
         g.list = "2 41 0.25 0";
       }},
      {"a stated point count equal to rows × columns", [](GrText& g) { g.points = "6"; }},
      {"a key at the subsection's level returns to the description",
       [](GrText& g) { g.rowsLine = "  \\ORIENTATION PARAMETERS\r\n  \\NUMBER OF ROWS = 3"; }},
      {"an empty closing line",
       [](GrText& g) {
         g.values.push_back("");
         g.closingLine = false;
       }},
  };
  for (const auto& [name, change] : cases) {
    GrText g;
    change(g);
    EXPECT_TRUE(Read(g.Text())) << name << ": " << failure_.Description();
  }
}

TEST_F(GrReader, RefusesEveryHeaderViolation) {
  struct Case {
    std::function<void(GrText&)> change;
    const char* why;
  };
  const Case cases[] = {
      {[](GrText& g) { g.typeCode = "geoid(n)"; }, "type code"},
      {[](GrText& g) { g.itemUnits = "FT"; }, "item units"},
      {[](GrText& g) { g.orientationCode = "Helmert"; }, "HELMERT"},
      {[](GrText& g) { g.units = "DEG DEG  DEG DEG"; }, "four equal words"},
      {[](GrText& g) { g.units = "DEG DEG DEG RAD"; }, "four equal words"},
      {[](GrText& g) { g.units = "MIL MIL MIL MIL"; }, "RAD, DEG or GRA"},
      {[](GrText& g) { g.list = "2 41 0.25 0"; }, "12 values"},
      {[](GrText& g) { g.list = "2 10 0 200 30 0 0 1 0 0 0 0"; }, "latitude 200.5 degrees"},
      {[](GrText& g) { g.data = "  \\DATA"; }, "no \\DATA"},
      {[](GrText& g) { g.data = "\\data"; }, "no \\DATA"},
      {[](GrText& g) { g.gridSet = ""; }, "GRID SET"},
      {[](GrText& g) { g.points = "7"; }, "number of points"},
      {[](GrText& g) { g.columns = "0"; }, "columns"},
      // Indented deeper, the key stays inside the orientation section and is ignored.
      {[](GrText& g) { g.rowsLine = "  \\ORIENTATION PARAMETERS\r\n    \\NUMBER OF ROWS = 3"; },
       "rows"},
      {[](GrText& g) { g.values[2] = "0.000"; }, "node 3 (line 16) holds 0"},
      {[](GrText& g) { g.values[4] = "abc"; }, "node 5 (line 18) holds no number"},
      {[](GrText& g) { g.values[2] = ""; }, "node 3 (line 16) holds no number"},
      {[](GrText& g) { g.closingLine = false; }, "without a line after the last node"},
  };
  for (const auto& c : cases) {
    GrText g;
    c.change(g);
    ExpectFailure(g.Text(), ReaderFormatError, c.why);
  }
}

// The values, one a line from line 14 on, must be as many as the header promises: fewer (a file
// cut short among them) or more are refused with both counts.
TEST_F(GrReader, RefusesValuesThatAreNotAsManyAsTheHeaderPromises) {
  const std::string six =
      "the header promises 6 nodes (3 rows \u00d7 2 columns), but the file holds ";
  const std::string cut = ": it may have been cut short";
  const std::pair<std::function<void(GrText&)>, std::string> cases[] = {
      {[](GrText& g) { g.values.pop_back(); }, six + "5 values, on lines 14 to 18"},
      {[](GrText& g) {
         g.values.pop_back();
         g.closingLine = false;
       },
       six + "5 values, on lines 14 to 18" + cut},
      {[](GrText& g) {
         g.values.back() = "-";
         g.closingLine = false;
       },
       six + "5 values, on lines 14 to 18" + cut},
      {[](GrText& g) { g.values.push_back("51.1"); }, six + "7 values, on lines 14 to 20"},
      {[](GrText& g) {
         g.values.insert(g.values.end(), {"51.1", "51.2", ""});
       },
       six + "8 values, on lines 14 to 21"},
      {[](GrText& g) { g.values.clear(); }, six + "0 values"},
      {[](GrText& g) {
         g.rowsLine = "  \\NUMBER OF ROWS = 30000";
         g.columns = "30000";
       },
       "promises 900000000 nodes (30000 rows \u00d7 30000 columns), but the file holds 6 values, "
       "on lines 14 to 19"},
      {[](GrText& g) {
         g.rowsLine = "  \\NUMBER OF ROWS = 300";
         g.closingLine = false;
       },
       "promises 600 nodes (300 rows \u00d7 2 columns), but the file holds 6 values, on lines 14 "
       "to 19" +
           cut},
  };
  for (const auto& [change, why] : cases) {
    GrText g;
    change(g);
    ExpectFailure(g.Text(), ReaderFormatError, why);
    EXPECT_EQ(failure_.Description().ends_with(cut), why.ends_with(cut)) << failure_.Description();
  }
}

TEST_F(GrReader, ReportsOtherFailuresWithTheProcedureName) {
  ExpectFailure("only one line\r\n", ErrorInputPastEnd, "Input past end of file");
  GrText tooWide;
  tooWide.columns = "40000";
  ExpectFailure(tooWide.Text(), ErrorOverflow, "Overflow");
}

}  // namespace
}  // namespace hextant::test
