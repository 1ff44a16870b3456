#pragma once

// The main window `Form_Geoid_model_file`, drawn with Qt Widgets and bound to MainWindowModel:
// every user action goes to the model, and the widgets are redrawn from the model's state, so the
// window adds no rule of its own. Widgets carry the model's control names as object names.

#include <QWidget>
#include <array>

#include "mainwindow/main_window_model.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;

namespace hextant::ui {

class OptionGroups;

class MainWindow : public QWidget {
  Q_OBJECT

 public:
  explicit MainWindow(MainWindowModel& model, QWidget* parent = nullptr);

  /// Draws the model's state.
  void Refresh();
  /// Puts the focus on "Read", so that Enter reads the chosen file.
  void FocusRead();

 signals:
  void readAccepted(hextant::NextPage next);
  void cancelled();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct BoxBinding {
    QLineEdit* edit;
    TextBoxId box;
    int row;
  };

  QWidget* BuildFileGroup();
  QWidget* BuildListsRow();
  QWidget* BuildCoordinateGroup();
  QWidget* BuildSpacingGroup();
  QWidget* BuildPointCodeGroup();
  QWidget* BuildInstrumentRow();
  QWidget* BuildButtonRow();
  QLineEdit* BoxFor(const TextBox& control, TextBoxId box, int row, int maxLength = 0);
  void Act(const ActionResult& result);
  /// Hands a box's text to the model; false when the box refuses it and keeps the focus.
  bool LeaveBox(const BoxBinding& binding);
  bool LeaveFocusedBox();
  void Read();

  MainWindowModel& model_;
  std::vector<BoxBinding> boxes_;
  OptionGroups* optionGroups_ = nullptr;

  QGroupBox* frameFile_ = nullptr;
  QLineEdit* uxFile_ = nullptr;
  QPushButton* changeFile_ = nullptr;
  QGroupBox* frameEllipsoid_ = nullptr;
  QComboBox* ellipsoid_ = nullptr;
  QGroupBox* filterGroup_ = nullptr;
  QComboBox* filter_ = nullptr;
  QGroupBox* frameCoordinateType_ = nullptr;
  std::array<QRadioButton*, 2> coordinateType_{};
  QCheckBox* localSide_ = nullptr;
  QGroupBox* frameLinear_ = nullptr;
  std::array<QRadioButton*, 3> linear_{};
  QGroupBox* frameAngular_ = nullptr;
  std::array<QRadioButton*, 4> angular_{};
  QGroupBox* frameSpacing_ = nullptr;
  std::array<QLabel*, 2> spacingLabel_{};
  std::array<QLabel*, 2> coordinateLabel_{};
  std::array<QLineEdit*, 2> spacing_{};
  std::array<QLabel*, 2> unitLabel_{};
  std::array<QStackedWidget*, 2> spacingStack_{};
  std::array<QWidget*, 2> sexagesimal_{};
  std::array<QLineEdit*, 2> degrees_{};
  std::array<QLineEdit*, 2> minutes_{};
  std::array<QLineEdit*, 2> seconds_{};
  QLabel* hemisphereLabel_ = nullptr;
  QRadioButton* north_ = nullptr;
  QRadioButton* south_ = nullptr;
  QGroupBox* framePointCode_ = nullptr;
  QCheckBox* pointCode_ = nullptr;
  QLineEdit* codeFilter_ = nullptr;
  QGroupBox* frameInstrument_ = nullptr;
  std::array<QRadioButton*, 2> instrument_{};
  QGroupBox* frameInterpolation_ = nullptr;
  QComboBox* interpolation_ = nullptr;
  QLabel* version_ = nullptr;
  QPushButton* read_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace hextant::ui
