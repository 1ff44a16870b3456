#pragma once

// The import wizard's welcome and layout pages and the conversion page, drawn with Qt Widgets and
// bound to their plain models.

#include <QWidget>
#include <array>

#include "platform/conversion_page.h"
#include "wizard/column_page_model.h"
#include "wizard/layout_page_model.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace hextant::ui {

class EnterKey;
class OptionGroups;
class ProgressTrack;

/// Back, Next and Cancel of a wizard page.
class WizardPage : public QWidget {
  Q_OBJECT

 public:
  using QWidget::QWidget;

 signals:
  void back();
  void next();
  void cancelled();

 protected:
  /// Closing a page (its title bar's close button) is Cancel: it ends the program, also during
  /// a read, rather than leave the run going without a window.
  void closeEvent(QCloseEvent* event) override;
  QWidget* ButtonRow();
  QPushButton* nextButton_ = nullptr;
  QPushButton* backButton_ = nullptr;
  EnterKey* enterKey_ = nullptr;
};

class WelcomePage : public WizardPage {
  Q_OBJECT

 public:
  explicit WelcomePage(QWidget* parent = nullptr);
};

class LayoutPage : public WizardPage {
  Q_OBJECT

 public:
  LayoutPage(LayoutPageModel& model, QWidget* parent = nullptr);
  void Refresh();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  LayoutPageModel& model_;
  QLineEdit* uxFile_ = nullptr;
  QComboBox* startLine_ = nullptr;
  std::array<QRadioButton*, 6> delimiter_{};
  QLineEdit* other_ = nullptr;
  QLineEdit* columns_ = nullptr;
  QPushButton* refresh_ = nullptr;
  QCheckBox* merge_ = nullptr;
  QTableWidget* preview_ = nullptr;
  OptionGroups* optionGroups_ = nullptr;
};

/// The conversion page; it also shows the run's status and progress.
class ColumnPage : public WizardPage, public ProgressDisplay {
  Q_OBJECT

 public:
  ColumnPage(ColumnPageModel& model, QWidget* parent = nullptr);
  void Refresh();
  /// What choosing `role` in the menu of a right-click on preview column `column` (1-based) does.
  void ChooseRole(int column, std::int16_t role);

  void ShowProgressBar() override;
  void SetProgress(int percent) override;
  void SetProgressCaption(const std::string& caption) override;
  void SetStatus(const std::string& caption) override;

 protected:
  /// The menu key opens the role menu of the preview's current column.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  /// The role menu of preview column `column` (1-based) at `position` on the screen.
  void ShowRoleMenu(int column, const QPoint& position);

  ColumnPageModel& model_;
  QLineEdit* uxFile_ = nullptr;
  QLabel* info_ = nullptr;
  QTableWidget* preview_ = nullptr;
  QGroupBox* status_ = nullptr;
  ProgressTrack* track_ = nullptr;
  QFrame* bar_ = nullptr;
  QLabel* percent_ = nullptr;
};

}  // namespace hextant::ui
