#include "main_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "widget_binding.h"

namespace hextant::ui {
namespace {

template <std::size_t N>
std::array<QRadioButton*, N> Options(QWidget* parent) {
  std::array<QRadioButton*, N> options{};
  for (auto& option : options) {
    option = new QRadioButton(parent);
    option->setAutoExclusive(false);  // the model decides which option is selected
  }
  return options;
}

QFont Bold(QFont font) {
  font.setBold(true);
  return font;
}

}  // namespace

MainWindow::MainWindow(MainWindowModel& model, QWidget* parent) : QWidget(parent), model_(model) {
  setObjectName("Form_Geoid_model_file");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(BuildFileGroup());
  layout->addWidget(BuildListsRow());
  layout->addWidget(BuildCoordinateGroup());
  auto* middle = new QHBoxLayout;
  middle->addWidget(BuildSpacingGroup(), 3);
  middle->addWidget(BuildPointCodeGroup(), 2);
  layout->addLayout(middle);
  layout->addWidget(BuildInstrumentRow());
  layout->addWidget(BuildButtonRow());
  Refresh();
}

QWidget* MainWindow::BuildFileGroup() {
  frameFile_ = new QGroupBox(this);
  auto* row = new QHBoxLayout(frameFile_);
  uxFile_ = new QLineEdit(frameFile_);
  uxFile_->setReadOnly(true);  // shows the dialog's choice; typing here counts for nothing
  changeFile_ = new QPushButton(frameFile_);
  row->addWidget(uxFile_, 1);
  row->addWidget(changeFile_);
  connect(changeFile_, &QPushButton::clicked, this, [this] { Act(model_.ChooseFile()); });
  return frameFile_;
}

QWidget* MainWindow::BuildListsRow() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  frameEllipsoid_ = new QGroupBox(row);
  ellipsoid_ = new QComboBox(frameEllipsoid_);
  (new QVBoxLayout(frameEllipsoid_))->addWidget(ellipsoid_);
  filterGroup_ = new QGroupBox(row);
  filter_ = new QComboBox(filterGroup_);
  (new QVBoxLayout(filterGroup_))->addWidget(filter_);
  layout->addWidget(frameEllipsoid_);
  layout->addWidget(filterGroup_);
  connect(ellipsoid_, &QComboBox::activated, this,
          [this](int i) { Act(model_.SelectEllipsoid(static_cast<std::int16_t>(i))); });
  connect(filter_, &QComboBox::activated, this,
          [this](int i) { Act(model_.SelectSourceFormat(static_cast<std::int16_t>(i))); });
  return row;
}

QWidget* MainWindow::BuildCoordinateGroup() {
  frameCoordinateType_ = new QGroupBox(this);
  auto* layout = new QHBoxLayout(frameCoordinateType_);
  auto* left = new QVBoxLayout;
  coordinateType_ = Options<2>(frameCoordinateType_);
  localSide_ = new QCheckBox(frameCoordinateType_);
  left->addWidget(coordinateType_[0]);
  left->addWidget(coordinateType_[1]);
  left->addWidget(localSide_);
  layout->addLayout(left);
  frameLinear_ = new QGroupBox(frameCoordinateType_);
  linear_ = Options<3>(frameLinear_);
  auto* linearLayout = new QVBoxLayout(frameLinear_);
  frameAngular_ = new QGroupBox(frameCoordinateType_);
  angular_ = Options<4>(frameAngular_);
  auto* angularLayout = new QVBoxLayout(frameAngular_);
  for (std::size_t i = 0; i < linear_.size(); ++i) {
    linearLayout->addWidget(linear_[i]);
    connect(linear_[i], &QRadioButton::clicked, this,
            [this, i] { Act(model_.SelectLinearUnit(static_cast<int>(i))); });
  }
  for (std::size_t i = 0; i < angular_.size(); ++i) {
    angularLayout->addWidget(angular_[i]);
    connect(angular_[i], &QRadioButton::clicked, this,
            [this, i] { Act(model_.SelectAngularUnit(static_cast<int>(i))); });
  }
  for (std::size_t i = 0; i < coordinateType_.size(); ++i) {
    connect(coordinateType_[i], &QRadioButton::clicked, this,
            [this, i] { Act(model_.SelectCoordinateType(static_cast<int>(i))); });
  }
  connect(localSide_, &QCheckBox::clicked, this,
          [this](bool checked) { Act(model_.SetLocalSide(checked)); });
  layout->addWidget(frameLinear_);
  layout->addWidget(frameAngular_);
  return frameCoordinateType_;
}

QLineEdit* MainWindow::BoxFor(const TextBox& control, TextBoxId box, int row, int maxLength) {
  auto* edit = new QLineEdit(this);
  edit->setObjectName(ToQString(control.Name));
  if (maxLength > 0) {
    edit->setMaxLength(maxLength);
  }
  edit->installEventFilter(this);
  boxes_.push_back({edit, box, row});
  return edit;
}

QWidget* MainWindow::BuildSpacingGroup() {
  const MainWindowControls& c = model_.Controls();
  frameSpacing_ = new QGroupBox(this);
  auto* grid = new QGridLayout(frameSpacing_);
  spacingStack_ = new QStackedWidget(frameSpacing_);
  auto* decimal = new QWidget(spacingStack_);
  auto* decimalGrid = new QGridLayout(decimal);
  sexagesimal_ = new QWidget(spacingStack_);
  auto* sexagesimalGrid = new QGridLayout(sexagesimal_);
  for (int row = 0; row < 2; ++row) {
    const auto r = static_cast<std::size_t>(row);
    spacingLabel_[r] = new QLabel(frameSpacing_);
    coordinateLabel_[r] = new QLabel(frameSpacing_);
    spacing_[r] = BoxFor(c.Text_Spacing[r], TextBoxId::Spacing, row);
    unitLabel_[r] = new QLabel(decimal);
    decimalGrid->addWidget(spacing_[r], row, 0);
    decimalGrid->addWidget(unitLabel_[r], row, 1);
    degrees_[r] = BoxFor(c.Text_Grados[r], TextBoxId::Degrees, row, 3);
    minutes_[r] = BoxFor(c.Text_Minutos[r], TextBoxId::Minutes, row, 2);
    seconds_[r] = BoxFor(c.Text_segundos[r], TextBoxId::Seconds, row, 2);
    int column = 0;
    for (auto [edit, mark] : {std::pair{degrees_[r], c.Label_Grados[r].Caption},
                              std::pair{minutes_[r], c.Label1[r].Caption},
                              std::pair{seconds_[r], c.Label2[r].Caption}}) {
      sexagesimalGrid->addWidget(edit, row, column++);
      sexagesimalGrid->addWidget(new QLabel(ToQString(mark), sexagesimal_), row, column++);
    }
    grid->addWidget(spacingLabel_[r], row, 0);
    grid->addWidget(coordinateLabel_[r], row, 1);
  }
  spacingStack_->addWidget(decimal);
  spacingStack_->addWidget(sexagesimal_);
  grid->addWidget(spacingStack_, 0, 2, 2, 1);
  hemisphereLabel_ = new QLabel(frameSpacing_);
  north_ = new QRadioButton(frameSpacing_);
  south_ = new QRadioButton(frameSpacing_);
  north_->setAutoExclusive(false);
  south_->setAutoExclusive(false);
  grid->addWidget(hemisphereLabel_, 2, 0);
  grid->addWidget(north_, 2, 1);
  grid->addWidget(south_, 2, 2);
  connect(north_, &QRadioButton::clicked, this, [this] { Act(model_.SelectHemisphere(false)); });
  connect(south_, &QRadioButton::clicked, this, [this] { Act(model_.SelectHemisphere(true)); });
  return frameSpacing_;
}

QWidget* MainWindow::BuildPointCodeGroup() {
  framePointCode_ = new QGroupBox(this);
  auto* layout = new QVBoxLayout(framePointCode_);
  pointCode_ = new QCheckBox(framePointCode_);
  codeFilter_ = BoxFor(model_.Controls().Text_Code_filter, TextBoxId::CodeFilter, 0);
  layout->addWidget(pointCode_);
  layout->addWidget(codeFilter_);
  layout->addStretch();
  connect(pointCode_, &QCheckBox::clicked, this,
          [this](bool checked) { Act(model_.SetPointCode(checked)); });
  return framePointCode_;
}

QWidget* MainWindow::BuildInstrumentRow() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  frameInstrument_ = new QGroupBox(row);
  instrument_ = Options<2>(frameInstrument_);
  auto* instrumentLayout = new QHBoxLayout(frameInstrument_);
  for (std::size_t i = 0; i < instrument_.size(); ++i) {
    instrumentLayout->addWidget(instrument_[i]);
    connect(instrument_[i], &QRadioButton::clicked, this,
            [this, i] { Act(model_.SelectInstrumentType(static_cast<int>(i))); });
  }
  frameInterpolation_ = new QGroupBox(row);
  interpolation_ = new QComboBox(frameInterpolation_);
  (new QVBoxLayout(frameInterpolation_))->addWidget(interpolation_);
  connect(interpolation_, &QComboBox::activated, this,
          [this](int i) { Act(model_.SelectInterpolation(static_cast<std::int16_t>(i))); });
  layout->addWidget(frameInstrument_);
  layout->addWidget(frameInterpolation_);
  return row;
}

QWidget* MainWindow::BuildButtonRow() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* logo = new QLabel("<b>HEXTANT</b>", row);
  logo->setObjectName("Image1");
  version_ = new QLabel(row);
  read_ = new QPushButton(row);
  cancel_ = new QPushButton(row);
  read_->setFont(Bold(read_->font()));
  cancel_->setFont(Bold(cancel_->font()));
  layout->addWidget(logo);
  layout->addWidget(version_);
  layout->addStretch();
  layout->addWidget(read_);
  layout->addWidget(cancel_);
  connect(read_, &QPushButton::clicked, this, &MainWindow::Read);
  connect(cancel_, &QPushButton::clicked, this, &MainWindow::cancelled);
  return row;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut) {
    for (const BoxBinding& binding : boxes_) {
      if (binding.edit == watched) {
        LeaveBox(binding);
      }
    }
  }
  return QWidget::eventFilter(watched, event);
}

void MainWindow::LeaveBox(const BoxBinding& binding) {
  const ActionResult result =
      model_.EnterText(binding.box, binding.row, FromQString(binding.edit->text()));
  if (!result.Accepted && model_.FocusedControl() == FromQString(binding.edit->objectName())) {
    // The box holds no number: the focus goes back to it (the model has beeped).
    QTimer::singleShot(0, binding.edit, [edit = binding.edit] { edit->setFocus(); });
    return;
  }
  Refresh();
}

void MainWindow::Act(const ActionResult&) {
  Refresh();
}

void MainWindow::Read() {
  const ReadOutcome outcome = model_.Read();
  Refresh();
  if (outcome.Accepted) {
    emit readAccepted(outcome.Next);
    return;
  }
  for (QWidget* widget : findChildren<QWidget*>()) {
    if (FromQString(widget->objectName()) == outcome.Focus && widget->isEnabled()) {
      widget->setFocus();
    }
  }
}

void MainWindow::Refresh() {
  const MainWindowControls& c = model_.Controls();
  setWindowTitle(ToQString(c.Caption));
  Draw(frameFile_, c.Frame_Geoid_model_file);
  Draw(uxFile_, c.uxFile);
  Draw(changeFile_, c.Command_Change_file);
  Draw(frameEllipsoid_, c.Frame_Ellipsoid);
  Draw(ellipsoid_, c.Combo_Ellipsoid);
  Draw(filterGroup_, c.Filter);
  Draw(filter_, c.Combo_Filter);
  Draw(frameCoordinateType_, c.Frame_Coordinate_Type);
  Draw(localSide_, c.Option_Local_Side);
  Draw(frameLinear_, c.Frame_Linear_units);
  Draw(frameAngular_, c.Frame_Angular_units);
  Draw(frameSpacing_, c.Frame_Geoid_model_spacing);
  Draw(hemisphereLabel_, c.Label_Hemishere);
  Draw(north_, c.Option_HemisphereN);
  Draw(south_, c.Option_HemisphereS);
  Draw(framePointCode_, c.Frame_Point_Code);
  Draw(pointCode_, c.Check_Point_code);
  Draw(codeFilter_, c.Text_Code_filter);
  Draw(frameInstrument_, c.Frame_InstrumentType);
  Draw(frameInterpolation_, c.Frame_Interpolation);
  Draw(interpolation_, c.Combo_Interpolation);
  Draw(version_, c.Label4);
  Draw(read_, c.Command_Read_File);
  Draw(cancel_, c.Command_Cancel);
  for (std::size_t i = 0; i < 2; ++i) {
    Draw(coordinateType_[i], c.Option_Coordinate_type[i]);
    Draw(instrument_[i], c.Option_InstrumentType[i]);
    Draw(spacingLabel_[i], c.Label_Spacing[i]);
    Draw(coordinateLabel_[i], c.Label_Coordinate_Type[i]);
    Draw(spacing_[i], c.Text_Spacing[i]);
    Draw(unitLabel_[i], c.Label_Units[i]);
    Draw(degrees_[i], c.Text_Grados[i]);
    Draw(minutes_[i], c.Text_Minutos[i]);
    Draw(seconds_[i], c.Text_segundos[i]);
  }
  for (std::size_t i = 0; i < linear_.size(); ++i) {
    Draw(linear_[i], c.Option_Linear_Units[i]);
  }
  for (std::size_t i = 0; i < angular_.size(); ++i) {
    Draw(angular_[i], c.Option_Angular_units[i]);
  }
  sexagesimal_->setObjectName(ToQString(c.Frame_Sexagesimal.Name));
  sexagesimal_->setEnabled(c.Frame_Sexagesimal.Enabled);
  spacingStack_->setCurrentIndex(c.Frame_Sexagesimal.Visible ? 1 : 0);
}

}  // namespace hextant::ui
