#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

namespace hextant {

/// Reads 8-bit text lines from a stream through a large buffer. A line ends at LF, CR LF or CR;
/// the line end is not part of the line. Lines longer than the limit are cut to it (the rest of
/// the line is skipped), so no input makes the reader hold more than the limit.
class LineReader {
 public:
  static constexpr std::size_t kDefaultLineLimit = 1 << 20;

  explicit LineReader(std::istream& source, std::size_t lineLimit = kDefaultLineLimit);

  /// Reads the next line into `line`; false when the stream has no more bytes.
  bool Next(std::string& line);
  /// True when every byte of the stream has been consumed.
  bool AtEnd();
  /// Number of bytes consumed so far (lines and their line ends).
  std::uint64_t Consumed() const noexcept { return consumed_; }

 private:
  bool Fill();
  int Peek();

  std::istream& source_;
  std::size_t lineLimit_;
  std::vector<char> buffer_;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  std::uint64_t consumed_ = 0;
};

}  // namespace hextant
