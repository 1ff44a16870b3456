#include <gtest/gtest.h>

#include "base/angles.h"
#include "readers/italy_reader.h"
#include "readers/reader_fixture.h"

namespace hextant::test {
namespace {

// An Italy file: preamble, header line, skipped line, the 140 value lines (value k = 40 + k/1000,
// first on a line that starts with blanks), then the latitude and longitude lines.
std::string ItalyFile(const std::string& header = "\"GEOIDE\" 2005",
                      const std::string& latitude = "36.0", const std::string& longitude = "6.0") {
  std::string text = "preamble\r\n" + header + "\r\nskipped line\r\n";
  for (int k = 1; k <= 140; ++k) {
    text += "   " + std::to_string(40.0 + k / 1000.0) + " m\r\n";
  }
  return text + latitude + " lat\r\n" + longitude + "\r\n";
}

class ItalyReader : public ReaderTest {
 protected:
  ItalyReader() { settings_.SpacingX = settings_.SpacingY = 0.0025; }
  void Fail(const std::string& text, int number, const std::string& why) {
    ExpectFailure(Convert_File_Italy, text, number, why, "Convert_File_Italy");
  }
};

TEST_F(ItalyReader, ReadsTheBlockAfterTheFirstHeader) {
  const std::string text = ItalyFile("GEOIDE") + ItalyFile("\"GEOIDE\"", "10", "10");
  ASSERT_TRUE(Read(Convert_File_Italy, text)) << failure_.Description();
  ASSERT_EQ(Points().Count(), 140);
  const double x0 = 6.0 * 3.14159265359 / 180, y0 = 36.0 * 3.14159265359 / 180;
  EXPECT_DOUBLE_EQ(Points().Node(1).X, x0);
  EXPECT_DOUBLE_EQ(Points().Node(1).Y, y0 + 9 * 0.0025);
  EXPECT_DOUBLE_EQ(Points().Node(14).X, x0 + 13 * 0.0025);
  EXPECT_DOUBLE_EQ(Points().Node(127).Y, y0);
  EXPECT_DOUBLE_EQ(Points().Node(140).Separation, 40.14);
}

TEST_F(ItalyReader, RefusesAnIncompleteBlock) {
  std::string withEmptyLine = ItalyFile();
  withEmptyLine.replace(withEmptyLine.find("   40.005000 m"), 14, "");
  Fail(withEmptyLine, ReaderFormatError, "no complete GEOIDE block");
  Fail(ItalyFile(" GEOIDE"), ReaderFormatError, "no complete GEOIDE block");  // leading blank
  Fail(ItalyFile("GEOIDE 2005"), ReaderFormatError, "no complete GEOIDE block");
  Fail(ItalyFile("\"GEOIDE\"", "99999.999"), ReaderFormatError, "no complete GEOIDE block");
  const std::string full = ItalyFile();
  Fail(full.substr(0, full.find("36.0")), ErrorInputPastEnd, "Input past end of file");
}

TEST_F(ItalyReader, ReadsTextValuesAsZero) {
  std::string text = ItalyFile();
  text.replace(text.find("40.003000"), 9, "n/a");
  ASSERT_TRUE(Read(Convert_File_Italy, text));
  EXPECT_EQ(Points().Node(3).Separation, 0.0) << "counted, read as 0";
  EXPECT_EQ(output_.Diagnostics.NonNumericValues, 1) << "and noted for the warning";
}

}  // namespace
}  // namespace hextant::test
