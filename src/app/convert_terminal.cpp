#include "convert_terminal.h"

namespace hextant {
namespace {

std::string WithNewlines(std::string text) {
  for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) {
    text.replace(at, 2, "\n");
  }
  return text;
}

}  // namespace

MessageAnswer TerminalMessages::Show(const Message& message) {
  err_ << message.Title << ": " << WithNewlines(message.Text);
  if (!message.Detail.empty()) {
    err_ << "\n  " << WithNewlines(message.Detail);  // the cause, on a line of its own
  }
  err_ << "\n";
  if (message.Buttons == MessageButtons::YesNo) {
    declined_ = declined_ || !overwrite_;
    return overwrite_ ? MessageAnswer::Yes : MessageAnswer::No;
  }
  return MessageAnswer::Ok;
}

TerminalProgress::~TerminalProgress() {
  EndPhase();
}

void TerminalProgress::EndPhase() {
  if (!drawn_) {
    return;
  }
  if (status_.empty() && shown_ < 100) {
    Draw("100 %");  // the read is over, whatever the last step reported
  }
  err_ << "\n" << std::flush;
  drawn_ = false;
  shown_ = -1;
}

void TerminalProgress::Draw(const std::string& caption) {
  err_ << "\r" << (status_.empty() ? "Reading" : status_) << "  " << caption << "   " << std::flush;
  drawn_ = true;
}

}  // namespace hextant
