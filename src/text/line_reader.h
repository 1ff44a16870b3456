#pragma once

#include <cstdint>
#include <cstring>
#include <istream>
#include <memory>
#include <string>
#include <string_view>

namespace hextant {

/// Position of the first `c` in data[from, to), or `to` when there is none.
inline std::size_t FindByte(const char* data, std::size_t from, std::size_t to, char c) noexcept {
  const void* found = from < to ? std::memchr(data + from, c, to - from) : nullptr;
  return found == nullptr ? to : static_cast<std::size_t>(static_cast<const char*>(found) - data);
}

/// Reads 8-bit text lines from a stream through one large buffer and hands them out as views
/// into it, so that reading a line allocates nothing. A line ends at LF, CR LF or CR; the line end
/// is not part of the line. Lines longer than the limit are cut to it (the rest of the line is
/// skipped), so no input makes the reader hold more than the limit plus one read chunk. A UTF-8
/// byte-order mark at the start of a file is skipped: it is no part of the first line, though it
/// counts among the bytes consumed.
class LineReader {
 public:
  static constexpr std::size_t kDefaultLineLimit = 1 << 20;
  /// Bytes asked of the stream at a time, at most; the first request asks for kFirstRead and
  /// each further one for twice the last, so that a preview of a few lines reads little.
  static constexpr std::size_t kChunkSize = 1 << 20;
  static constexpr std::size_t kFirstRead = 1 << 16;

  /// `atFileStart` is false for a stream that stands inside a file, where a byte-order mark is no
  /// mark but text.
  explicit LineReader(std::istream& source, std::size_t lineLimit = kDefaultLineLimit,
                      bool atFileStart = true);

  /// Points `line` at the next line; false when the stream has no more bytes. The view stays
  /// valid until the next call of Next or AtEnd.
  bool Next(std::string_view& line);
  /// The same, copying the line into `line`.
  bool Next(std::string& line);
  /// True when every byte of the stream has been consumed; ends the validity of the last view.
  bool AtEnd();
  /// Number of bytes consumed so far (lines and their line ends).
  std::uint64_t Consumed() const noexcept { return consumed_; }
  /// Number of lines handed out so far.
  std::uint64_t LinesRead() const noexcept { return lines_; }
  /// The bytes taken from the stream but not handed out yet, so that another reader can go on
  /// where this one stands; valid until the next call of Next or AtEnd. False, with no bytes,
  /// while the rest of a line cut at the limit is still to be skipped.
  bool Unread(std::string_view& bytes) const noexcept {
    bytes =
        skipping_ ? std::string_view() : std::string_view(buffer_.get() + begin_, end_ - begin_);
    return !skipping_;
  }

 private:
  bool Refill();
  void SkipRestOfLongLine();
  const char* NextLineEnd() noexcept;
  void Take(std::size_t bytes) noexcept {
    begin_ += bytes;
    consumed_ += bytes;
  }

  std::istream& source_;
  std::size_t lineLimit_;
  std::size_t capacity_;
  std::size_t nextRead_ = kFirstRead;
  std::unique_ptr<char[]> buffer_;
  std::size_t begin_ = 0;  // unread bytes are begin_..end_
  std::size_t end_ = 0;
  std::size_t nextLf_ = 0;  // the next LF (CR) at or after begin_, or end_ when there is none
  std::size_t nextCr_ = 0;
  bool lfKnown_ = false;  // nextLf_ (nextCr_) was searched for since the last refill
  bool crKnown_ = false;
  bool sourceDone_ = false;
  bool skipping_ = false;  // the rest of a line cut at the limit is still to be skipped
  bool markPossible_;      // no byte was read yet from a stream that starts a file
  std::uint64_t consumed_ = 0;
  std::uint64_t lines_ = 0;
};

}  // namespace hextant
