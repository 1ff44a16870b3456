#include "qt_platform.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>

namespace hextant::ui {

QString ToQString(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string FromQString(const QString& text) {
  return text.toUtf8().toStdString();
}

QString PathToQString(const std::filesystem::path& path) {
#if defined(Q_OS_WIN)
  return QString::fromStdWString(path.native());
#else
  return QFile::decodeName(QByteArray::fromStdString(path.native()));
#endif
}

std::filesystem::path PathFromQString(const QString& text) {
#if defined(Q_OS_WIN)
  return std::filesystem::path(QDir::toNativeSeparators(text).toStdWString());
#else
  return std::filesystem::path(QFile::encodeName(text).toStdString());
#endif
}

QString QtFilter(const std::string& filter) {
  const QStringList parts = ToQString(filter).split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString pattern = parts[i + 1] == "*.*" ? QString("*") : parts[i + 1];
    filters << parts[i] + " (" + pattern + ")";
  }
  return filters.join(";;");
}

MessageAnswer QtMessageBoxes::Show(const Message& message) {
  QMessageBox box(parent_);
  box.setWindowTitle(ToQString(message.Title));
  box.setText(ToQString(message.Text));
  if (!message.Detail.empty()) {
    box.setInformativeText(ToQString(message.Detail));
  }
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

std::optional<std::filesystem::path> QtFileDialogs::ChooseOpenFile(
    const FileDialogRequest& request) {
  const QString file = QFileDialog::getOpenFileName(
      parent_, QString(), PathToQString(request.FileName), QtFilter(request.Filter));
  if (file.isEmpty()) {
    return std::nullopt;
  }
  return PathFromQString(file);
}

std::optional<std::filesystem::path> QtFileDialogs::ChooseSaveFile(
    const FileDialogRequest& request) {
  QFileDialog dialog(parent_, QString(), PathToQString(request.FileName), QtFilter(request.Filter));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(ToQString(request.DefaultExtension));
  // Existing files are asked about by the output file choice itself.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return std::nullopt;
  }
  return PathFromQString(dialog.selectedFiles().constFirst());
}

void QtBeeper::Beep() {
  QApplication::beep();
}

void QtEventLoop::Yield() {
  QCoreApplication::processEvents();
}

}  // namespace hextant::ui
