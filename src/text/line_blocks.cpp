#include "text/line_blocks.h"

#include <algorithm>
#include <cstring>

#include "base/prefault.h"

namespace hextant {
namespace {

// The length of data[0, size) up to and including its last line end that surely ends a line
// there, or 0 when it has none.
std::size_t CutAfterLastLine(const char* data, std::size_t size) noexcept {
  for (std::size_t i = size; i > 0; --i) {
    const char c = data[i - 1];
    // A CR with a byte after it: that byte was seen first here and is no LF.
    if (c == '\n' || (c == '\r' && i < size)) {
      return i;
    }
  }
  return 0;
}

}  // namespace

LineBlocks::LineBlocks(std::istream& source, std::size_t blockSize, std::string_view before)
    : source_(source),
      blockSize_(std::max<std::size_t>(blockSize, 1)),
      held_(before.begin(), before.end()) {}

std::size_t LineBlocks::TakeHeld(char* to, std::size_t room) noexcept {
  const std::size_t taken = std::min(room, held_.size() - heldAt_);
  std::memcpy(to, held_.data() + heldAt_, taken);
  heldAt_ += taken;
  return taken;
}

std::size_t LineBlocks::ReadSource(char* to, std::size_t room) {
  if (sourceDone_ || room == 0) {
    return 0;
  }
  source_.read(to, static_cast<std::streamsize>(room));
  const auto got = static_cast<std::size_t>(std::max<std::streamsize>(source_.gcount(), 0));
  sourceDone_ = got < room;
  return got;
}

LineBlocks::Cut LineBlocks::Next(Block& block) {
  if (block.capacity < blockSize_) {
    block.data = MakeLargeBytes(blockSize_);  // no fill: every byte handed out is read first
    block.capacity = blockSize_;
    PrefaultForWriting(block.data.get(), blockSize_);
  }
  block.size = TakeHeld(block.data.get(), blockSize_);
  const bool fromSource = block.size < blockSize_;  // every held byte is in the block
  if (fromSource) {
    block.size += ReadSource(block.data.get() + block.size, blockSize_ - block.size);
  }
  if (block.size == 0) {
    return Cut::End;
  }
  if (fromSource && block.size < blockSize_) {
    return Cut::Last;  // the stream had no more bytes than these
  }
  const std::size_t cut = CutAfterLastLine(block.data.get(), block.size);
  if (cut == 0) {
    return Cut::LongLine;
  }
  const std::size_t rest = block.size - cut;
  if (fromSource) {
    held_.assign(block.data.get() + cut, block.data.get() + block.size);
    heldAt_ = 0;
  } else {
    heldAt_ -= rest;  // the rest is the end of what was taken from the held bytes
  }
  if (heldAt_ == held_.size()) {
    held_.clear();
    heldAt_ = 0;
  }
  block.size = cut;
  return Cut::Lines;
}

}  // namespace hextant
