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
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>

#include "keyboard.h"
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

// Asks for the room its contents want, and scrolls them when the screen has less to give.
class ContentArea : public QScrollArea {
 public:
  using QScrollArea::QScrollArea;

  void SetContent(QWidget* content) {
    setWidget(content);
    content->installEventFilter(this);
  }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == widget() && event->type() == QEvent::LayoutRequest) {
      updateGeometry();  // the window's layout asks again for the contents' size
    }
    return QScrollArea::eventFilter(watched, event);
  }

  QSize sizeHint() const override {
    const QSize content = widget() != nullptr ? widget()->sizeHint() : QSize();
    return content + QSize(verticalScrollBar()->sizeHint().width(), 0);
  }
  QSize minimumSizeHint() const override {
    const QSize content = widget() != nullptr ? widget()->minimumSizeHint() : QSize();
    return {content.width(), fontMetrics().height() * 6};
  }
};

// Shows page `index` of `stack`, which then asks only for the room that page needs.
void ShowPageOf(QStackedWidget* stack, int index) {
  for (int i = 0; i < stack->count(); ++i) {
    const auto policy = i == index ? QSizePolicy::Preferred : QSizePolicy::Ignored;
    stack->widget(i)->setSizePolicy(policy, policy);
  }
  stack->setCurrentIndex(index);
}

QFont Bold(QFont font) {
  font.setBold(true);
  return font;
}

}  // namespace

MainWindow::MainWindow(MainWindowModel& model, QWidget* parent) : QWidget(parent), model_(model) {
  setObjectName("Form_Geoid_model_file");
  optionGroups_ = new OptionGroups(this);
  auto* content = new QWidget;
  auto* rows = new QVBoxLayout(content);
  rows->addWidget(BuildFileGroup());
  rows->addWidget(BuildListsRow());
  rows->addWidget(BuildCoordinateGroup());
  auto* middle = new QHBoxLayout;
  middle->addWidget(BuildSpacingGroup(), 3);
  middle->addWidget(BuildPointCodeGroup(), 2);
  rows->addLayout(middle);
  rows->addWidget(BuildInstrumentRow());
  rows->addStretch();
  // The groups scroll on a small screen; Read and Cancel stay in sight below them.
  auto* area = new ContentArea(this);
  area->setFrameShape(QFrame::NoFrame);
  area->setWidgetResizable(true);
  area->SetContent(content);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, layout->contentsMargins().bottom());
  layout->addWidget(area, 1);
  auto* buttons = BuildButtonRow();
  buttons->setContentsMargins(rows->contentsMargins().left(), 0, rows->contentsMargins().right(),
                              0);
  layout->addWidget(buttons);
  optionGroups_->Add({coordinateType_.begin(), coordinateType_.end()});
  optionGroups_->Add({linear_.begin(), linear_.end()});
  optionGroups_->Add({angular_.begin(), angular_.end()});
  optionGroups_->Add({north_, south_});
  optionGroups_->Add({instrument_.begin(), instrument_.end()});
  new EnterKey(this, read_, [this] { return LeaveFocusedBox(); });
  Refresh();
  changeFile_->setFocus();  // the file comes first; the file box only shows the choice
}

QWidget* MainWindow::BuildFileGroup() {
  frameFile_ = new QGroupBox(this);
  auto* row = new QHBoxLayout(frameFile_);
  uxFile_ = new QLineEdit(frameFile_);
  uxFile_->setReadOnly(true);  // shows the dialog's choice; typing here counts for nothing
  uxFile_->setFocusPolicy(Qt::ClickFocus);
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
  for (int row = 0; row < 2; ++row) {
    const auto r = static_cast<std::size_t>(row);
    spacingLabel_[r] = new QLabel(frameSpacing_);
    coordinateLabel_[r] = new QLabel(frameSpacing_);
    // Each row holds its decimal box and its degree, minute and second boxes in one stack, so
    // that the row's labels stay beside whichever boxes are shown.
    spacingStack_[r] = new QStackedWidget(frameSpacing_);
    auto* decimal = new QWidget(spacingStack_[r]);
    auto* decimalRow = new QHBoxLayout(decimal);
    decimalRow->setContentsMargins(0, 0, 0, 0);
    spacing_[r] = BoxFor(c.Text_Spacing[r], TextBoxId::Spacing, row);
    unitLabel_[r] = new QLabel(decimal);
    decimalRow->addWidget(spacing_[r], 1);
    decimalRow->addWidget(unitLabel_[r]);
    sexagesimal_[r] = new QWidget(spacingStack_[r]);
    auto* sexagesimalRow = new QHBoxLayout(sexagesimal_[r]);
    sexagesimalRow->setContentsMargins(0, 0, 0, 0);
    degrees_[r] = BoxFor(c.Text_Grados[r], TextBoxId::Degrees, row, 3);
    minutes_[r] = BoxFor(c.Text_Minutos[r], TextBoxId::Minutes, row, 2);
    seconds_[r] = BoxFor(c.Text_segundos[r], TextBoxId::Seconds, row, 2);
    for (auto [edit, mark] : {std::pair{degrees_[r], c.Label_Grados[r].Caption},
                              std::pair{minutes_[r], c.Label1[r].Caption},
                              std::pair{seconds_[r], c.Label2[r].Caption}}) {
      sexagesimalRow->addWidget(edit, 1);
      sexagesimalRow->addWidget(new QLabel(ToQString(mark), sexagesimal_[r]));
    }
    spacingStack_[r]->addWidget(decimal);
    spacingStack_[r]->addWidget(sexagesimal_[r]);
    grid->addWidget(spacingLabel_[r], row, 0);
    grid->addWidget(coordinateLabel_[r], row, 1);
    grid->addWidget(spacingStack_[r], row, 2);
  }
  hemisphereLabel_ = new QLabel(frameSpacing_);
  north_ = new QRadioButton(frameSpacing_);
  south_ = new QRadioButton(frameSpacing_);
  north_->setAutoExclusive(false);
  south_->setAutoExclusive(false);
  auto* hemispheres = new QHBoxLayout;
  hemispheres->addWidget(north_);
  hemispheres->addWidget(south_);
  hemispheres->addStretch();
  grid->addWidget(hemisphereLabel_, 2, 0);
  grid->addLayout(hemispheres, 2, 1, 1, 2);
  grid->setColumnStretch(2, 1);
  grid->setRowStretch(3, 1);
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
  if (event->type() == QEvent::FocusOut && isVisible()) {
    for (const BoxBinding& binding : boxes_) {
      if (binding.edit == watched) {
        LeaveBox(binding);
      }
    }
  }
  return QWidget::eventFilter(watched, event);
}

bool MainWindow::LeaveBox(const BoxBinding& binding) {
  QLineEdit* edit = binding.edit;
  const ActionResult result = model_.EnterText(binding.box, binding.row, FromQString(edit->text()));
  if (!result.Accepted && model_.FocusedControl() == FromQString(edit->objectName())) {
    // The box holds no number: the focus goes back to it (the model has beeped), and the box
    // says why, since a beep alone tells nothing.
    const QString why = "\"" + edit->text() + "\" is not a number: type a number here.";
    edit->setToolTip(why);
    QToolTip::showText(edit->mapToGlobal(QPoint(0, edit->height())), why, edit);
    QTimer::singleShot(0, edit, [edit] { edit->setFocus(); });
    return false;
  }
  Refresh();
  return true;
}

bool MainWindow::LeaveFocusedBox() {
  for (const BoxBinding& binding : boxes_) {
    if (binding.edit->hasFocus()) {
      return LeaveBox(binding);
    }
  }
  return true;
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

void MainWindow::FocusRead() {
  read_->setFocus();
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
  for (std::size_t i = 0; i < 2; ++i) {
    sexagesimal_[i]->setObjectName(ToQString(c.Frame_Sexagesimal.Name));
    sexagesimal_[i]->setEnabled(c.Frame_Sexagesimal.Enabled);
    ShowPageOf(spacingStack_[i], c.Frame_Sexagesimal.Visible ? 1 : 0);
  }
  optionGroups_->UpdateTabStops();
  AssignMnemonics(this);
}

}  // namespace hextant::ui
