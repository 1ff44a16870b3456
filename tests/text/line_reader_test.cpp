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
  // The first read fills the buffer (limit + chunk bytes) up to the CR of "xxx": whether a LF
  // follows is known only after the next read.
  std::string lines;
  for (std::size_t i = 0; i < (2 * LineReader::kChunkSize - 4) / 4; ++i) {
    lines += "abc\n";
  }
  for (const std::string end : {"\r\n", "\r"}) {
    const auto read = Lines(lines + "xxx" + end + "second\r\n", LineReader::kChunkSize);
    ASSERT_EQ(read.size(), lines.size() / 4 + 2);
    EXPECT_EQ(read[read.size() - 2], "xxx");
    EXPECT_EQ(read.back(), "second");
  }
  const auto cut = Lines(std::string(5000, 'y') + "\r\nz", 16);
  EXPECT_EQ(cut, (std::vector<std::string>{std::string(16, 'y'), "z"}));
}

TEST(LineReader, SkipsAByteOrderMarkAtTheStartOfAFileOnly) {
  using V = std::vector<std::string>;
  const std::string mark = "\xEF\xBB\xBF";
  EXPECT_EQ(Lines(mark + "1 2\n" + mark + "3\n"), (V{"1 2", mark + "3"})) << "counted as consumed";
  EXPECT_EQ(Lines(mark), V{});
  EXPECT_EQ(Lines("\xEF\xBB"), V{"\xEF\xBB"}) << "half a mark is text";
  std::istringstream inside(mark + "4\n");
  LineReader reader(inside, LineReader::kDefaultLineLimit, false);
  std::string line;
  ASSERT_TRUE(reader.Next(line));
  EXPECT_EQ(line, mark + "4") << "a stream inside a file starts with text";
  std::istringstream only(mark);
  EXPECT_TRUE(LineReader(only).AtEnd());
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
