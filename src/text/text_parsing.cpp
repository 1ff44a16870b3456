#include "text/text_parsing.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

#include "base/rounding.h"

namespace hextant {
namespace {

bool IsBlank(char c) noexcept {
  return c == ' ' || c == '\t' || c == '\n';
}
bool IsDigit(char c) noexcept {
  return c >= '0' && c <= '9';
}

// Hands out the characters of a text the way the number parsers see them: blanks skipped, and
// commas as points when the comma is a decimal mark.
class NumberCursor {
 public:
  NumberCursor(std::string_view text, DecimalMark mark) noexcept
      : text_(text), commaIsPoint_(mark == DecimalMark::PointOrComma) {
    SkipBlanks();
  }

  bool AtEnd() const noexcept { return at_ >= text_.size(); }
  char Peek() const noexcept {
    if (AtEnd()) {
      return '\0';
    }
    return text_[at_] == ',' && commaIsPoint_ ? '.' : text_[at_];
  }
  void Next() noexcept {
    ++at_;
    SkipBlanks();
  }
  std::size_t Position() const noexcept { return at_; }

 private:
  void SkipBlanks() noexcept {
    while (at_ < text_.size() && IsBlank(text_[at_])) {
      ++at_;
    }
  }

  std::string_view text_;
  bool commaIsPoint_;
  std::size_t at_ = 0;
};

// "&H" / "&O" whole numbers; the cursor stands after the letter.
double ReadRadixNumber(NumberCursor& cursor, int radix, bool& digitSeen) noexcept {
  double value = 0.0;
  for (; !cursor.AtEnd(); cursor.Next()) {
    const char c = cursor.Peek();
    int digit = -1;
    if (IsDigit(c)) {
      digit = c - '0';
    } else if (c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else if (c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    }
    if (digit < 0 || digit >= radix) {
      break;
    }
    digitSeen = true;
    value = value * radix + digit;
  }
  return value;
}

// The digits of a decimal number, gathered without blanks into a fixed buffer that from_chars
// reads. Digits past the buffer's room only scale the value (integer part) or are dropped
// (fraction), which keeps far more precision than a double holds.
class DecimalDigits {
 public:
  void Integer(char c) noexcept {
    digitSeen_ = true;
    if (c == '0' && significant_ == 0) {
      return;  // leading zeros carry nothing
    }
    if (Push(c)) {
      ++significant_;
    } else {
      ++droppedIntegerDigits_;
    }
  }
  void Fraction(char c) noexcept {
    digitSeen_ = true;
    if (!pointPushed_ && Push('.')) {
      pointPushed_ = true;
    }
    if (pointPushed_) {
      Push(c);
    }
  }
  void Exponent(bool negative, long value) noexcept { exponent_ = negative ? -value : value; }
  bool DigitSeen() const noexcept { return digitSeen_; }

  double Value() const noexcept {
    char text[kRoom + 32];
    std::copy(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(used_), text);
    std::size_t size = used_;
    if (size == 0 || (size == 1 && pointPushed_)) {
      return 0.0;
    }
    const long exponent = exponent_ + droppedIntegerDigits_;
    if (exponent != 0) {
      text[size++] = 'e';
      size = static_cast<std::size_t>(std::to_chars(text + size, text + sizeof text, exponent).ptr -
                                      text);
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(text, text + size, value);
    if (error == std::errc::result_out_of_range) {
      return exponent + significant_ > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return value;
  }

 private:
  static constexpr std::size_t kRoom = 200;

  bool Push(char c) noexcept {
    if (used_ == kRoom) {
      return false;
    }
    buffer_[used_++] = c;
    return true;
  }

  std::array<char, kRoom> buffer_{};
  std::size_t used_ = 0;
  long significant_ = 0;
  long droppedIntegerDigits_ = 0;
  long exponent_ = 0;
  bool pointPushed_ = false;
  bool digitSeen_ = false;
};

long ReadExponentDigits(NumberCursor& cursor) noexcept {
  long value = 0;
  for (; IsDigit(cursor.Peek()); cursor.Next()) {
    value = std::min(value * 10 + (cursor.Peek() - '0'), 100000L);  // far past any double
  }
  return value;
}

bool IsExponentLetter(char c) noexcept {
  return c == 'E' || c == 'e' || c == 'D' || c == 'd';
}

double ReadDecimalNumber(NumberCursor& cursor, bool& digitSeen) noexcept {
  DecimalDigits digits;
  for (; IsDigit(cursor.Peek()); cursor.Next()) {
    digits.Integer(cursor.Peek());
  }
  if (cursor.Peek() == '.') {
    for (cursor.Next(); IsDigit(cursor.Peek()); cursor.Next()) {
      digits.Fraction(cursor.Peek());
    }
  }
  if (IsExponentLetter(cursor.Peek())) {
    cursor.Next();
    bool negative = false;
    if (cursor.Peek() == '+' || cursor.Peek() == '-') {
      negative = cursor.Peek() == '-';
      cursor.Next();
    }
    digits.Exponent(negative, ReadExponentDigits(cursor));
  }
  digitSeen = digits.DigitSeen();
  return digits.Value();
}

void ClearFields(std::vector<LineField>& fields) {
  fields.clear();
  fields.emplace_back();  // element 0, never a field
}

void SplitByWidths(std::string_view line, std::string_view widths, std::int16_t& maxFields,
                   std::vector<LineField>& fields) {
  const auto items = static_cast<std::size_t>(std::count(widths.begin(), widths.end(), ',')) + 1;
  fields.resize(items + 1);
  const auto length = static_cast<std::int32_t>(line.size());
  std::int32_t pos = 1;
  std::size_t index = 1;
  for (std::size_t begin = 0; begin <= widths.size() && pos <= length; ++index) {
    const std::size_t comma = std::min(widths.find(',', begin), widths.size());
    const double rounded = RoundHalfEven(ParseDecimal(widths.substr(begin, comma - begin)));
    const auto width = static_cast<std::int32_t>(std::clamp(rounded, 0.0, 32767.0));
    const auto taken = std::min(width, length - pos + 1);
    fields[index] =
        LineField{line.substr(static_cast<std::size_t>(pos - 1), static_cast<std::size_t>(taken)),
                  pos, pos + width};
    pos += width;
    begin = comma + 1;
  }
  maxFields = static_cast<std::int16_t>(
      std::min<std::size_t>(static_cast<std::size_t>(std::max<std::int16_t>(maxFields, 0)), items));
}

void SplitByDelimiter(std::string_view line, std::string_view delimiter, std::int16_t& maxFields,
                      std::vector<LineField>& fields, bool mergeDelimiters) {
  const std::size_t end = line.size() + 1;  // 1-based position just past the line
  std::int32_t count = 0;
  for (std::size_t start = 1;;) {
    // A delimiter of one character is searched for as a character: no compare per candidate.
    const std::size_t found = delimiter.size() == 1 ? line.find(delimiter[0], start - 1)
                                                    : line.find(delimiter, start - 1);
    const std::size_t p = found == std::string_view::npos ? end : found + 1;
    if (p > start || !mergeDelimiters) {
      fields.push_back(LineField{line.substr(start - 1, p - start),
                                 static_cast<std::int32_t>(start), static_cast<std::int32_t>(p)});
      ++count;
    }
    // Fields past maxFields + 1 can never be used, so the search may stop.
    if (p == end || count > maxFields) {
      break;
    }
    start = p + 1;
  }
  maxFields = static_cast<std::int16_t>(std::min<std::int32_t>(maxFields, count));
}

// The rules of ReadDecimal character by character, for text that is not a plain number.
double ReadSpecialNumber(std::string_view text, DecimalMark mark, bool& digitSeen,
                         std::size_t& used) noexcept {
  NumberCursor cursor(text, mark);
  double value = 0.0;
  if (cursor.Peek() == '&') {
    cursor.Next();
    const char letter = cursor.Peek();
    if (letter == 'H' || letter == 'h' || letter == 'O' || letter == 'o') {
      cursor.Next();
      value = ReadRadixNumber(cursor, letter == 'H' || letter == 'h' ? 16 : 8, digitSeen);
    }
  } else {
    bool negative = false;
    if (cursor.Peek() == '+' || cursor.Peek() == '-') {
      negative = cursor.Peek() == '-';
      cursor.Next();
    }
    value = ReadDecimalNumber(cursor, digitSeen);
    value = negative ? -value : value;
  }
  used = std::min(cursor.Position(), text.size());
  return digitSeen ? value : 0.0;
}

// A plain number is an optional minus, then digits or a point, and nothing from_chars reads
// differently from ReadSpecialNumber: no blanks, commas, plus signs or D exponents, and not so
// many digits that ReadSpecialNumber would drop some.
constexpr std::size_t kLongestPlainNumber = 100;

// Where the plain number at `first` ends, or nullptr when the text there starts no plain number
// or its number is out of range or longer than kLongestPlainNumber.
const char* PlainNumberEnd(const char* first, const char* last, double& value) noexcept {
  const char* start = first != last && *first == '-' ? first + 1 : first;
  if (start == last || !(IsDigit(*start) || *start == '.')) {
    return nullptr;
  }
  const auto [end, error] = std::from_chars(first, last, value);
  const bool kept =
      error == std::errc() && end - first <= static_cast<std::ptrdiff_t>(kLongestPlainNumber);
  return kept ? end : nullptr;
}

bool ReadPlainNumber(const char* first, const char* last, double& value) noexcept {
  return last - first <= static_cast<std::ptrdiff_t>(kLongestPlainNumber) &&
         PlainNumberEnd(first, last, value) == last;
}

// Whether from_chars may read `c` as part of a number, so that a number can not be told to end
// at it.
bool MayBeInNumber(char c) noexcept {
  return IsDigit(c) || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E';
}

// A plain number at `first` that ends at `last` or at `delimiter`, which no number holds: where
// it ends, or nullptr when the field at `first` is something else.
const char* PlainNumberField(const char* first, const char* last, char delimiter,
                             double& value) noexcept {
  const char* end = PlainNumberEnd(first, last, value);
  return end != nullptr && (end == last || *end == delimiter) ? end : nullptr;
}

}  // namespace

std::from_chars_result ReadDecimal(const char* first, const char* last, double& value,
                                   DecimalMark mark) noexcept {
  if (ReadPlainNumber(first, last, value)) {
    return {last, std::errc()};
  }
  bool digitSeen = false;
  std::size_t used = 0;
  value = ReadSpecialNumber(std::string_view(first, static_cast<std::size_t>(last - first)), mark,
                            digitSeen, used);
  return {first + used, digitSeen ? std::errc() : std::errc::invalid_argument};
}

double ParseDecimal(std::string_view text, DecimalMark mark) noexcept {
  double value = 0.0;
  ReadDecimal(text.data(), text.data() + text.size(), value, mark);
  return value;
}

std::from_chars_result ReadAfterLetters(const char* first, const char* last,
                                        double& value) noexcept {
  const char* start = first;
  while (start != last && static_cast<unsigned char>(*start) >= 65) {
    ++start;
  }
  return ReadDecimal(start, last, value);
}

double ParseAfterLetters(std::string_view text) noexcept {
  double value = 0.0;
  ReadAfterLetters(text.data(), text.data() + text.size(), value);
  return value;
}

std::string FormatWithPoint(double value, std::string_view pattern) {
  const std::size_t point = pattern.find('.');
  const std::size_t integerDigits =
      std::max<std::size_t>(1, point == std::string_view::npos ? pattern.size() : point);
  // Thirty decimals are far past a double's precision and keep the text within the buffer.
  const int decimals =
      point == std::string_view::npos
          ? 0
          : static_cast<int>(std::min<std::size_t>(pattern.size() - point - 1, 30));
  char text[400];
  const auto result =
      std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
  std::string formatted(text, result.ptr);
  const bool negative = !formatted.empty() && formatted.front() == '-';
  const std::size_t digitsStart = negative ? 1 : 0;
  const std::size_t dot = std::min(formatted.find('.'), formatted.size());
  if (dot - digitsStart < integerDigits) {
    formatted.insert(digitsStart, integerDigits - (dot - digitsStart), '0');
  }
  return formatted;
}

std::string NumberText(double value) {
  char text[32];
  const auto result =
      std::to_chars(text, text + sizeof text, value, std::chars_format::general, 10);
  return std::string(text, result.ptr);
}

std::string_view TrimBlanks(std::string_view text) noexcept {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) {
    return {};
  }
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string UpperCase(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') {
      c = static_cast<char>(c - 'a' + 'A');
    }
  }
  return upper;
}

bool IsNumericText(std::string_view text) noexcept {
  bool digitSeen = false;
  const std::string_view trimmed = TrimBlanks(text);
  if (trimmed.empty()) {
    return true;
  }
  for (const char c : trimmed) {
    if (IsDigit(c)) {
      digitSeen = true;
    } else if (c != '+' && c != ',' && c != '-' && c != '.') {
      return false;
    }
  }
  return digitSeen;
}

bool SplitLine(std::string_view line, std::string_view delimiter, std::int16_t& maxFields,
               std::vector<LineField>& fields, bool mergeDelimiters) {
  ClearFields(fields);
  if (line.size() > MaxLineLength) {
    maxFields = 0;
    return false;
  }
  if (delimiter.size() >= 4) {
    SplitByWidths(line, delimiter, maxFields, fields);
  } else {
    SplitByDelimiter(line, delimiter, maxFields, fields, mergeDelimiters);
  }
  return true;
}

// The byte loop beats a memchr call per field on the short fields of number columns, and a
// number read straight from the line needs no loop at all.
bool SplitFirstFields(std::string_view line, char delimiter, bool mergeDelimiters,
                      std::int16_t count, std::string_view* fields,
                      const FieldNumbers* numbers) noexcept {
  if (line.size() > MaxLineLength) {
    return false;
  }
  if (numbers != nullptr && MayBeInNumber(delimiter)) {
    std::fill(numbers->Read, numbers->Read + count + 1, false);
    numbers = nullptr;
  }
  const char* at = line.data();
  const char* const end = at + line.size();
  std::int16_t found = 0;
  for (;;) {
    const char* stop = nullptr;
    const auto next = static_cast<std::size_t>(found + 1);
    if (numbers != nullptr) {
      numbers->Read[next] = numbers->Wanted[next] &&
                            (stop = PlainNumberField(at, end, delimiter, numbers->Values[next]));
    }
    if (stop == nullptr) {
      stop = at;
      while (stop != end && *stop != delimiter) {
        ++stop;
      }
    }
    if (stop != at || !mergeDelimiters) {
      fields[++found] = std::string_view(at, static_cast<std::size_t>(stop - at));
      if (found == count) {
        return true;
      }
    }
    if (stop == end) {
      return false;
    }
    at = stop + 1;
  }
}

// Each number must end at the delimiter or at the line's end, where SplitFirstFields ends its
// field; with merged delimiters a run of them counts as one, and leading ones start no field.
bool ReadPlainFields(std::string_view line, char delimiter, bool mergeDelimiters,
                     std::int16_t count, double* values) noexcept {
  if (line.size() > MaxLineLength || MayBeInNumber(delimiter)) {
    return false;
  }
  const char* at = line.data();
  const char* const end = at + line.size();
  for (std::int16_t field = 1;; ++field) {
    if (mergeDelimiters) {
      while (at != end && *at == delimiter) {
        ++at;
      }
    }
    at = PlainNumberField(at, end, delimiter, values[field]);
    if (at == nullptr) {
      return false;
    }
    if (field == count) {
      return true;
    }
    if (at == end) {
      return false;
    }
    ++at;
  }
}

}  // namespace hextant
