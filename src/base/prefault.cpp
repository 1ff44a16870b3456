#include "base/prefault.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace hextant {
namespace {

#if defined(__linux__)
// Calls madvise(advice) on the whole units of `unit` bytes inside [first, first + bytes).
void AdviseWholeUnits(void* first, std::size_t bytes, std::uintptr_t unit, int advice) noexcept {
  const auto start = (reinterpret_cast<std::uintptr_t>(first) + unit - 1) & ~(unit - 1);
  const auto end = (reinterpret_cast<std::uintptr_t>(first) + bytes) & ~(unit - 1);
  if (end > start) {
    ::madvise(reinterpret_cast<void*>(start), end - start, advice);  // a hint
  }
}
#endif

}  // namespace

void PrefaultForWriting([[maybe_unused]] void* first, [[maybe_unused]] std::size_t bytes) noexcept {
#if defined(__linux__) && defined(MADV_POPULATE_WRITE)
  static const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
  AdviseWholeUnits(first, bytes, page, MADV_POPULATE_WRITE);
#endif
}

void AdviseHugePages([[maybe_unused]] void* first, [[maybe_unused]] std::size_t bytes) noexcept {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  AdviseWholeUnits(first, bytes, std::uintptr_t{2} << 20, MADV_HUGEPAGE);
#endif
}

}  // namespace hextant
