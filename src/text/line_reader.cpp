#include "text/line_reader.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace hextant {
namespace {
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
}

LineReader::LineReader(std::istream& source, std::size_t lineLimit, bool atFileStart)
    : source_(source),
      lineLimit_(std::max<std::size_t>(lineLimit, 1)),
      capacity_(lineLimit_ + kChunkSize),
      buffer_(new char[capacity_]),
      markPossible_(atFileStart) {}

// Keeps the unread bytes, moved to the front, and appends what the stream has; false when it
// had nothing more to hand out. The first read asks for far more than a byte-order mark, so it
// holds the whole mark unless the file is shorter.
bool LineReader::Refill() {
  if (sourceDone_) {
    return false;
  }
  const std::size_t kept = end_ - begin_;
  std::memmove(buffer_.get(), buffer_.get() + begin_, kept);
  begin_ = 0;
  end_ = kept;
  lfKnown_ = crKnown_ = false;
  const std::size_t asked = std::min(capacity_ - end_, nextRead_);
  nextRead_ = std::min(2 * nextRead_, capacity_);
  source_.read(buffer_.get() + end_, static_cast<std::streamsize>(asked));
  const auto got = static_cast<std::size_t>(std::max<std::streamsize>(source_.gcount(), 0));
  end_ += got;
  sourceDone_ = got < asked;
  if (markPossible_) {
    markPossible_ = false;
    if (std::string_view(buffer_.get(), end_).starts_with(kByteOrderMark)) {
      Take(kByteOrderMark.size());
    }
  }
  return end_ - begin_ > kept;
}

// The first LF or CR among the unread bytes, or the end of them; both searches run ahead with
// memchr and are repeated only once the reader has passed what they found.
const char* LineReader::NextLineEnd() noexcept {
  if (!lfKnown_ || nextLf_ < begin_) {
    nextLf_ = FindByte(buffer_.get(), begin_, end_, '\n');
    lfKnown_ = true;
  }
  if (!crKnown_ || nextCr_ < begin_) {
    nextCr_ = FindByte(buffer_.get(), begin_, end_, '\r');
    crKnown_ = true;
  }
  return buffer_.get() + std::min(nextLf_, nextCr_);
}

void LineReader::SkipRestOfLongLine() {
  while (skipping_) {
    const char* stop = NextLineEnd();
    const char* last = buffer_.get() + end_;
    if (stop == last || (*stop == '\r' && stop + 1 == last && !sourceDone_)) {
      Take(static_cast<std::size_t>(stop - (buffer_.get() + begin_)));
      if (!Refill()) {
        skipping_ = end_ > begin_;  // a lone CR left at the end is the line end
        if (skipping_) {
          Take(1);
          skipping_ = false;
        }
      }
      continue;
    }
    const bool crLf = *stop == '\r' && stop + 1 < last && stop[1] == '\n';
    Take(static_cast<std::size_t>(stop - (buffer_.get() + begin_)) + (crLf ? 2 : 1));
    skipping_ = false;
  }
}

bool LineReader::Next(std::string_view& line) {
  SkipRestOfLongLine();
  for (;;) {
    const char* start = buffer_.get() + begin_;
    const char* last = buffer_.get() + end_;
    const char* stop = NextLineEnd();
    // A CR as the last byte read may be the first half of CR LF: decide when more is known.
    const bool ended = stop != last && (*stop == '\n' || stop + 1 != last || sourceDone_);
    const auto length = static_cast<std::size_t>(stop - start);
    if (ended) {
      const bool crLf = *stop == '\r' && stop + 1 != last && stop[1] == '\n';
      line = std::string_view(start, std::min(length, lineLimit_));
      Take(length + (crLf ? 2 : 1));
      ++lines_;
      return true;
    }
    if (length > lineLimit_) {
      line = std::string_view(start, lineLimit_);
      Take(lineLimit_);
      skipping_ = true;
      ++lines_;
      return true;
    }
    if (!Refill()) {
      if (begin_ == end_) {
        return false;
      }
      if (stop != last) {
        continue;  // the stream is done: a CR at the end is a line end after all
      }
      line = std::string_view(buffer_.get() + begin_, end_ - begin_);  // no line end at the end
      Take(end_ - begin_);
      ++lines_;
      return true;
    }
  }
}

bool LineReader::Next(std::string& line) {
  std::string_view view;
  const bool read = Next(view);
  line.assign(view);
  return read;
}

bool LineReader::AtEnd() {
  SkipRestOfLongLine();
  return begin_ == end_ && !Refill();
}

}  // namespace hextant
