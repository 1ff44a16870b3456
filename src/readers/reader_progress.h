#pragma once

// The progress report the readers share and the common report of a reader's failure.

#include <cstdint>
#include <filesystem>
#include <string>

#include "base/status.h"
#include "platform/conversion_page.h"
#include "platform/message_boxes.h"

namespace hextant {

/// The program's own title, used as the title of reader error messages.
inline constexpr const char* ProgramTitle = "Hextant";

/// Whole percent of a read position: position is the 1-based number of the next byte to read,
/// so the end of a file of `size` bytes gives (size + 1) / size × 100, rounded down. 0 for an
/// empty file.
int ReadPercent(std::uint64_t size, std::uint64_t position) noexcept;

/// Moves the progress display and lets the event loop run once.
class ReadProgress {
 public:
  ReadProgress(ProgressDisplay& display, EventLoop& events) : display_(display), events_(events) {}

  void ShowBar() { display_.ShowProgressBar(); }
  /// Shows how far the read of a file of `size` bytes has come, `consumed` bytes being read.
  void ShowReadProgress(std::uint64_t size, std::uint64_t consumed) {
    ShowPercent(ReadPercent(size, consumed + 1));
  }
  void ShowPercent(int percent) {
    display_.SetProgress(percent);
    events_.Yield();
  }

 private:
  ProgressDisplay& display_;
  EventLoop& events_;
};

/// Tells the user why a reader stopped: "Unable to compute the selected file" for the readers'
/// format error, otherwise "Unhandler Error in " + `procedure` + CR LF + the description; the
/// box's detail names `file` (when given) and the cause.
void ReportReaderError(MessageBoxes& messages, const std::string& procedure, const Status& error,
                       const std::filesystem::path& file = {});

/// The cause of a reader's failure in words, starting with `file` unless the cause names it.
std::string ReaderFailureDetail(const Status& error, const std::filesystem::path& file);

}  // namespace hextant
