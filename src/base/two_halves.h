#pragma once

// Work over a large range split between the calling thread and one more thread.

#include <cstddef>
#include <system_error>
#include <thread>

namespace hextant {

/// Ranges shorter than this are not split: starting a thread would cost more than it saves.
inline constexpr std::ptrdiff_t kSplitAtLeast = std::ptrdiff_t{1} << 16;

/// Runs `work(first, last)` over [0, count): the first half on a thread of its own and the
/// second half on the calling thread when `count` is at least `splitAtLeast` and a thread can be
/// started, otherwise all of it on the calling thread. `work` must not throw, and the halves
/// must touch disjoint data. Returns both halves' results and-ed.
template <class Work>
bool BothHalves(std::ptrdiff_t count, Work work, std::ptrdiff_t splitAtLeast = kSplitAtLeast) {
  if (count < splitAtLeast || std::thread::hardware_concurrency() < 2) {
    return work(std::ptrdiff_t{0}, count);
  }
  const std::ptrdiff_t half = count / 2;
  bool first = false;
  std::thread other;
  try {
    other = std::thread([&] { first = work(std::ptrdiff_t{0}, half); });
  } catch (const std::system_error&) {
    return work(std::ptrdiff_t{0}, count);
  }
  const bool second = work(half, count);
  other.join();
  return first && second;
}

}  // namespace hextant
