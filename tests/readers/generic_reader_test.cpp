#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <sstream>

#include "base/angles.h"
#include "readers/chunked_read.h"
#include "readers/generic_reader.h"
#include "readers/reader_fixture.h"
#include "readers/reader_progress.h"
#include "wizard/column_roles.h"

namespace hextant::test {
namespace {

constexpr double kDegree = WindowPi / 180;

// Decimal layout "X Y N [code]" by blanks, geographical decimal degrees unless a test changes it.
class GenericReader : public ReaderTest {
 protected:
  GenericReader() {
    settings_.Delimiter = " ";
    settings_.MergeDelimiters = true;
    settings_.CoordinateType = Geographical;
    settings_.AngularUnit = 2;
    settings_.ColumnRoles = {-1, 1, 2, 3, -1, -1, -1, -1, -1, -1, -1};
  }
  bool Read(const std::string& text) { return ReaderTest::Read(ConvertFileGeneric, text); }
  GeoidPoint Node(std::int32_t i) const { return Points().Node(i); }
};

TEST_F(GenericReader, ConvertsUnitsToRadiansAndMetres) {
  struct Case {
    std::int16_t coordinateType, angularUnit, linearUnit;
    bool south;
    double x, y, separation;
  };
  const Case cases[] = {
      {Geographical, 0, 0, false, 0.5, 0.25, 40.0},
      {Geographical, 1, 0, false, 0.5 * WindowPi / 200, 0.25 * WindowPi / 200, 40.0},
      {Geographical, 2, 0, true, 0.5 * kDegree, -0.25 * kDegree, 40.0},
      {Grid, 2, 0, true, 0.5, -0.25, 40.0},
      {Grid, 0, 1, false, 0.5 * 0.3048, 0.25 * 0.3048, 40.0 * 0.3048},
  };
  for (const auto& c : cases) {
    settings_.CoordinateType = c.coordinateType;
    settings_.AngularUnit = c.angularUnit;
    settings_.LinearUnit = c.linearUnit;
    settings_.SouthernHemisphere = c.south;
    ASSERT_TRUE(Read("0.5 0.25 40\r\n")) << failure_.Description();
    ASSERT_EQ(Points().Count(), 1);
    EXPECT_DOUBLE_EQ(Node(1).X, c.x);
    EXPECT_DOUBLE_EQ(Node(1).Y, c.y);
    EXPECT_DOUBLE_EQ(Node(1).Separation, c.separation);
    EXPECT_EQ(output_.SpacingFactor, c.linearUnit == 1 && c.coordinateType == Grid ? 0.3048 : 1.0);
  }
}

TEST_F(GenericReader, WrapsLongitudesOnceAndRefusesAnglesBeyondPi) {
  ASSERT_TRUE(Read("190 100 40\r\n"));
  ASSERT_EQ(Points().Count(), 1);
  EXPECT_DOUBLE_EQ(Node(1).X, 190 * kDegree - 6.28318530718);
  messages_.shown.clear();
  EXPECT_FALSE(Read("10 10 40\r\n600 10 40\r\n"));
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].Title, "ERROR");
  EXPECT_EQ(messages_.shown[0].Text, "ANGULAR VALUES OUTSIDE LIMITS");
  EXPECT_FALSE(settings_.ReadingActive);
  EXPECT_EQ(output_.Diagnostics.OutsideLimitsLine, 2) << "the hint names the offending line";
  EXPECT_EQ(output_.Diagnostics.OutsideLimitsText, "600 10 40");
  EXPECT_EQ(messages_.shown[0].Detail, "") << "600 fits no degrees either";
}

// The hint for angles read as radians names the unit only when the line's numbers fit degrees.
TEST(DegreesReadAsRadians, IsGivenOnlyWhereDegreesWouldPass) {
  const struct {
    std::int16_t unit;
    const char* line;
    bool hint;
  } cases[] = {
      {0, "5.25 50.75 47.3", true},   // radians: 50.75 is past pi, all within 360
      {0, "350 -80 12", true},        //
      {0, "5.25 500 47.3", false},    // 500 fits no degrees
      {0, "0.1 0.7 47.3", false},     // nothing past pi: the limits stopped something else
      {2, "5.25 50.75 47.3", false},  // already degrees
  };
  for (const auto& c : cases) {
    const std::string hint = DegreesReadAsRadiansHint(c.unit, 7, c.line);
    EXPECT_EQ(!hint.empty(), c.hint) << c.line;
    if (c.hint) {
      EXPECT_NE(hint.find("Line 7"), std::string::npos);
      EXPECT_NE(hint.find("--angular-unit decimal-degrees"), std::string::npos);
    }
  }
}

TEST_F(GenericReader, ReadsTheSexagesimalLayoutWithLetters) {
  settings_.AngularUnit = 3;
  settings_.SouthernHemisphere = true;
  settings_.ColumnRoles = {-1, -1, -1, 7, -1, 1, 2, 3, 4, 5, 6};
  ASSERT_TRUE(Read("-3 30 0 N45 30 0 40\r\nW3 30 0 N45 30\r\n")) << failure_.Description();
  ASSERT_EQ(Points().Count(), 1) << "a line lacking an assigned column is passed over";
  EXPECT_DOUBLE_EQ(Node(1).X, -2.5 * kDegree);
  EXPECT_DOUBLE_EQ(Node(1).Y, -45.5 * kDegree) << "the letter never sets the sign";
}

TEST_F(GenericReader, SkipsTitleAndShortLinesAndAppliesTheCodeFilter) {
  settings_.CodeFilterOn = true;
  settings_.CodeFilter = "X1";
  settings_.ColumnRoles[RoleCode] = 4;
  settings_.StartLine = 2;
  settings_.Delimiter = ";";
  const std::string text =
      "1;1;1;skipped by the start line\r\n"
      "lon;lat\r\n"  // fewer than three fields
      "\r\n"
      "x;y;n;code\r\n"    // a title with every column: a point of zeros
      "1;1;20\r\n"        // no code column: passed over
      "1;1;30;  X1 \r\n"  // blanks around the code are removed
      "1;1;32767;x1\r\n"  // case counts; 32767 stays out of the range
      "1;1;50;A\r\n";
  ASSERT_TRUE(Read(text));
  ASSERT_EQ(Points().Count(), 4);
  EXPECT_EQ(Node(1).Separation, 0.0);
  EXPECT_EQ(Node(2).Separation, NullSeparation);
  EXPECT_EQ(Node(2).NullFlag, NullFlagSet);
  EXPECT_EQ(Node(3).Separation, 32767.0);
  EXPECT_EQ(Node(3).NullFlag, 0.0);
  EXPECT_DOUBLE_EQ(output_.SeparationOffset, 25.0) << "0 and 50: 32767 took no part";
  EXPECT_EQ(output_.Diagnostics.NonNumericValues, 3) << "x, y and n of the title";
  EXPECT_EQ(output_.Diagnostics.FirstNonNumericLine, 4);
}

TEST_F(GenericReader, ShowsTheProgressOfACountingPassThenOfAReadPass) {
  std::string text = "title\n";
  for (int i = 0; i < 3000; ++i) {
    text += i % 7 == 0 ? "\n" : i % 5 == 0 ? "short line\r\n" : "1 1 " + std::to_string(i) + "\n";
  }
  settings_.StartLine = 2;
  // Both passes as the reader's description has them: every line after the start line counts in
  // the first, only the lines read as points in the second; a report after every stride + 1.
  const std::uint64_t stride = text.size() / 12800;
  std::vector<int> expected{0};
  for (bool readPass : {false, true}) {
    std::uint64_t counter = 0;
    for (std::size_t at = text.find('\n') + 1; at < text.size();) {
      const std::size_t end = text.find('\n', at) + 1;
      const bool point = text.compare(at, 4, "1 1 ") == 0;
      at = end;
      if ((point || !readPass) && ++counter > stride) {
        expected.push_back(ReadPercent(text.size(), end + 1));
        counter = 0;
      }
    }
  }
  page_.percents.clear();
  ASSERT_TRUE(Read(text));
  EXPECT_EQ(page_.percents, expected);
}

// What a read leaves behind that anyone can see.
struct Outcome {
  bool read = false;
  bool stopped = false;
  std::vector<double> block;  // the point list's block of doubles
  std::vector<int> percents;
  std::int64_t nonNumeric = 0, firstNonNumeric = 0, outsideLine = 0, partial = 0, firstPartial = 0;
  std::string outsideText;
  double offset = 0;
  std::size_t messages = 0;
  bool operator==(const Outcome&) const = default;
};

TEST_F(GenericReader, ReadsBlocksOnThreadsAsItReadsLineByLine) {
  std::vector<std::string> lines;
  const char* ends[] = {"\n", "\r\n", "\r"};
  for (int i = 0; i < 2000; ++i) {  // 30 kB: a progress report every third line
    const std::string end = ends[i % 3];
    lines.push_back(i % 7 == 0    ? "   " + end
                    : i % 11 == 0 ? "short line" + end
                                  : std::to_string(i % 90) + " 45.25 " + std::to_string(i) + end);
  }
  struct Case {
    const char* what;
    std::function<void(std::vector<std::string>&)> change;
    std::int16_t startLine = 0;
    int stopAtYield = 0;
  };
  const Case cases[] = {
      {"clean lines", [](auto&) {}},
      {"values without a number, the first in a late block",
       [](auto& l) { l[1300] = "1 x 3\n", l[1720] = "1 2 y\n"; }},
      {"values read in part, the first in a late block",
       [](auto& l) { l[1301] = "1 45.25.5 3\n", l[1722] = "1 45.25 5abc\n"; }},
      {"angles outside the limits in a late block", [](auto& l) { l[1540] = "600 10 40\n"; }},
      {"a line longer than a block",
       [](auto& l) { l[700] = "1 1 " + std::string(150, '7') + "\n"; }},
      {"a first block without points: no room is reserved, the list grows between blocks",
       [](auto& l) { l[0] = std::string(60, ' ') + "\n"; }},
      {"a start line", [](auto&) {}, 5},
      {"a stop request late in the read", [](auto&) {}, 0, 500},
  };
  for (const Case& c : cases) {
    std::vector<std::string> changed = lines;
    c.change(changed);
    std::string text;
    for (const std::string& line : changed) {
      text += line;
    }
    auto read = [&](GenericReadPlan plan) {
      settings_.PointList = PointList{};  // no room left from the last read
      settings_.StartLine = c.startLine;
      page_ = RecordingPage{};
      page_.onYield = [&] {
        if (page_.yields == c.stopAtYield) {
          settings_.ReadingActive = false;
        }
      };
      output_ = ReaderOutput{};
      messages_.shown.clear();
      std::istringstream in(text);
      ReaderEnvironment env{settings_, progress_, messages_};
      Outcome o;
      o.read = ConvertFileGeneric(in, text.size(), env, output_, &failure_, plan);
      const double* data = Points().Data();
      o.block.assign(data, data + 4 * (Points().Count() + 1));
      o.stopped = output_.StoppedByUser;
      o.percents = page_.percents;
      o.nonNumeric = output_.Diagnostics.NonNumericValues;
      o.firstNonNumeric = output_.Diagnostics.FirstNonNumericLine;
      o.partial = output_.Diagnostics.PartialNumbers;
      o.firstPartial = output_.Diagnostics.FirstPartialLine;
      o.outsideLine = output_.Diagnostics.OutsideLimitsLine;
      o.outsideText = output_.Diagnostics.OutsideLimitsText;
      o.offset = output_.SeparationOffset;
      o.messages = messages_.shown.size();
      return o;
    };
    const Outcome alone = read(GenericReadPlan{});
    EXPECT_GT(alone.block.size(), 4 * 700u) << c.what;
    const bool partial = std::string_view(c.what).starts_with("values read in part");
    EXPECT_EQ(alone.partial, partial ? 2 : 0) << c.what;
    EXPECT_EQ(alone.firstPartial, partial ? 1302 : 0) << c.what;
    EXPECT_TRUE(alone == read(GenericReadPlan{2, 64})) << c.what << ": blocks of 64 bytes";
  }
}

TEST_F(GenericReader, WorksOutItsOffsetWithoutCuttingIt) {
  struct Case {
    const char* text;
    double offset;
    std::int16_t code;
  };
  const Case cases[] = {
      {"1 1 -40\r\n1 1 30\r\n", -5.0, 2},
      {"1 1 1.0001\r\n1 1 2.0004\r\n", 1.50025, 1},
      {"1 1 -5\r\n1 1 5\r\n", 0.0, 1},
      {"", 0.0, 2},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(Read(c.text)) << c.text;
    EXPECT_DOUBLE_EQ(output_.SeparationOffset, c.offset) << c.text;
    EXPECT_EQ(output_.ResolutionCode, c.code) << c.text;
  }
}

TEST_F(GenericReader, StopsWhenBackIsPressedInEitherPass) {
  std::string text;
  for (int i = 0; i < 20000; ++i) {
    text += "1 1 40\r\n";  // 160 kB: a progress report every 13 lines
  }
  for (int yieldsBeforeBack : {2, 1600}) {  // within the counting pass, then the read pass
    page_.yields = 0;
    page_.onYield = [&] {
      if (page_.yields == yieldsBeforeBack) {
        settings_.ReadingActive = false;
      }
    };
    messages_.shown.clear();
    EXPECT_FALSE(Read(text));
    EXPECT_TRUE(output_.StoppedByUser);
    EXPECT_TRUE(messages_.shown.empty());
    output_ = ReaderOutput{};
  }
}

}  // namespace
}  // namespace hextant::test
