#include <gtest/gtest.h>

#include "base/angles.h"
#include "readers/poland_reader.h"
#include "readers/reader_fixture.h"
#include "readers/reader_progress.h"

namespace hextant::test {
namespace {

class PolandReader : public ReaderTest {
 protected:
  PolandReader() { settings_.SpacingX = settings_.SpacingY = 0.25 * WindowPi / 180; }
};

TEST_F(PolandReader, PlacesNodesOnTheGridOfTheirExtent) {
  const std::string text =
      "#\tlat\tlon\tN\r\n"
      "49.0\t14.0\t40.1\r\n"
      "  49.5\t\t14.5\t40.9\r\n"  // leading blanks and two tabs
      "49.0 14.5 40.5\r\n"        // blanks instead of tabs: one field, skipped
      "49.5\t14.0\t40.3\textra\r\n"
      "49.0\t14.5\t40.2\r\n"
      "49.1\t14.5\t40.4\r\n";  // 0.4 spacing from its node: placed on it, keeps its Y
  ASSERT_TRUE(Read(ConvertFilePoland, text)) << failure_.Description();
  ASSERT_EQ(Points().Count(), 9);
  for (int node : {2, 4, 5, 6, 8}) {
    EXPECT_EQ(Points().Node(node).NullFlag, NullFlagSet) << node;
  }
  EXPECT_DOUBLE_EQ(Points().Node(5).X, DegToRad(14.0) + 0.25 * WindowPi / 180) << "the centre";
  EXPECT_EQ(Points().Node(1).Separation, 40.1);
  EXPECT_EQ(Points().Node(3).Separation, 40.4) << "the later line replaces the earlier";
  EXPECT_DOUBLE_EQ(Points().Node(3).Y, DegToRad(49.1));
  EXPECT_EQ(Points().Node(7).Separation, 40.3);
  EXPECT_EQ(Points().Node(9).Separation, 40.9);
  EXPECT_DOUBLE_EQ(output_.SeparationOffset, 40.5);  // both replaced values stay in the range
  EXPECT_EQ(output_.Diagnostics.RepeatedNodes, 1);
  EXPECT_EQ(output_.Diagnostics.FirstRepeatedLine, 7) << "node 3 again";
  EXPECT_EQ(output_.Diagnostics.FirstRepeatedEarlierLine, 6);
}

// The grid comes from the extent of the lines read: a file cut short gives a smaller or emptier
// grid, which the reader names, and a node given again names both lines.
TEST_F(PolandReader, SaysWhatTheGridLacksAndWhichLinesRepeat) {
  const std::string square = "49.0\t14.0\t40\r\n49.25\t14.25\t41\r\n";  // 2 x 2, 2 empty
  const std::string half =
      "2 of the 4 nodes of the grid the file's extent gives (50 %) have no "
      "value: no line of the file falls on them";
  const std::string full = square + "49.0\t14.25\t42\r\n49.25\t14.0\t43\r\n";
  std::string longRow;  // 2101 columns, one without a line
  for (int k = 0; k <= 2100; ++k) {
    longRow += k == 500 ? "" : "49\t" + std::to_string(14 + k * 0.25) + "\t40\r\n";
  }
  const struct {
    std::string text;
    std::vector<std::string> warnings;
    std::int64_t repeats, line, earlier;
  } cases[] = {
      {full, {}, 0, 0, 0},
      {square, {half}, 0, 0, 0},
      {full + "# end\r\n\r\n", {}, 0, 0, 0},
      {full + "49.25\t14",
       {"line 5 holds 2 of the 3 values of a node line: the file may have "
        "been cut short"},
       0,
       0,
       0},
      {full + "49.2\r\n\r\n",
       {"line 5 holds 1 of the 3 values of a node line: the file may "
        "have been cut short"},
       0,
       0,
       0},
      {square + "#\r\n" + square + "49.0\t14.0\t44\r\n", {half}, 3, 4, 1},
      {longRow,
       {"1 of the 2101 nodes of the grid the file's extent gives (under 0.1 %) have no "
        "value: no line of the file falls on them"},
       0,
       0,
       0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text.substr(0, 80));
    output_ = ReaderOutput{};
    ASSERT_TRUE(Read(ConvertFilePoland, c.text)) << failure_.Description();
    EXPECT_EQ(output_.Diagnostics.Warnings, c.warnings);
    EXPECT_EQ(output_.Diagnostics.RepeatedNodes, c.repeats);
    EXPECT_EQ(output_.Diagnostics.FirstRepeatedLine, c.line);
    EXPECT_EQ(output_.Diagnostics.FirstRepeatedEarlierLine, c.earlier);
  }
}

TEST_F(PolandReader, ReadsAHashFollowedByTextAsANode) {
  ASSERT_TRUE(Read(ConvertFilePoland, "#x\t14.0\t40.0\r\n0.25\t14.0\t41.0\r\n"));
  ASSERT_EQ(Points().Count(), 2);
  EXPECT_DOUBLE_EQ(Points().Node(1).Y, 0.0) << "latitude 0";
  EXPECT_EQ(output_.Diagnostics.NonNumericValues, 1);
  EXPECT_EQ(output_.Diagnostics.FirstNonNumericLine, 1);
}

TEST_F(PolandReader, ReportsEvery1001LinesAcrossBothPasses) {
  std::string text;
  std::vector<std::size_t> ends;  // the position after each line
  for (int i = 0; i < 1700; ++i) {
    text += i % 9 == 0 ? "# comment\r\n" : "49." + std::to_string(i % 2 * 25) + "\t14.0\t40\r\n";
    ends.push_back(text.size());
  }
  std::vector<int> expected;
  for (std::size_t line = 1001; line <= 2 * ends.size(); line += 1001) {
    expected.push_back(ReadPercent(text.size(), ends[(line - 1) % ends.size()] + 1));
  }
  page_.percents.clear();
  ASSERT_TRUE(Read(ConvertFilePoland, text)) << failure_.Description();
  EXPECT_EQ(page_.percents, expected);
}

TEST_F(PolandReader, RefusesNodesOffTheGridAndHugeGrids) {
  // An extent of 3.5 spacings gives 4 columns, and the eastern node rounds to column 4 of 0..3.
  settings_.SpacingX = DegToRad(0.25);
  ExpectFailure(ConvertFilePoland, "49\t0\t40\r\n49\t0.875\t41\r\n", ReaderFormatError,
                "off the grid", "ConvertFilePoland");
  settings_.SpacingX = 1e-11;
  ExpectFailure(ConvertFilePoland, "49\t14.0\t40\r\n49\t14.5\t41\r\n", ErrorOverflow,
                "nodes for 2 node lines; check the spacing", "ConvertFilePoland");
}

}  // namespace
}  // namespace hextant::test
