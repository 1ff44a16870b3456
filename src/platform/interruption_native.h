#pragma once

// The platform's side of the interruption cleanup (interruption_posix.cpp,
// interruption_win.cpp).

namespace hextant::native {

/// Calls `onInterruption(exit status)` on a thread of its own (never in a signal handler) when the
/// process is asked to stop.
void WatchInterruptions(void (*onInterruption)(int exitStatus));

/// Ends the process at once with `exitStatus`, running no destructor and no exit handler.
[[noreturn]] void EndProcess(int exitStatus) noexcept;

}  // namespace hextant::native
