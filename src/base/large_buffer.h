#pragma once

// Memory for the large buffers of a read, which are written in full each time they are used:
// from kLargeBufferBytes on they come in whole huge pages where the system offers them, so that
// filling them the first time costs one page fault per 2 MiB instead of one per 4 KiB.

#include <cstddef>
#include <memory>

namespace hextant {

inline constexpr std::size_t kLargeBufferBytes = std::size_t{256} << 10;

/// Allocates `bytes` (not filled); from kLargeBufferBytes on, rounded up to whole 2 MiB pages,
/// aligned to them and with huge pages asked for. Throws std::bad_alloc.
void* AllocateLargeBuffer(std::size_t bytes);
/// Frees what AllocateLargeBuffer(bytes) gave, with the same `bytes`.
void FreeLargeBuffer(void* memory, std::size_t bytes) noexcept;

/// An allocator for containers that hold a large buffer, such as a block's points.
template <class T>
struct LargeBufferAllocator {
  using value_type = T;
  LargeBufferAllocator() noexcept = default;
  template <class U>
  LargeBufferAllocator(const LargeBufferAllocator<U>&) noexcept {}
  T* allocate(std::size_t n) { return static_cast<T*>(AllocateLargeBuffer(n * sizeof(T))); }
  void deallocate(T* p, std::size_t n) noexcept { FreeLargeBuffer(p, n * sizeof(T)); }
  template <class U>
  bool operator==(const LargeBufferAllocator<U>&) const noexcept {
    return true;
  }
};

/// Deletes the bytes of LargeBytes.
struct LargeBytesDeleter {
  std::size_t bytes = 0;
  void operator()(char* memory) const noexcept { FreeLargeBuffer(memory, bytes); }
};
using LargeBytes = std::unique_ptr<char[], LargeBytesDeleter>;

/// `bytes` bytes, not filled, from AllocateLargeBuffer.
inline LargeBytes MakeLargeBytes(std::size_t bytes) {
  return LargeBytes(static_cast<char*>(AllocateLargeBuffer(bytes)), LargeBytesDeleter{bytes});
}

}  // namespace hextant
