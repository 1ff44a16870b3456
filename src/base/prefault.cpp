#include "base/prefault.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace hextant {

void PrefaultForWriting([[maybe_unused]] void* first, [[maybe_unused]] std::size_t bytes) noexcept {
#if defined(__linux__) && defined(MADV_POPULATE_WRITE)
  static const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
  const auto start = (reinterpret_cast<std::uintptr_t>(first) + page - 1) & ~(page - 1);
  const auto end = (reinterpret_cast<std::uintptr_t>(first) + bytes) & ~(page - 1);
  if (end > start) {
    ::madvise(reinterpret_cast<void*>(start), end - start, MADV_POPULATE_WRITE);  // a hint
  }
#endif
}

}  // namespace hextant
