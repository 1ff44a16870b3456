#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "base/angles.h"
#include "text/text_parsing.h"

namespace hextant {
namespace {

TEST(ParseDecimal, ReadsTheLeadingNumber) {
  const std::pair<const char*, double> cases[] = {
      {"12,5", 12.5},        {"12.5", 12.5},
      {"1,234.5", 1.234},    {" 4 5 ", 45.0},
      {"45N", 45.0},         {"N45", 0.0},
      {"-3e2", -300.0},      {"1.5D1", 15.0},
      {"2.5d-1", 0.25},      {"", 0.0},
      {"abc", 0.0},          {"+7", 7.0},
      {"1e3", 1000.0},       {"1e", 1.0},
      {"1e+", 1.0},          {"-.5", -0.5},
      {"5.", 5.0},           {"1.5.3", 1.5},
      {"\t-\n1 2,7", -12.7}, {"+-5", 0.0},
      {"&HFF", 255.0},       {"&hff", 255.0},
      {"& H 1F", 31.0},      {"&O17", 15.0},
      {"&O19", 1.0},         {"&X1", 0.0},
      {"007.250", 7.25},     {"0.000123", 0.000123},
      {"1e400", INFINITY},   {"-1e400", -INFINITY},
      {"1e-400", 0.0},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(ParseDecimal(text), expected) << "'" << text << "'";
  }
}

TEST(ParseDecimal, KeepsFullPrecisionOfLongDigitStrings) {
  EXPECT_EQ(ParseDecimal("0.1000000000000000055511151231257827"), 0.1);
  EXPECT_EQ(ParseDecimal(std::string(300, '9')), 1e300);
  EXPECT_EQ(ParseDecimal("1" + std::string(250, '0')), 1e250);
  EXPECT_EQ(ParseDecimal("3." + std::string(250, '3')), 3.3333333333333335);
}

TEST(ParseAfterLetters, DropsLeadingLettersOnly) {
  const std::pair<const char*, double> cases[] = {
      {"N45", 45.0},
      {"W003", 3.0},
      {"S12,5", 12.5},
      {"45N", 45.0},
      {"E", 0.0},
      {" N45", 0.0},
      {"N", 0.0},
      {"W12", 12.0},
      {"12W", 12.0},
      {"~_[12", 12.0},
      {"\xBA"
       "5",
       5.0},
      {"N-4", -4.0},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(ParseAfterLetters(text), expected) << "'" << text << "'";
  }
}

TEST(FormatWithPoint, WritesFourDecimalsWithAPoint) {
  const std::pair<double, const char*> cases[] = {
      {9999.0, "9999.0000"},       {0.5, "0.5000"}, {-2.25, "-2.2500"}, {39.12345678, "39.1235"},
      {1234567.0, "1234567.0000"},
  };
  for (const auto& [value, expected] : cases) {
    EXPECT_EQ(FormatWithPoint(value, "0.0000"), expected) << value;
  }
  EXPECT_EQ(FormatWithPoint(3.7, "00"), "04");
}

TEST(IsNumericText, AcceptsDigitsWithSignsAndSeparators) {
  const std::pair<const char*, bool> cases[] = {
      {"", true},    {"   ", true}, {"-0.5", true}, {"1,5", true},  {" 12 ", true}, {"1-2,3", true},
      {"1a", false}, {"-", false},  {".", false},   {"1 2", false}, {"\t1", false}, {"1e3", false},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(IsNumericText(text), expected) << "'" << text << "'";
  }
}

struct SplitCase {
  const char* line;
  const char* delimiter;
  bool merge;
  std::vector<std::string> expected;
};

std::vector<std::string> Split(std::string_view line, std::string_view delimiter, bool merge,
                               std::int16_t maxFields = 100) {
  std::vector<LineField> fields{{"stale", 9, 9}};
  EXPECT_TRUE(SplitLine(line, delimiter, maxFields, fields, merge));
  EXPECT_EQ(fields.at(0).Text, "");
  EXPECT_EQ(fields.at(0).Start, 0);
  std::vector<std::string> texts;
  for (std::int16_t i = 1; i <= maxFields; ++i) {
    texts.emplace_back(fields.at(static_cast<std::size_t>(i)).Text);
  }
  return texts;
}

TEST(SplitLine, CutsAtDelimiters) {
  const SplitCase cases[] = {
      {"a,b,c", ",", false, {"a", "b", "c"}},
      {"a,,c", ",", false, {"a", "", "c"}},
      {"a,,c", ",", true, {"a", "c"}},
      {",a", ",", false, {"", "a"}},
      {"a,", ",", false, {"a", ""}},
      {",a", ",", true, {"a"}},
      {"a,", ",", true, {"a"}},
      {"", ",", false, {""}},
      {"", ",", true, {}},
      {"  1  2", " ", true, {"1", "2"}},
      {"  1  2", " ", false, {"", "", "1", "", "2"}},
      {"ab", "", false, {"", "", ""}},
      {"ab", "", true, {}},
      {"x4,3y", "4,3", false, {"x", ",3y"}},
      {"1;;2", ";;", false, {"1", ";2"}},  // the search resumes one past a match's start
      {"a\tb", "\t", false, {"a", "b"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Split(c.line, c.delimiter, c.merge), c.expected)
        << "'" << c.line << "' by '" << c.delimiter << "' merge " << c.merge;
  }
}

// The reading threads' splitter must find the first fields exactly as SplitLine does.
TEST(SplitFirstFields, FindsTheFieldsSplitLineFinds) {
  const char* const lines[] = {"a,b,c", "a,,c", ",a,b,c", "a,b,c,",      ",,a,,b,,c,,", "",
                               ",",     "abc",  "1,2",    "1,2,3,4,5,6", "  1 2  3 "};
  for (const char* line : lines) {
    for (const char delimiter : {',', ' '}) {
      for (const bool merge : {false, true}) {
        const std::vector<std::string> all = Split(line, std::string(1, delimiter), merge);
        for (std::int16_t count = 1; count <= 4; ++count) {
          std::array<std::string_view, 5> fields{};
          const bool found = SplitFirstFields(line, delimiter, merge, count, fields.data());
          const auto expected = static_cast<std::int16_t>(all.size()) >= count;
          ASSERT_EQ(found, expected) << "'" << line << "' count " << count << " merge " << merge;
          for (std::int16_t i = 1; found && i <= count; ++i) {
            EXPECT_EQ(fields[static_cast<std::size_t>(i)], all[static_cast<std::size_t>(i - 1)])
                << "'" << line << "' field " << i << " merge " << merge;
          }
        }
      }
    }
  }
  std::array<std::string_view, 4> fields{};
  EXPECT_TRUE(SplitFirstFields(std::string(32767, ','), ',', false, 3, fields.data()));
  EXPECT_FALSE(SplitFirstFields(std::string(32768, ','), ',', false, 3, fields.data()))
      << "longer than the longest line split";
}

// A field read as a number while splitting must read as ReadDecimal reads it; anything from_chars
// alone would read differently is left to ReadDecimal.
TEST(SplitFirstFields, ReadsPlainNumbersAsReadDecimalDoes) {
  const std::pair<std::string, bool> cases[] = {{"12.5", true},
                                                {"-0.5", true},
                                                {".5", true},
                                                {"5.", true},
                                                {"1e5", true},
                                                {"+5", false},
                                                {"1,5", false},
                                                {"1e", false},
                                                {"1e999", false},
                                                {"nan", false},
                                                {"inf", false},
                                                {"0x10", false},
                                                {"1D3", false},
                                                {"&H10", false},
                                                {"-", false},
                                                {"5-", false},
                                                {"", false},
                                                {"1 ", false},
                                                {std::string(100, '7'), true},
                                                {std::string(101, '7'), false}};
  for (const auto& [text, plain] : cases) {
    for (const char delimiter : {';', 'e'}) {
      if (text.find(delimiter) != std::string::npos) {
        continue;
      }
      const std::string line = "x" + std::string(1, delimiter) + text;
      std::array<std::string_view, 3> fields{};
      std::array<bool, 3> wanted{false, true, true}, read{true, true, true};
      std::array<double, 3> values{};
      const FieldNumbers numbers{wanted.data(), read.data(), values.data()};
      ASSERT_TRUE(SplitFirstFields(line, delimiter, false, 2, fields.data(), &numbers));
      EXPECT_EQ(fields[2], text) << line;
      EXPECT_FALSE(read[1]) << "'x' is no number";
      // A delimiter a number may hold leaves every field to ReadDecimal.
      EXPECT_EQ(read[2], plain && delimiter == ';') << line;
      if (read[2]) {
        EXPECT_EQ(values[2], ParseDecimal(text)) << line;
      }
    }
  }
}

// The fast way through a line of plain numbers must take exactly the lines whose first fields
// SplitFirstFields reads as numbers, with the same values, and leave every other line to it.
TEST(ReadPlainFields, TakesTheLinesSplitFirstFieldsReadsAsNumbers) {
  const char* const lines[] = {"1 2 3",   "  1  2 3 ", "-1.5 .5 2e3 x", "1  2 3", "1 2",
                               "1 +2 3",  "1 2 3x",    "1,5 2 3",       "",       " ",
                               "1 2 3 4", "1;2;;3",    ";1;2;3;"};
  for (const char* text : lines) {
    for (const char delimiter : {' ', ';', 'e'}) {
      std::string line = text;
      std::replace(line.begin(), line.end(), ' ', delimiter);
      for (const bool merge : {false, true}) {
        for (std::int16_t count = 1; count <= 3; ++count) {
          std::array<std::string_view, 4> fields{};
          std::array<bool, 4> wanted{false, true, true, true}, read{};
          std::array<double, 4> split{}, plain{};
          const FieldNumbers numbers{wanted.data(), read.data(), split.data()};
          const bool allRead =
              SplitFirstFields(line, delimiter, merge, count, fields.data(), &numbers) &&
              std::all_of(read.begin() + 1, read.begin() + count + 1, [](bool r) { return r; });
          const std::string what =
              "'" + line + "' count " + std::to_string(count) + " merge " + std::to_string(merge);
          ASSERT_EQ(ReadPlainFields(line, delimiter, merge, count, plain.data()), allRead) << what;
          for (std::int16_t i = 1; allRead && i <= count; ++i) {
            EXPECT_EQ(plain[static_cast<std::size_t>(i)], split[static_cast<std::size_t>(i)])
                << what;
          }
        }
      }
    }
  }
}

TEST(SplitLine, CutsAtColumnWidths) {
  const SplitCase cases[] = {
      {"ABCDEFGHIJ", "4,3,2", false, {"ABCD", "EFG", "HI"}},
      {"ABCDE", "4,3,2", false, {"ABCD", "E", ""}},
      {"", "4,3,2", false, {"", "", ""}},
      {"ABCDEFGH", "2.5,3.5", false, {"AB", "CDEF"}},    // halves to even
      {"ABCDEFGH", "4,3,", false, {"ABCD", "EFG", ""}},  // an empty item is a width of 0
      {"ABCDEFGH", "x,, 3", false, {"", "", "ABC"}},
      {"ABCDEFGH", "-5,99999", true, {"", "ABCDEFGH"}},  // clipped to 0..32767
      {"  12  7.5", "4,5", false, {"  12  7.5"}},        // 3 characters: a delimiter text
      {"  12  7.5", "4, 5", false, {"  12", "  7.5"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Split(c.line, c.delimiter, c.merge), c.expected)
        << "'" << c.line << "' by '" << c.delimiter << "'";
  }
}

// Field positions, the field count handed back and the longest line accepted.
TEST(SplitLine, ReportsPositionsCountsAndLimits) {
  std::vector<LineField> fields;
  std::int16_t maxFields = 100;
  SplitLine("ab;cd", ";", maxFields, fields, false);
  EXPECT_EQ(fields[2].Start, 4);
  EXPECT_EQ(fields[2].End, 6);
  EXPECT_EQ(maxFields, 2);
  maxFields = 100;
  SplitLine("ABCDE", "4,3,2", maxFields, fields, false);
  EXPECT_EQ(fields[2].Start, 5);
  EXPECT_EQ(fields[2].End, 8) << "start plus the width, past the line's end";
  EXPECT_EQ(fields[3].Start, 0);
  maxFields = 2;
  SplitLine("ABCDEFGHIJ", "4,3,2", maxFields, fields, false);
  EXPECT_EQ(maxFields, 2);
  std::string line;
  for (int i = 1; i <= 150; ++i) {
    line += std::to_string(i) + " ";
  }
  maxFields = 100;
  SplitLine(line, " ", maxFields, fields, false);
  EXPECT_EQ(maxFields, 100);
  EXPECT_EQ(fields[100].Text, "100");

  maxFields = 100;
  EXPECT_TRUE(SplitLine(std::string(32767, 'a'), ",", maxFields, fields, false));
  EXPECT_EQ(fields[1].Text.size(), 32767u);
  maxFields = 100;
  EXPECT_FALSE(SplitLine(std::string(32768, 'a'), ",", maxFields, fields, false));
  EXPECT_EQ(maxFields, 0);
  EXPECT_EQ(fields.size(), 1u);
}

TEST(PackedDmsToRadians, UnpacksDegreesMinutesSeconds) {
  const double toRadians = WindowPi / 180.0;
  const std::pair<double, double> cases[] = {
      {0.0130, 0.025 * toRadians},       {12.4530, (12.0 + 45.0 / 60 + 30.0 / 3600) * toRadians},
      {0.0055, 55.0 / 3600 * toRadians}, {0.5500, 55.0 / 60 * toRadians},
      {-0.0130, -0.025 * toRadians},     {372.0130, (12.0 + 1.0 / 60 + 30.0 / 3600) * toRadians},
  };
  for (const auto& [packed, expected] : cases) {
    EXPECT_NEAR(PackedDmsToRadians(packed), expected, 1e-15) << packed;
  }
}

}  // namespace
}  // namespace hextant
