#include <gtest/gtest.h>

#include <cmath>

#include "base/angles.h"
#include "readers/netherlands_reader.h"
#include "readers/reader_fixture.h"
#include "readers/switzerland_reader.h"

namespace hextant::test {
namespace {

// A line of `count` values "1.000 1.001 …", or with `code` standing at 0-based `codeAt`.
std::string Row(int count, double base = 1.0, int codeAt = -1, const char* code = "") {
  std::string line = "  ";
  for (int i = 0; i < count; ++i) {
    line += (i == codeAt ? std::string(code) : std::to_string(base + i / 1000.0)) + " ";
  }
  return line + "\r\n";
}

class RowGridReaders : public ReaderTest {
 protected:
  RowGridReaders() { settings_.SpacingX = settings_.SpacingY = 0.001; }
};

TEST_F(RowGridReaders, NetherlandsReadsLinesOf52AndSkipsShorterOnes) {
  settings_.CodeFilter = "99.999";
  const std::string text = "header line\r\n" + Row(51, 5.0) + Row(60, 2.0, 3, "99.999") + "\r\n" +
                           Row(52, 300.0, 4, "99.9990") + Row(52, 3.0, 5, "-99.999");
  ASSERT_TRUE(Read(ConvertFileNetherlands, text)) << failure_.Description();
  ASSERT_EQ(Points().Count(), 3 * 52) << "the first 52 of the 60 values, the 51 skipped";
  const double x0 = PackedDmsToRadians(3.123), y0 = PackedDmsToRadians(53.403);
  EXPECT_DOUBLE_EQ(Points().Node(1).X, x0);
  EXPECT_DOUBLE_EQ(Points().Node(1).Y, y0);
  EXPECT_EQ(Points().Node(4).NullFlag, NullFlagSet) << "exactly the code text";
  EXPECT_EQ(Points().Node(4).Separation, NullSeparation);
  EXPECT_EQ(Points().Node(52 + 5).Separation, 99.999) << "a trailing zero is a number";
  EXPECT_EQ(Points().Node(104 + 6).Separation, -99.999) << "so is a leading minus";
  EXPECT_DOUBLE_EQ(Points().Node(53).X, x0) << "node 53 starts the second row";
  EXPECT_DOUBLE_EQ(Points().Node(53).Y, y0 - 0.001);
  EXPECT_EQ(page_.percents.size(), 3u) << "one report per data line";
}

TEST_F(RowGridReaders, WithoutACodeEveryNodeHasAValue) {
  ASSERT_TRUE(Read(ConvertFileNetherlands, Row(52, 1.0, 0, "99.999")));
  EXPECT_EQ(Points().Node(1).Separation, 99.999);
  EXPECT_EQ(Points().Node(1).NullFlag, 0.0);
}

TEST_F(RowGridReaders, SwitzerlandPlacesRowsOf361FromItsCorner) {
  settings_.SpacingX = settings_.SpacingY = 1000.0;
  ASSERT_TRUE(Read(ConvertFileSwitzerland, Row(40) + Row(361) + Row(370)));
  ASSERT_EQ(Points().Count(), 722);
  EXPECT_EQ(Points().Node(361).X, 840000.0);
  EXPECT_EQ(Points().Node(361).Y, 302000.0);
  EXPECT_EQ(Points().Node(362).X, 480000.0);
  EXPECT_EQ(Points().Node(362).Y, 301000.0);
}

// A file cut within a row ends in a line too short for a row, which the skip rule passes over:
// the reader says so. A cut row long enough to be data is refused.
TEST_F(RowGridReaders, SayWhereAFileCutShortEnds) {
  const std::string nl = "Netherlands\r\ncolumns 52\r\n\r\n" + Row(52) + Row(52);  // rows on 4, 5
  const std::string cut = ": the file may have been cut short";
  const std::string nlCut = " of the 52 values of a row" + cut;
  const struct {
    bool swiss;
    std::string text;
    std::string warning;  // empty: none
    std::string error;    // empty: the read succeeds
  } cases[] = {
      {false, nl + Row(12), "line 6 holds 12" + nlCut, ""},
      {false, nl + "1.5 99.999 -", "line 6 holds 3" + nlCut, ""},  // cut within a number
      {false, nl + Row(12) + "\r\n  \r\n", "line 6 holds 12" + nlCut, ""},
      {false, nl + Row(12) + Row(52), "", ""},
      {false, nl + "end of file 2\r\n", "", ""},
      {false, "52 60\r\n" + Row(52), "", ""},
      {false, nl, "", ""},
      {true, Row(361) + Row(51), "line 2 holds 51 of the 361 values of a row" + cut, ""},
      {true, Row(361) + Row(200), "", "data row 2 (line 2) holds 200 values instead of 361" + cut},
      {true, Row(361) + Row(200) + Row(361), "",
       "data row 2 (line 2) holds 200 values instead of 361"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text.substr(c.text.size() - std::min<std::size_t>(c.text.size(), 40)));
    const StreamReader read =
        c.swiss ? StreamReader{ConvertFileSwitzerland} : StreamReader{ConvertFileNetherlands};
    settings_.SpacingX = settings_.SpacingY = 1000.0;
    settings_.CodeFilter = "99.999";
    output_ = ReaderOutput{};
    if (!c.error.empty()) {
      ExpectFailure(read, c.text, ReaderFormatError, c.error,
                    c.swiss ? "ConvertFileSwitzerland" : "ConvertFileNetherlands");
      EXPECT_EQ(failure_.Description().ends_with(cut), c.error.ends_with(cut));
      continue;
    }
    ASSERT_TRUE(Read(read, c.text)) << failure_.Description();
    EXPECT_EQ(output_.Diagnostics.Warnings,
              c.warning.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.warning});
  }
}

TEST_F(RowGridReaders, RefuseUnusableSpacings) {
  for (double spacing : {0.0, -1.0, std::nan("")}) {
    settings_.SpacingY = spacing;
    ExpectFailure(ConvertFileNetherlands, Row(52), ErrorInvalidSpacing, "node spacing",
                  "ConvertFileNetherlands");
  }
}

}  // namespace
}  // namespace hextant::test
