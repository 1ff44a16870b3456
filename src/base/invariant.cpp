#include "base/invariant.h"

#include <cstdio>
#include <cstdlib>

namespace hextant {

void InvariantFailed(const char* what, const char* file, int line) noexcept {
  std::fprintf(stderr, "hextant: internal error: %s (%s:%d)\n", what, file, line);
  std::fflush(stderr);
  std::abort();
}

}  // namespace hextant
