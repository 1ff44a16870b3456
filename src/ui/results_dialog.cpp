#include "results_dialog.h"

#include <QDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>

#include "model_picture.h"
#include "qt_platform.h"

namespace hextant::ui {

void QtResultsDialog::Show(const ResultsTexts& texts) {
  QDialog dialog(parent_);
  dialog.setObjectName("Form_Results");
  dialog.setWindowTitle(ToQString(texts.Caption));
  auto* grid = new QGridLayout(&dialog);
  auto* file = new QLineEdit(ToQString(texts.OutputFile), &dialog);
  file->setObjectName("uxFile");
  file->setReadOnly(true);
  file->setMinimumWidth(360);
  const std::pair<const char*, const std::string*> rows[] = {{"Number of points", &texts.Points},
                                                             {"Grid Rows", &texts.Rows},
                                                             {"Grid Columns", &texts.Columns},
                                                             {"Units", &texts.Units}};
  auto addCaption = [&](const char* caption, int row) {
    auto* label = new QLabel(caption, &dialog);
    label->setObjectName(QString("Label1(%1)").arg(row));
    auto* separator = new QLabel(":", &dialog);
    separator->setObjectName(QString("uxSep(%1)").arg(row));
    grid->addWidget(label, row, 0);
    grid->addWidget(separator, row, 1);
  };
  addCaption("Output File", 0);
  grid->addWidget(file, 0, 2);
  int row = 1;
  for (const auto& [caption, value] : rows) {
    addCaption(caption, row);
    auto* label = new QLabel(ToQString(*value), &dialog);
    label->setObjectName(QString("Label2(%1)").arg(row));
    grid->addWidget(label, row++, 2);
  }
  if (!texts.Verification.empty()) {
    // How the model read back compares with the source, in a sentence of its own.
    auto* check = new QLabel(ToQString("Read back: " + texts.Verification), &dialog);
    check->setObjectName("Label_ReadBack");
    check->setWordWrap(true);
    grid->addWidget(check, row++, 0, 1, 3);
  }
  // Below the fields, the model just written, small; nothing when it cannot be read.
  std::string error;
  const QImage picture =
      ModelPicture(texts.OutputFile, kResultsPictureWidth, kResultsPictureWidth, error);
  if (!picture.isNull()) {
    auto* label = new QLabel(&dialog);
    label->setObjectName("Picture_Model");
    label->setPixmap(QPixmap::fromImage(picture));
    grid->addWidget(label, row++, 0, 1, 3, Qt::AlignHCenter);
  }
  auto* ok = new QPushButton("Ok", &dialog);
  ok->setObjectName("Command_OK");
  ok->setDefault(true);
  grid->addWidget(ok, row, 2, Qt::AlignRight);
  QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
  dialog.exec();
}

}  // namespace hextant::ui
