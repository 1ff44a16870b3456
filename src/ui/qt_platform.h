#pragma once

// The platform interfaces of the logic, carried out with Qt: modal message boxes, file dialogs,
// the warning beep and the event-loop yield.

#include <QWidget>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/conversion_page.h"
#include "platform/file_dialogs.h"
#include "platform/message_boxes.h"

namespace hextant::ui {

/// The logic's texts are UTF-8 (file contents arrive already turned from Latin-1); these convert
/// at the widget border.
QString ToQString(const std::string& text);
std::string FromQString(const QString& text);

/// Paths go between dialogs and the logic as the platform's own path, never through 8-bit text.
QString PathToQString(const std::filesystem::path& path);
std::filesystem::path PathFromQString(const QString& text);

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
  std::optional<std::filesystem::path> ChooseOpenFile(const FileDialogRequest& request) override;
  std::optional<std::filesystem::path> ChooseSaveFile(const FileDialogRequest& request) override;

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

/// "Geoid Model File|*.HDM*" → "Geoid Model File (*.HDM*)": the dialog filter as Qt writes it;
/// "*.*" becomes "*", so that files without an extension are listed too, as on Windows.
QString QtFilter(const std::string& filter);

}  // namespace hextant::ui
