#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace hextant {

/// Exit statuses of hextant-convert.
inline constexpr int ExitSuccess = 0;
inline constexpr int ExitStopped = 1;
inline constexpr int ExitRefused = 2;
inline constexpr int ExitIrregular = 3;
/// The model was written, HdmToTarvo.INI could not be.
inline constexpr int ExitSettingsFile = 4;

/// Runs `hextant-convert` with `args` (without the program name): applies the options as the
/// user's actions on the main window, reads, and runs the conversion. Results go to `out`,
/// message boxes and diagnostics to `err`; progress is shown on `err` when `showProgress`.
int RunConvertCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                      bool showProgress);

}  // namespace hextant
