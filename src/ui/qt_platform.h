#pragma once

// The platform interfaces of the logic, carried out with Qt: modal message boxes, file dialogs,
// the warning beep and the event-loop yield.

#include <QWidget>

#include "platform/conversion_page.h"
#include "platform/file_dialogs.h"
#include "platform/message_boxes.h"

namespace hextant::ui {

/// Every 8-bit text of the logic is Latin-1; these convert at the widget border.
QString FromLatin1(const std::string& text);
std::string ToLatin1(const QString& text);

class QtMessageBoxes : public MessageBoxes {
 public:
  explicit QtMessageBoxes(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }
  MessageAnswer Show(const Message& message) override;

 private:
  QWidget* parent_;
};

class QtFileDialogs : public FileDialogs {
 public:
  explicit QtFileDialogs(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }
  std::optional<std::string> ChooseOpenFile(const FileDialogRequest& request) override;
  std::optional<std::string> ChooseSaveFile(const FileDialogRequest& request) override;

 private:
  QWidget* parent_;
};

class QtBeeper : public Beeper {
 public:
  void Beep() override;
};

class QtEventLoop : public EventLoop {
 public:
  void Yield() override;
};

/// "All files|*.*" → "All files (*.*)": the dialog filter as Qt writes it.
QString QtFilter(const std::string& filter);

}  // namespace hextant::ui
