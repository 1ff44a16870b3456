#pragma once

// What a run has created is taken back when the process is interrupted: on SIGINT, SIGTERM or
// SIGHUP (on Windows Ctrl+C, Ctrl+Break or the console closing) the staging files this process
// made for every registered target and the empty placeholders it created are removed, and the
// process ends with 128 + the signal's number (130, 143, 129). An earlier file at a target is
// never touched.

#include <filesystem>
#include <optional>

#include "platform/file_system.h"

namespace hextant {

/// Takes over SIGINT, SIGTERM and SIGHUP for the cleanup. Call it first in main, before any
/// thread is started, so that every later thread leaves those signals to the cleanup.
void InstallInterruptionCleanup();

/// Removes what the live registrations name, as an interruption does, without ending the process.
/// For a program that ends at once by its own choice (the window's Cancel during a run).
void RemoveInterruptedFiles() noexcept;

/// While it lives, an interruption removes this process's staging files of `target` and, when
/// given, the empty placeholder the run created at `target`.
class InterruptionCleanup {
 public:
  explicit InterruptionCleanup(std::filesystem::path target,
                               std::optional<FileIdentity> placeholder = std::nullopt);
  ~InterruptionCleanup();
  InterruptionCleanup(const InterruptionCleanup&) = delete;
  InterruptionCleanup& operator=(const InterruptionCleanup&) = delete;

  /// The placeholder is the model now, or gone: an interruption leaves the target alone.
  void ForgetPlaceholder() noexcept;

 private:
  int id_ = 0;
};

}  // namespace hextant
