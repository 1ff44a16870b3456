#pragma once

// HEXTANT_INVARIANT(condition, what): stops the program with `what` when an invariant of the
// program's own design does not hold, in every build type. It guards what no input can change
// (a protocol between threads, a container's state): a broken one means a fault in the code, and
// going on could write a wrong model without a word. Failures the input can cause are a Status.
// The check costs a branch: keep it out of loops over values.

namespace hextant {

/// Writes "internal error" with `what`, `file` and `line` to stderr and aborts.
[[noreturn]] void InvariantFailed(const char* what, const char* file, int line) noexcept;

}  // namespace hextant

#define HEXTANT_INVARIANT(condition, what) \
  ((condition) ? static_cast<void>(0) : ::hextant::InvariantFailed(what, __FILE__, __LINE__))
