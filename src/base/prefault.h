#pragma once

#include <cstddef>

namespace hextant {

/// Maps fresh memory at [first, first + bytes) ahead of writing it, in one request instead of one
/// page fault per page, which the system handles much faster (Linux; elsewhere it does nothing).
/// Only whole pages inside the range are touched, and their contents are kept.
void PrefaultForWriting(void* first, std::size_t bytes) noexcept;

/// Asks for transparent huge pages on the whole 2 MiB pages inside [first, first + bytes) (Linux;
/// elsewhere it does nothing). Pages are still mapped only where the memory is touched; mapping
/// a huge page costs about what one small page does, so large blocks written once fill far faster.
void AdviseHugePages(void* first, std::size_t bytes) noexcept;

}  // namespace hextant
