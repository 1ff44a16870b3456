#pragma once

#include <cstddef>
#include <istream>
#include <memory>
#include <string_view>
#include <vector>

#include "base/large_buffer.h"

namespace hextant {

/// Cuts a stream into blocks of whole lines, so that the lines of each block can be found and
/// read apart from the others. A block ends just after the last line end among its bytes whose
/// line is known to end there: an LF, or a CR whose next byte is already read and is not an LF
/// (a CR as the last byte read may be the first half of CR LF). The bytes after that wait for
/// the next block. The last block of the stream holds whatever is left, line end or not.
class LineBlocks {
 public:
  /// A block: `size` bytes at `data`, in room for `capacity`.
  struct Block {
    LargeBytes data;
    std::size_t capacity = 0;
    std::size_t size = 0;
    std::string_view View() const noexcept { return {data.get(), size}; }
  };
  /// What Next handed out.
  enum class Cut {
    Lines,     // the block holds whole lines
    Last,      // the block holds the rest of the stream
    LongLine,  // a full block without a line end that can be cut at: one line fills it
    End,       // nothing was left
  };

  /// Blocks of at most `blockSize` bytes; `before` are bytes already taken from the stream,
  /// which come first.
  LineBlocks(std::istream& source, std::size_t blockSize, std::string_view before);

  /// Fills `block` with the next bytes; the block keeps its room from one call to the next.
  Cut Next(Block& block);
  /// The bytes read beyond the last block handed out; valid until the next call of Next.
  std::string_view Held() const noexcept {
    return {held_.data() + heldAt_, held_.size() - heldAt_};
  }

 private:
  std::size_t TakeHeld(char* to, std::size_t room) noexcept;
  std::size_t ReadSource(char* to, std::size_t room);

  std::istream& source_;
  std::size_t blockSize_;
  std::vector<char> held_;
  std::size_t heldAt_ = 0;  // held bytes still to hand out are held_[heldAt_, size)
  bool sourceDone_ = false;
};

}  // namespace hextant
