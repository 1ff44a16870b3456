#include "wizard_pages.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "keyboard.h"
#include "preview_table.h"
#include "progress_track.h"
#include "widget_binding.h"

namespace hextant::ui {
namespace {

QTableWidget* PreviewTable(QWidget* parent) {
  auto* table = new QTableWidget(parent);
  table->setObjectName("Grid_Preview");
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  // One Tab stop, as every group of the page: Tab leaves the grid, the arrow keys move in it.
  table->setTabKeyNavigation(false);
  table->setMinimumSize(360, 160);
  return table;
}

QLineEdit* FileBox(QWidget* parent) {
  auto* box = new QLineEdit(parent);
  box->setReadOnly(true);
  box->setFocusPolicy(Qt::ClickFocus);  // it only shows which file the page previews
  return box;
}

// A row of widgets kept together at the left of a grid cell, whatever the page's width.
QHBoxLayout* Row(std::initializer_list<QWidget*> widgets) {
  auto* row = new QHBoxLayout;
  for (QWidget* widget : widgets) {
    row->addWidget(widget);
  }
  row->addStretch();
  return row;
}

}  // namespace

void WizardPage::closeEvent(QCloseEvent* event) {
  event->accept();
  emit cancelled();
}

QWidget* WizardPage::ButtonRow() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  backButton_ = new QPushButton("< Back", row);
  backButton_->setObjectName("Command_Back");
  nextButton_ = new QPushButton("Next >", row);
  nextButton_->setObjectName("Command_Next");
  auto* cancel = new QPushButton("Cancel", row);
  cancel->setObjectName("Command_Cancel");
  layout->addStretch();
  layout->addWidget(backButton_);
  layout->addWidget(nextButton_);
  layout->addWidget(cancel);
  setTabOrder(backButton_, nextButton_);
  setTabOrder(nextButton_, cancel);
  enterKey_ = new EnterKey(this, nextButton_);
  nextButton_->setFocus();
  connect(backButton_, &QPushButton::clicked, this, &WizardPage::back);
  connect(nextButton_, &QPushButton::clicked, this, &WizardPage::next);
  connect(cancel, &QPushButton::clicked, this, &WizardPage::cancelled);
  return row;
}

WelcomePage::WelcomePage(QWidget* parent) : WizardPage(parent) {
  setObjectName("Form_Import_Wizard");
  setWindowTitle("Hextant");
  setMinimumWidth(520);
  auto* layout = new QVBoxLayout(this);
  const char* texts[] = {
      "Welcome to the Hextant Wizard",
      "This wizard allows a geoid model to be read from a delimited text file and transform it "
      "into a format to be used with the Tarvo program.",
      "The geoid model file can have any number of columns and be delimited by any character but "
      "must contain the following information:",
      "Latitude, Longitude, Geoid-Ellipsoid separation",
      "or",
      "Grid Easting, Grid Northing, Geoid-Ellipsoid separation",
      "To continue, click the Next button."};
  int index = 1;
  for (const char* text : texts) {
    auto* label = new QLabel(text, this);
    label->setObjectName(QString("Label%1").arg(index++));
    label->setWordWrap(true);
    layout->addWidget(label);
  }
  QFont title = layout->itemAt(0)->widget()->font();
  title.setBold(true);
  title.setPointSize(title.pointSize() + 4);
  layout->itemAt(0)->widget()->setFont(title);
  layout->addStretch();
  layout->addWidget(ButtonRow());
  AssignMnemonics(this);
}

LayoutPage::LayoutPage(LayoutPageModel& model, QWidget* parent)
    : WizardPage(parent), model_(model) {
  setObjectName("Form_Reader_2");
  auto* layout = new QVBoxLayout(this);
  uxFile_ = FileBox(this);
  layout->addWidget(uxFile_);
  auto* options = new QHBoxLayout;
  auto* lineFrame = new QGroupBox("Start import at line:", this);
  lineFrame->setObjectName("Frame_import_line");
  startLine_ = new QComboBox(lineFrame);
  startLine_->setEditable(true);
  (new QVBoxLayout(lineFrame))->addWidget(startLine_);
  options->addWidget(lineFrame);
  auto* delimiterFrame = new QGroupBox("Delimiter character", this);
  delimiterFrame->setObjectName("Frame_Delimiter_character");
  auto* rows = new QVBoxLayout(delimiterFrame);
  rows->addWidget(new QLabel("Define the character that delimits the data columns"));
  auto* optionGroups = new OptionGroups(this);
  for (std::size_t i = 0; i < delimiter_.size(); ++i) {
    delimiter_[i] = new QRadioButton(delimiterFrame);
    delimiter_[i]->setAutoExclusive(false);
    connect(delimiter_[i], &QRadioButton::clicked, this, [this, i] {
      const BusyCursor busy;
      model_.SelectDelimiter(static_cast<int>(i));
      Refresh();
    });
  }
  optionGroups->Add({delimiter_.begin(), delimiter_.end()});
  optionGroups_ = optionGroups;
  other_ = new QLineEdit(delimiterFrame);
  other_->setObjectName("Text_Delimiter");
  other_->setMaximumWidth(60);
  columns_ = new QLineEdit(delimiterFrame);
  columns_->installEventFilter(this);
  refresh_ = new QPushButton(delimiterFrame);
  refresh_->setToolTip("Refresh preview of file");
  merge_ = new QCheckBox(delimiterFrame);
  // Tab, Semi-colon, Comma; Space, Other and its box; Columns, its box and Refresh.
  rows->addLayout(Row({delimiter_[0], delimiter_[1], delimiter_[2]}));
  rows->addLayout(Row({delimiter_[3], delimiter_[4], other_}));
  rows->addLayout(Row({delimiter_[5], columns_, refresh_}));
  rows->addWidget(merge_);
  options->addWidget(delimiterFrame, 1);
  layout->addLayout(options);
  preview_ = PreviewTable(this);
  layout->addWidget(preview_, 1);
  layout->addWidget(ButtonRow());
  enterKey_->KeepEnterIn(columns_);
  startLine_->setInsertPolicy(QComboBox::NoInsert);

  connect(startLine_, &QComboBox::activated, this, [this](int i) {
    const BusyCursor busy;
    model_.ChooseStartLine(i);
    Refresh();
  });
  connect(other_, &QLineEdit::textEdited, this,
          [this](const QString& text) { model_.TypeOtherDelimiter(FromQString(text)); });
  connect(columns_, &QLineEdit::textEdited, this,
          [this](const QString& text) { model_.TypeColumnWidths(FromQString(text)); });
  connect(columns_, &QLineEdit::returnPressed, this, [this] {
    const BusyCursor busy;
    model_.PressEnterInColumns();
    Refresh();
  });
  connect(refresh_, &QPushButton::clicked, this, [this] {
    const BusyCursor busy;
    model_.Refresh();
    Refresh();
  });
  connect(merge_, &QCheckBox::clicked, this, [this](bool merge) {
    const BusyCursor busy;
    model_.SetMergeDelimiters(merge);
    Refresh();
  });
  Refresh();
}

bool LayoutPage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == columns_ && event->type() == QEvent::FocusIn &&
      !model_.Option_Delimiter[DelimiterColumns].Value) {
    model_.SelectDelimiter(DelimiterColumns);  // entering the box selects "Columns"
    Refresh();
  }
  return WizardPage::eventFilter(watched, event);
}

void LayoutPage::Refresh() {
  setWindowTitle(ToQString(model_.Caption));
  Draw(uxFile_, model_.uxFile);
  Draw(startLine_, model_.Combo_import_line);
  for (std::size_t i = 0; i < delimiter_.size(); ++i) {
    Draw(delimiter_[i], model_.Option_Delimiter[i]);
  }
  Draw(other_, model_.Text_Delimiter);
  Draw(columns_, model_.Text_Columns);
  Draw(refresh_, model_.cmdRefresh);
  Draw(merge_, model_.Check_Delimiter);
  DrawPreview(preview_, model_.Grid_Preview);
  optionGroups_->UpdateTabStops();
  AssignMnemonics(this);
}

ColumnPage::ColumnPage(ColumnPageModel& model, QWidget* parent)
    : WizardPage(parent), model_(model) {
  setObjectName("Form_Reader_3");
  auto* layout = new QVBoxLayout(this);
  uxFile_ = FileBox(this);
  info_ = new QLabel(this);
  preview_ = PreviewTable(this);
  preview_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(preview_, &QTableWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    // A right-click: the column under the mouse; the label column is the header.
    ShowRoleMenu(preview_->columnAt(at.x()) + 1, preview_->viewport()->mapToGlobal(at));
  });
  preview_->installEventFilter(this);
  status_ = new QGroupBox(this);
  auto* statusLayout = new QHBoxLayout(status_);
  track_ = new ProgressTrack(status_);
  bar_ = track_->Bar();
  percent_ = new QLabel(status_);
  percent_->setMinimumWidth(percent_->fontMetrics().horizontalAdvance("100 %") + 8);
  statusLayout->addWidget(track_, 1);
  statusLayout->addWidget(percent_);
  layout->addWidget(uxFile_);
  layout->addWidget(info_);
  layout->addWidget(preview_, 1);
  layout->addWidget(status_);
  layout->addWidget(ButtonRow());
  Refresh();
}

void ColumnPage::Refresh() {
  setWindowTitle(ToQString(model_.Caption));
  Draw(uxFile_, model_.uxFile);
  Draw(info_, model_.Label_info);
  Draw(status_, model_.Frame1);
  Draw(percent_, model_.Label_Progres);
  AssignMnemonics(this);
  bar_->setVisible(model_.ProgressBarVisible);
  preview_->setEnabled(model_.GridEnabled);
  DrawPreview(preview_, model_.Grid_Preview);
}

bool ColumnPage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == preview_ && event->type() == QEvent::ContextMenu &&
      static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
    const QRect cell = preview_->visualRect(preview_->currentIndex());
    ShowRoleMenu(preview_->currentColumn() + 1, preview_->viewport()->mapToGlobal(cell.center()));
    return true;
  }
  return WizardPage::eventFilter(watched, event);
}

void ColumnPage::ShowRoleMenu(int column, const QPoint& position) {
  if (column < 1 || !model_.RightClick(column)) {
    return;
  }
  QMenu menu(this);
  auto addEntries = [&](const auto& entries, const char* name) {
    menu.setObjectName(name);
    for (const MenuEntry& entry : entries) {
      QAction* action = menu.addAction(ToQString(entry.Caption));
      action->setObjectName(ToQString(entry.Name));
      action->setCheckable(true);
      action->setChecked(entry.Checked);
      connect(action, &QAction::triggered, this,
              [this, column, role = entry.Role] { ChooseRole(column, role); });
    }
  };
  if (model_.UsesSexagesimalMenu()) {
    addEntries(model_.Menu_Coordinate_Sexa, "Menu_Coordinate_Sexa");
  } else {
    addEntries(model_.Menu_Coordinate, "Menu_Coordinate");
  }
  menu.exec(position);
}

void ColumnPage::ChooseRole(int column, std::int16_t role) {
  if (model_.RightClick(column)) {
    model_.ToggleRole(role);
  }
  Refresh();
}

void ColumnPage::ShowProgressBar() {
  model_.ProgressBarVisible = true;
  bar_->setVisible(true);
}

void ColumnPage::SetProgress(int percent) {
  track_->SetShare(ProgressBarWidth(percent) / ProgressBarWidth(100));
  model_.Label_Progres.Caption = std::to_string(percent) + " %";
  percent_->setText(ToQString(model_.Label_Progres.Caption));
}

void ColumnPage::SetProgressCaption(const std::string& caption) {
  model_.Label_Progres.Caption = caption;
  percent_->setText(ToQString(caption));
}

void ColumnPage::SetStatus(const std::string& caption) {
  model_.Frame1.Caption = caption;
  status_->setTitle(ToQString(caption));
}

}  // namespace hextant::ui
