#include <gtest/gtest.h>

#include "base/angles.h"
#include "readers/la_reunion_reader.h"
#include "readers/reader_fixture.h"

namespace hextant::test {
namespace {

// 8 rows × 9 columns from -21.5..-20.8 and 55.1..55.9, 0.1 apart: each row on a line of eight
// values and a line of one.
std::string ReunionFile(const std::string& rowEnd = "\r\n", const std::string& spacing = "0.1") {
  std::string text = "-21.5 -20.8\r\n55.1 55.9\r\n" + spacing + " " + spacing + "\r\n";
  for (int r = 0; r < 8; ++r) {
    text += "10.1 10.2 10.3 10.4 10.5 10.6 10.7 10.8" + rowEnd + "11.9\r\n";
  }
  return text;
}

class ReunionReader : public ReaderTest {
 protected:
  void Fail(const std::string& text, int number, const std::string& why) {
    ExpectFailure(ConvertFileLaReunion, text, number, why, "ConvertFileLaReunion");
  }
};

TEST_F(ReunionReader, WrapsRowsOverLinesOfEight) {
  ASSERT_TRUE(Read(ConvertFileLaReunion, ReunionFile("\r\n\r\n"))) << failure_.Description();
  ASSERT_EQ(Points().Count(), 72) << "empty lines between body lines are skipped";
  EXPECT_DOUBLE_EQ(Points().Node(1).X, DegToRad(55.1));
  EXPECT_DOUBLE_EQ(Points().Node(1).Y, DegToRad(-20.8));
  EXPECT_DOUBLE_EQ(Points().Node(9).X, DegToRad(55.1) + 8 * DegToRad(0.1));
  EXPECT_EQ(Points().Node(9).Separation, 11.9);
  EXPECT_DOUBLE_EQ(Points().Node(10).Y, DegToRad(-20.8) - DegToRad(0.1));
  EXPECT_DOUBLE_EQ(settings_.SpacingX, DegToRad(0.1));
}

TEST_F(ReunionReader, Marks9999AsNoValue) {
  std::string text = ReunionFile();
  text.replace(text.find("10.1"), 4, "9999");
  text.replace(text.find("10.2"), 4, "9999.0");
  text.replace(text.find("10.3"), 4, "9999.5");
  ASSERT_TRUE(Read(ConvertFileLaReunion, text));
  EXPECT_EQ(Points().Node(1).NullFlag, NullFlagSet);
  EXPECT_EQ(Points().Node(2).Separation, NullSeparation);
  EXPECT_EQ(Points().Node(3).Separation, 9999.5);
}

TEST_F(ReunionReader, RefusesRowsThatDoNotFillTheGrid) {
  Fail(ReunionFile("\r\n   \r\n"), ReaderFormatError, "nodes read instead of 8 × 9");
  // "0,1" reads as 0: the comma ends the number and the spacing divides by zero.
  Fail(ReunionFile("\r\n", "0,1"), 11, "Division by zero");
  const std::string full = ReunionFile();
  Fail(full.substr(0, full.size() - 6), ErrorInputPastEnd, "Input past end of file");
}

}  // namespace
}  // namespace hextant::test
