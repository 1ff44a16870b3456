#pragma once

// Drawing the plain widget models onto Qt widgets, with the widgets' signals blocked so that
// drawing never counts as a user action.

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

#include "qt_platform.h"
#include "settings/window_controls.h"

namespace hextant::ui {

/// The hourglass pointer while a preview reads the source.
class BusyCursor {
 public:
  BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~BusyCursor() { QApplication::restoreOverrideCursor(); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

inline void Draw(QWidget* widget, const Control& control) {
  widget->setObjectName(ToQString(control.Name));
  widget->setEnabled(control.Enabled);
  widget->setVisible(control.Visible);
}

inline void Draw(QAbstractButton* button, const OptionButton& option) {
  const QSignalBlocker block(button);
  Draw(static_cast<QWidget*>(button), option);
  button->setText(ToQString(option.Caption));
  button->setChecked(option.Value);
}

inline void Draw(QAbstractButton* button, const CheckBox& box) {
  const QSignalBlocker block(button);
  Draw(static_cast<QWidget*>(button), box);
  button->setText(ToQString(box.Caption));
  button->setChecked(box.Value);
}

inline void Draw(QAbstractButton* button, const Button& control) {
  Draw(static_cast<QWidget*>(button), control);
  button->setText(ToQString(control.Caption));
}

inline void Draw(QLabel* label, const Label& control) {
  Draw(static_cast<QWidget*>(label), control);
  label->setText(ToQString(control.Caption));
}

inline void Draw(QGroupBox* group, const Frame& frame) {
  Draw(static_cast<QWidget*>(group), frame);
  group->setTitle(ToQString(frame.Caption));
}

inline void Draw(QLineEdit* edit, const TextBox& box) {
  const QSignalBlocker block(edit);
  Draw(static_cast<QWidget*>(edit), box);
  if (edit->text() != ToQString(box.Text)) {
    edit->setText(ToQString(box.Text));
  }
  edit->setToolTip(ToQString(box.ToolTip));
  if (box.MaxLength > 0) {
    edit->setMaxLength(static_cast<int>(box.MaxLength));
  }
}

inline void Draw(QComboBox* combo, const ComboBox& model) {
  const QSignalBlocker block(combo);
  Draw(static_cast<QWidget*>(combo), model);
  if (combo->count() != static_cast<int>(model.Items.size())) {
    combo->clear();
    for (const auto& item : model.Items) {
      combo->addItem(ToQString(item));
    }
  }
  combo->setCurrentIndex(model.ListIndex);
  if (combo->isEditable() && model.ListIndex < 0) {
    combo->setEditText(ToQString(model.EditText));
  }
}

}  // namespace hextant::ui
