#pragma once

#include <string>

namespace hextant {

/// The status frame and progress display of the conversion page, as the run and the readers
/// drive them.
class ProgressDisplay {
 public:
  virtual ~ProgressDisplay() = default;
  /// Makes the progress bar visible.
  virtual void ShowProgressBar() = 0;
  /// Sets the bar to `percent` (its width is ProgressBarWidth(percent)) and the label to
  /// `percent` followed by " %".
  virtual void SetProgress(int percent) = 0;
  /// Sets the caption of the percentage label alone.
  virtual void SetProgressCaption(const std::string& caption) = 0;
  /// Sets the caption of the status frame.
  virtual void SetStatus(const std::string& caption) = 0;
};

/// Lets pending user input and repaints run once.
class EventLoop {
 public:
  virtual ~EventLoop() = default;
  virtual void Yield() = 0;
};

/// The texts of the results dialog `Form_Results`.
struct ResultsTexts {
  std::string Caption;     // " Information"
  std::string OutputFile;  // uxFile
  std::string Points;      // Label2(1)
  std::string Rows;        // Label2(2)
  std::string Columns;     // Label2(3)
  std::string Units;       // Label2(4)
  /// The model read back and compared with the source, below the fields above ("" when not).
  std::string Verification;
};

/// Shows the results dialog modally; returns when the user has closed it.
class ResultsDialog {
 public:
  virtual ~ResultsDialog() = default;
  virtual void Show(const ResultsTexts& texts) = 0;
};

/// Width of the progress bar in twips for a percentage (7575 at 100 %), as single precision.
constexpr float ProgressBarWidth(int percent) noexcept {
  return static_cast<float>(percent) * 75.75f;
}

}  // namespace hextant
