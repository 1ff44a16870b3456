#include "text/line_reader.h"

#include <algorithm>

namespace hextant {
namespace {
constexpr std::size_t kBufferSize = 1 << 16;
}

LineReader::LineReader(std::istream& source, std::size_t lineLimit)
    : source_(source), lineLimit_(lineLimit), buffer_(kBufferSize) {}

bool LineReader::Fill() {
  if (begin_ < end_) {
    return true;
  }
  source_.read(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
  begin_ = 0;
  end_ = static_cast<std::size_t>(source_.gcount());
  return end_ > 0;
}

int LineReader::Peek() {
  return Fill() ? static_cast<unsigned char>(buffer_[begin_]) : -1;
}

bool LineReader::AtEnd() {
  return !Fill();
}

bool LineReader::Next(std::string& line) {
  line.clear();
  if (!Fill()) {
    return false;
  }
  for (;;) {
    const char* start = buffer_.data() + begin_;
    const char* stop = buffer_.data() + end_;
    const char* lineEnd = std::find_if(start, stop, [](char c) { return c == '\n' || c == '\r'; });
    const auto length = static_cast<std::size_t>(lineEnd - start);
    if (line.size() < lineLimit_) {
      line.append(start, std::min(length, lineLimit_ - line.size()));
    }
    begin_ += length;
    consumed_ += length;
    if (lineEnd != stop) {
      const bool carriageReturn = *lineEnd == '\r';
      ++begin_;
      ++consumed_;
      if (carriageReturn && Peek() == '\n') {
        ++begin_;
        ++consumed_;
      }
      return true;
    }
    if (!Fill()) {
      return true;  // the last line has no line end
    }
  }
}

}  // namespace hextant
