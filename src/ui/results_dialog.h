#pragma once

#include <QWidget>

#include "platform/conversion_page.h"

namespace hextant::ui {

/// The modal results dialog `Form_Results`: output file, points, grid rows and columns, units.
class QtResultsDialog : public ResultsDialog {
 public:
  explicit QtResultsDialog(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }
  void Show(const ResultsTexts& texts) override;

 private:
  QWidget* parent_;
};

}  // namespace hextant::ui
