#pragma once

#include <cstddef>
#include <memory>
#include <streambuf>
#include <string_view>
#include <vector>

namespace hextant {

/// A stream buffer that hands out some pieces of bytes held in memory, one after another, and
/// then the rest of another stream buffer: a reader that took bytes ahead from a stream can give
/// them back to whoever reads on. The pieces must outlive it.
class JoinedStreamBuffer : public std::streambuf {
 public:
  JoinedStreamBuffer(std::vector<std::string_view> pieces, std::streambuf* rest);

 protected:
  int_type underflow() override;

 private:
  std::vector<std::string_view> pieces_;
  std::size_t next_ = 0;  // the piece to hand out after the current one
  std::streambuf* rest_;
  std::unique_ptr<char[]> buffer_;  // the bytes of `rest_` being handed out
};

}  // namespace hextant
