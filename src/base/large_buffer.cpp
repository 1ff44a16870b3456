#include "base/large_buffer.h"

#include <new>

#include "base/prefault.h"

namespace hextant {
namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

bool IsLarge(std::size_t bytes) noexcept {
  return bytes >= kLargeBufferBytes;
}

std::size_t WholeHugePages(std::size_t bytes) noexcept {
  return (bytes + kHugePage - 1) / kHugePage * kHugePage;
}

}  // namespace

void* AllocateLargeBuffer(std::size_t bytes) {
  if (!IsLarge(bytes)) {
    return ::operator new(bytes);
  }
  if (bytes > WholeHugePages(bytes)) {
    throw std::bad_alloc();  // the rounding overflowed
  }
  const std::size_t rounded = WholeHugePages(bytes);
  void* memory = ::operator new (rounded, std::align_val_t{kHugePage});
  AdviseHugePages(memory, rounded);
  return memory;
}

void FreeLargeBuffer(void* memory, std::size_t bytes) noexcept {
  if (!IsLarge(bytes)) {
    ::operator delete(memory);
  } else {
    ::operator delete (memory, std::align_val_t{kHugePage});
  }
}

}  // namespace hextant
