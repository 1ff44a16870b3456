#include <gtest/gtest.h>

#include <sstream>

#include "text/line_reader.h"

namespace hextant {
namespace {

std::vector<std::string> Lines(const std::string& text, std::size_t limit = 1 << 20) {
  std::istringstream in(text);
  LineReader reader(in, limit);
  std::vector<std::string> lines;
  for (std::string line; reader.Next(line);) {
    lines.push_back(line);
  }
  EXPECT_EQ(reader.Consumed(), text.size());
  return lines;
}

TEST(LineReader, EndsLinesAtLfCrLfAndCr) {
  using V = std::vector<std::string>;
  EXPECT_EQ(Lines("a\nb\r\nc\rd"), (V{"a", "b", "c", "d"}));
  EXPECT_EQ(Lines("a\r\n\r\n"), (V{"a", ""}));
  EXPECT_EQ(Lines("\r\r\n\n"), (V{"", "", ""}));
  EXPECT_EQ(Lines(""), V{});
  EXPECT_EQ(Lines("abcdef\n", 3), V{"abc"}) << "a long line is cut, its rest skipped";
}

TEST(LineReader, HandlesLineEndsAcrossItsBuffer) {
  // The 64 KiB buffer ends between the CR and the LF of the first line end.
  const std::string first(65535, 'x');
  const auto lines = Lines(first + "\r\nsecond\r\n");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], first);
  EXPECT_EQ(lines[1], "second");
}

TEST(LineReader, AtEndAfterTheLastLineEnd) {
  std::istringstream in("1\r\n2\r\n");
  LineReader reader(in);
  std::string line;
  reader.Next(line);
  EXPECT_FALSE(reader.AtEnd());
  reader.Next(line);
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_FALSE(reader.Next(line));
}

}  // namespace
}  // namespace hextant
