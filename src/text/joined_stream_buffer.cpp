#include "text/joined_stream_buffer.h"

#include <utility>

namespace hextant {
namespace {

constexpr std::streamsize kRestBufferSize = 1 << 20;

}  // namespace

JoinedStreamBuffer::JoinedStreamBuffer(std::vector<std::string_view> pieces, std::streambuf* rest)
    : pieces_(std::move(pieces)), rest_(rest) {}

JoinedStreamBuffer::int_type JoinedStreamBuffer::underflow() {
  if (gptr() < egptr()) {
    return traits_type::to_int_type(*gptr());
  }
  while (next_ < pieces_.size()) {
    // The bytes are only read through the get area, never written.
    char* first = const_cast<char*>(pieces_[next_].data());
    const std::size_t size = pieces_[next_++].size();
    if (size > 0) {
      setg(first, first, first + size);
      return traits_type::to_int_type(*first);
    }
  }
  if (rest_ == nullptr) {
    return traits_type::eof();
  }
  if (!buffer_) {
    buffer_.reset(new char[static_cast<std::size_t>(kRestBufferSize)]);
  }
  const std::streamsize got = rest_->sgetn(buffer_.get(), kRestBufferSize);
  if (got <= 0) {
    setg(buffer_.get(), buffer_.get(), buffer_.get());
    return traits_type::eof();
  }
  setg(buffer_.get(), buffer_.get(), buffer_.get() + got);
  return traits_type::to_int_type(*gptr());
}

}  // namespace hextant
