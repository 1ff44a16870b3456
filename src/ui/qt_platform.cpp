#include "qt_platform.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace hextant::ui {

QString FromLatin1(const std::string& text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToLatin1(const QString& text) {
  return text.toLatin1().toStdString();
}

QString QtFilter(const std::string& filter) {
  const QStringList parts = FromLatin1(filter).split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    filters << parts[i] + " (" + parts[i + 1] + ")";
  }
  return filters.join(";;");
}

MessageAnswer QtMessageBoxes::Show(const Message& message) {
  QMessageBox box(parent_);
  box.setWindowTitle(FromLatin1(message.Title));
  box.setText(FromLatin1(message.Text));
  switch (message.Icon) {
    case MessageIcon::Critical:
      box.setIcon(QMessageBox::Critical);
      break;
    case MessageIcon::Exclamation:
      box.setIcon(QMessageBox::Warning);
      break;
    case MessageIcon::Question:
      box.setIcon(QMessageBox::Question);
      break;
    case MessageIcon::Information:
      box.setIcon(QMessageBox::Information);
      break;
    case MessageIcon::None:
      break;
  }
  if (message.Buttons == MessageButtons::YesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
  }
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
  return MessageAnswer::Ok;
}

std::optional<std::string> QtFileDialogs::ChooseOpenFile(const FileDialogRequest& request) {
  const QString file = QFileDialog::getOpenFileName(
      parent_, QString(), FromLatin1(request.FileName), QtFilter(request.Filter));
  if (file.isEmpty()) {
    return std::nullopt;
  }
  return ToLatin1(file);
}

std::optional<std::string> QtFileDialogs::ChooseSaveFile(const FileDialogRequest& request) {
  QFileDialog dialog(parent_, QString(), FromLatin1(request.FileName), QtFilter(request.Filter));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(FromLatin1(request.DefaultExtension));
  // Existing files are asked about by the output file choice itself.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return std::nullopt;
  }
  return ToLatin1(dialog.selectedFiles().constFirst());
}

void QtBeeper::Beep() {
  QApplication::beep();
}

void QtEventLoop::Yield() {
  QCoreApplication::processEvents();
}

}  // namespace hextant::ui
