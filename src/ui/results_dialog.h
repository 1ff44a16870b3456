#pragma once

#include <QWidget>

#include "platform/conversion_page.h"

namespace hextant::ui {

/// Width in pixels of the model's picture in the results dialog.
inline constexpr int kResultsPictureWidth = 288;

/// The modal results dialog `Form_Results`: output file, points, grid rows and columns, units,
/// and below them a small picture of the model written.
class QtResultsDialog : public ResultsDialog {
 public:
  explicit QtResultsDialog(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }
  void Show(const ResultsTexts& texts) override;

 private:
  QWidget* parent_;
};

}  // namespace hextant::ui
