#pragma once

// The window's platform for a terminal: message boxes printed to stderr, the open dialog that
// picks SOURCE, no save dialog, and progress drawn on one line.

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

#include "conversion/conversion_run.h"
#include "platform/conversion_page.h"
#include "platform/file_dialogs.h"
#include "platform/message_boxes.h"

namespace hextant {

class TerminalMessages : public MessageBoxes {
 public:
  TerminalMessages(std::ostream& err, bool overwrite) : err_(err), overwrite_(overwrite) {}
  /// Prints "TITLE: TEXT"; a Yes/No question is answered Yes only with `overwrite`.
  MessageAnswer Show(const Message& message) override;
  /// True when a question was answered No for want of `overwrite`.
  bool DeclinedOverwrite() const noexcept { return declined_; }

 private:
  std::ostream& err_;
  bool overwrite_;
  bool declined_ = false;
};

// The open dialog picks SOURCE; there is no save dialog to show, so it counts as cancelled.
class TerminalDialogs : public FileDialogs {
 public:
  explicit TerminalDialogs(std::filesystem::path source) : source_(std::move(source)) {}
  std::optional<std::filesystem::path> ChooseOpenFile(const FileDialogRequest&) override {
    return source_;
  }
  std::optional<std::filesystem::path> ChooseSaveFile(const FileDialogRequest&) override {
    return std::nullopt;
  }

 private:
  std::filesystem::path source_;
};

class TerminalProgress : public ProgressDisplay, public EventLoop {
 public:
  TerminalProgress(std::ostream& err, bool show) : err_(err), show_(show) {}
  ~TerminalProgress() override;
  void ShowProgressBar() override {}
  /// The percentage of the phase only grows: a reader's second pass over the file does not
  /// start the line again.
  void SetProgress(int percent) override {
    if (show_ && percent > shown_) {
      shown_ = percent;
      Draw(std::to_string(percent) + " %");
    }
  }
  void SetProgressCaption(const std::string& caption) override {
    if (show_) {
      Draw(caption);
    }
  }
  /// A wait for another conversion is told even with --quiet: it is no progress, and a run that
  /// says nothing while it waits looks hung.
  void SetStatus(const std::string& caption) override {
    if (caption != status_) {
      EndPhase();  // one line per phase
    }
    status_ = caption;
    if (!show_ && caption == WaitingForFolderStatus) {
      err_ << "hextant-convert: waiting for another conversion writing into the model's folder\n"
           << std::flush;
    }
  }
  void Yield() override {}
  /// Ends the line of the phase under way, so that what is printed next starts a line.
  void EndPhase();

 private:
  void Draw(const std::string& caption);

  std::ostream& err_;
  bool show_;
  bool drawn_ = false;
  int shown_ = -1;
  std::string status_;
};

// The results are printed after the run, from its report, so the dialog itself shows nothing.
class TerminalResults : public ResultsDialog {
 public:
  void Show(const ResultsTexts&) override {}
};

class Silent : public Beeper {
 public:
  void Beep() override {}
};

}  // namespace hextant
