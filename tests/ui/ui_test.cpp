// The windows bound to their models, driven through their widgets on Qt's offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <vector>

#include "fakes/platform_fakes.h"
#include "temp_dir.h"
#include "ui/hextant_app.h"
#include "ui/main_window.h"
#include "ui/qt_platform.h"
#include "ui/wizard_pages.h"

namespace hextant::test {
namespace {

namespace fs = std::filesystem;

class NoBeep : public Beeper {
 public:
  void Beep() override { ++beeps; }
  int beeps = 0;
};

class NoYield : public EventLoop {
 public:
  void Yield() override {}
};

class Windows : public ::testing::Test {
 protected:
  Windows() : app_({messages_, dialogs_, beeper_, events_, page_}, {1, 3, 1}) { app_.Start(); }

  template <typename T>
  T* Find(QWidget& window, const char* name) {
    T* widget = window.findChild<T*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  void Choose(QComboBox* combo, int index) {
    combo->setCurrentIndex(index);
    emit combo->activated(index);
  }
  void Type(QWidget& window, const char* name, const char* text) {
    auto* edit = Find<QLineEdit>(window, name);
    edit->setFocus();
    QTest::keyClicks(edit, text);
    Find<QComboBox>(window, "Combo_Interpolation")->setFocus();  // leaves the box
  }

  // Through the main window (decimal degrees, 0.25° spacings), the welcome page and the layout
  // page ("Space") to the column page of `source`.
  ui::ColumnPage* OpenColumnPage(const std::string& source) {
    dialogs_.openAnswers.push_back(source);
    QWidget& main = app_.Main();
    QApplication::setActiveWindow(&main);
    Find<QPushButton>(main, "Command_Change_file")->click();
    Find<QRadioButton>(main, "Option_Angular_units(2)")->click();
    Type(main, "Text_Spacing(0)", "0.25");
    Type(main, "Text_Spacing(1)", "0.25");
    Find<QPushButton>(main, "Command_Read_File")->click();
    Find<QPushButton>(app_.Welcome(), "Command_Next")->click();
    if (app_.Layout() == nullptr) {
      ADD_FAILURE() << "no layout page; messages: " << messages_.shown.size();
      return nullptr;
    }
    QWidget& layout = *app_.Layout();
    Find<QRadioButton>(layout, "Option_Delimiter(3)")->click();  // "Space"
    EXPECT_EQ(Find<QTableWidget>(layout, "Grid_Preview")->columnCount(), 3);
    Find<QPushButton>(layout, "Command_Next")->click();
    return app_.Columns();
  }

  TempDir dir_;
  ScriptedMessageBoxes messages_;
  ScriptedFileDialogs dialogs_;
  NoBeep beeper_;
  NoYield events_;
  RecordingPage page_;
  ui::HextantApp app_;
};

TEST_F(Windows, MainWindowDrawsItsModel) {
  QWidget& main = app_.Main();
  EXPECT_EQ(main.windowTitle(), "Hextant");
  EXPECT_TRUE(Find<QRadioButton>(main, "Option_Coordinate_type(0)")->isChecked());
  EXPECT_EQ(Find<QLabel>(main, "Label_Units(0)")->text(), "rad");
  EXPECT_EQ(Find<QLabel>(main, "Label4")->text(), " v1.3.1  ");
  EXPECT_FALSE(Find<QRadioButton>(main, "Option_Linear_Units(1)")->isEnabled());

  Choose(Find<QComboBox>(main, "Combo_Filter"), 3);  // Switzerland
  auto* grid = Find<QRadioButton>(main, "Option_Coordinate_type(1)");
  EXPECT_TRUE(grid->isChecked());
  EXPECT_FALSE(grid->isEnabled());
  EXPECT_EQ(Find<QLabel>(main, "Label_Coordinate_Type(0)")->text(), "E");
  EXPECT_EQ(Find<QLineEdit>(main, "Text_Spacing(0)")->text(), "1000");
}

TEST_F(Windows, ANumberBoxKeepsTheFocusUntilItHoldsANumber) {
  QWidget& main = app_.Main();
  QApplication::setActiveWindow(&main);
  Type(main, "Text_Spacing(0)", "1a");
  EXPECT_EQ(beeper_.beeps, 1);
  EXPECT_EQ(app_.Settings().SpacingX, 0.0);
  EXPECT_EQ(Find<QLineEdit>(main, "Text_Spacing(0)")->toolTip(),
            "\"1a\" is not a number: type a number here.")
      << "the box says why it keeps the focus";
}

// Folder and file names in any script reach the reader unchanged; Enter presses Read, then Next >.
class NationalWindows : public Windows, public ::testing::WithParamInterface<const char*> {};

TEST_P(NationalWindows, ConvertsFromAnyFolderWithTheKeyboard) {
  const fs::path folder = dir_.Path() / fs::u8path(GetParam());
  fs::create_directories(folder);
  const fs::path source = folder / fs::u8path("català.gr");
  fs::copy_file(HEXTANT_SAMPLES_DIR "/catalunya_egm96.gr", source);
  dialogs_.openAnswers.push_back(source);
  QWidget& main = app_.Main();
  QApplication::setActiveWindow(&main);
  Find<QPushButton>(main, "Command_Change_file")->click();
  EXPECT_EQ(ui::PathFromQString(Find<QLineEdit>(main, "uxFile")->text()), source);
  Choose(Find<QComboBox>(main, "Combo_Filter"), 7);  // Catalunya GR file
  Find<QComboBox>(main, "Combo_Filter")->setFocus();
  QSignalSpy finished(&app_, &ui::HextantApp::finished);
  QTest::keyClick(&main, Qt::Key_Return);
  ASSERT_NE(app_.Columns(), nullptr) << "Enter presses Read";
  EXPECT_FALSE(main.isVisible());
  EXPECT_EQ(Find<QTableWidget>(*app_.Columns(), "Grid_Preview")->rowCount(), 51);

  QTest::keyClick(app_.Columns(), Qt::Key_Return);
  ASSERT_EQ(page_.results.size(), 1u) << "Enter presses Next >";
  EXPECT_EQ(page_.results[0].Points, " 7081");
  EXPECT_EQ(finished.count(), 1);
  EXPECT_TRUE(fs::exists(folder / fs::u8path("català.HDM")));
  EXPECT_TRUE(fs::exists(folder / "HdmToTarvo.INI"));
}

// Closing the conversion page by its title bar ends the program, as Cancel does, and writes
// nothing.
// A grid file fills in and locks its own spacings; the conversion page shows its header.
TEST_F(Windows, AGridFileConvertsWithTheKeyboardShowingWhatItHolds) {
  const fs::path source = dir_.Path() / "model.isg";
  fs::copy_file(HEXTANT_SAMPLES_DIR "/isg20_egm96_dms.isg", source);
  dialogs_.openAnswers.push_back(source);
  QWidget& main = app_.Main();
  QApplication::setActiveWindow(&main);
  Choose(Find<QComboBox>(main, "Combo_Filter"), 9);
  Find<QPushButton>(main, "Command_Change_file")->click();
  for (const char* name : {"Text_Spacing(0)", "Text_Spacing(1)"}) {
    EXPECT_EQ(Find<QLineEdit>(main, name)->text(), "0.25");
    EXPECT_FALSE(Find<QLineEdit>(main, name)->isEnabled());
  }
  EXPECT_TRUE(Find<QComboBox>(main, "Combo_Ellipsoid")->isEnabled());
  Find<QComboBox>(main, "Combo_Filter")->setFocus();
  QTest::keyClick(&main, Qt::Key_Return);
  ASSERT_NE(app_.Columns(), nullptr) << "Enter presses Read";
  auto* preview = Find<QTableWidget>(*app_.Columns(), "Grid_Preview");
  ASSERT_EQ(preview->rowCount(), 7);
  EXPECT_EQ(preview->item(0, 0)->text(), "ISG 2.0, model EGM96 (Alps, 15' nodes)");
  EXPECT_EQ(preview->item(2, 0)->text(), "Longitude 5\u00b0 to 15\u00b0, every 0.25\u00b0");
  EXPECT_EQ(preview->item(4, 0)->text(), "21 rows \u00d7 41 columns");
  EXPECT_EQ(preview->item(5, 0)->text(), "Values in meters; no data: -9999");
  EXPECT_EQ(preview->item(6, 0)->text(), "Nodes without value: 5");
  QTest::keyClick(app_.Columns(), Qt::Key_Return);
  ASSERT_EQ(page_.results.size(), 1u) << "Enter presses Next >";
  EXPECT_EQ(page_.results[0].Points, " 861");
  EXPECT_TRUE(fs::exists(dir_.Path() / "model.HDM"));
}

TEST_F(Windows, ClosingAPageEndsTheProgramAsCancelDoes) {
  const fs::path source = dir_.Path() / "sample.gr";
  fs::copy_file(HEXTANT_SAMPLES_DIR "/catalunya_egm96.gr", source);
  dialogs_.openAnswers.push_back(source);
  QWidget& main = app_.Main();
  Find<QPushButton>(main, "Command_Change_file")->click();
  Choose(Find<QComboBox>(main, "Combo_Filter"), 7);  // Catalunya GR file
  QSignalSpy finished(&app_, &ui::HextantApp::finished);
  Find<QPushButton>(main, "Command_Read_File")->click();
  ASSERT_NE(app_.Columns(), nullptr);
  app_.Columns()->close();
  EXPECT_EQ(finished.count(), 1);
  EXPECT_TRUE(page_.results.empty());
  EXPECT_FALSE(fs::exists(dir_.Path() / "sample.HDM"));
}

INSTANTIATE_TEST_SUITE_P(FolderNames, NationalWindows,
                         ::testing::Values("Geoide", "été Ø", "模型"));

// Declining to overwrite and then cancelling the save dialog writes nothing, and the page says so.
TEST_F(Windows, ACancelledSaveLeavesThePageSayingNothingWasWritten) {
  const fs::path source = dir_.Path() / "model.gr";
  fs::copy_file(HEXTANT_SAMPLES_DIR "/catalunya_egm96.gr", source);
  std::ofstream(dir_.Path() / "model.HDM") << "earlier";
  dialogs_.openAnswers.push_back(source);
  QWidget& main = app_.Main();
  Find<QPushButton>(main, "Command_Change_file")->click();
  Choose(Find<QComboBox>(main, "Combo_Filter"), 7);
  Find<QPushButton>(main, "Command_Read_File")->click();
  Find<QPushButton>(*app_.Columns(), "Command_Next")->click();
  EXPECT_EQ(dialogs_.saveRequests.size(), 1u);
  EXPECT_EQ(Find<QGroupBox>(*app_.Columns(), "Frame1")->title().remove('&'),
            "Status : No model was written");
  EXPECT_EQ(fs::file_size(dir_.Path() / "model.HDM"), 7u);
  EXPECT_FALSE(fs::exists(dir_.Path() / "HdmToTarvo.INI"));
}

// Backing out of a national format's conversion page and then choosing the wizard leads to a
// conversion page whose grid takes right-clicks and whose status starts afresh.
TEST_F(Windows, TheWizardAfterANationalFormatStartsAfresh) {
  const fs::path national = dir_.Path() / "model.gr";
  const fs::path text = dir_.Path() / "model.xyz";
  fs::copy_file(HEXTANT_SAMPLES_DIR "/catalunya_egm96.gr", national);
  fs::copy_file(HEXTANT_SAMPLES_DIR "/generic_egm96.xyz", text);
  dialogs_.openAnswers = {national, text};
  QWidget& main = app_.Main();
  Find<QPushButton>(main, "Command_Change_file")->click();
  Choose(Find<QComboBox>(main, "Combo_Filter"), 7);
  Find<QPushButton>(main, "Command_Read_File")->click();
  Find<QPushButton>(*app_.Columns(), "Command_Back")->click();
  ASSERT_TRUE(main.isVisible());

  Find<QPushButton>(main, "Command_Change_file")->click();
  Choose(Find<QComboBox>(main, "Combo_Filter"), 0);  // Use Import Wizard
  Find<QRadioButton>(main, "Option_Angular_units(2)")->click();
  Type(main, "Text_Spacing(0)", "0.25");
  Type(main, "Text_Spacing(1)", "0.25");
  Find<QPushButton>(main, "Command_Read_File")->click();
  Find<QPushButton>(app_.Welcome(), "Command_Next")->click();
  Find<QRadioButton>(*app_.Layout(), "Option_Delimiter(3)")->click();
  Find<QPushButton>(*app_.Layout(), "Command_Next")->click();
  ui::ColumnPage& columns = *app_.Columns();
  EXPECT_TRUE(Find<QTableWidget>(columns, "Grid_Preview")->isEnabled());
  EXPECT_EQ(Find<QGroupBox>(columns, "Frame1")->title().remove('&'), "Status : Reading file");
}

// The preview is one Tab stop: Tab enters it once and leaves it at the next press, the arrow keys
// move its current cell, the menu key opens the role menu of the current column, and the current
// cell stays where it was when its column receives the role.
TEST_F(Windows, ThePreviewIsOneTabStopThatKeepsItsCurrentCell) {
  const fs::path source = dir_.Path() / "grid.xyz";
  fs::copy_file(HEXTANT_SAMPLES_DIR "/generic_egm96.xyz", source);
  ui::ColumnPage* columns = OpenColumnPage(source.string());
  ASSERT_NE(columns, nullptr);
  QApplication::setActiveWindow(columns);
  auto* preview = Find<QTableWidget>(*columns, "Grid_Preview");
  const std::vector<QWidget*> cycle{preview, Find<QPushButton>(*columns, "Command_Back"),
                                    Find<QPushButton>(*columns, "Command_Next"),
                                    Find<QPushButton>(*columns, "Command_Cancel")};
  cycle.back()->setFocus();
  std::vector<QWidget*> stops;
  for (std::size_t i = 0; i < 2 * cycle.size(); ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    stops.push_back(QApplication::focusWidget());
  }
  std::vector<QWidget*> twice = cycle;
  twice.insert(twice.end(), cycle.begin(), cycle.end());
  EXPECT_EQ(stops, twice);
  cycle[1]->setFocus();
  QTest::keyClick(cycle[1], Qt::Key_Tab, Qt::ShiftModifier);
  EXPECT_EQ(QApplication::focusWidget(), preview);

  for (Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Right}) {
    QTest::keyClick(preview, key);
  }
  ASSERT_EQ(preview->currentRow(), 3);
  ASSERT_EQ(preview->currentColumn(), 1);
  QTimer::singleShot(0, [] {
    QWidget* menu = QApplication::activePopupWidget();
    auto* latitude = menu != nullptr ? menu->findChild<QAction*>("Menu_Y") : nullptr;
    if (latitude != nullptr) {
      latitude->trigger();
    }
    if (menu != nullptr) {
      menu->close();
    }
  });
  // The menu key, as the window passes it on to the widget with the focus.
  QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(), QPoint());
  QApplication::sendEvent(preview, &menuKey);
  EXPECT_EQ(preview->horizontalHeaderItem(1)->text(), "Latitude");
  EXPECT_EQ(preview->currentRow(), 3);
  EXPECT_EQ(preview->currentColumn(), 1);
  EXPECT_EQ(columns->focusWidget(), preview);
}

// Through the wizard with the GDAL sample; with one node line left out the grid is irregular and
// the main window comes back.
class WizardWindows : public Windows, public ::testing::WithParamInterface<bool> {};

TEST_P(WizardWindows, ConvertThroughTheImportWizard) {
  const bool complete = GetParam();
  const std::string source = dir_.File("grid.xyz");
  std::ifstream in(HEXTANT_SAMPLES_DIR "/generic_egm96.xyz");
  std::ofstream out(source);
  int lineNumber = 0;
  for (std::string line; std::getline(in, line);) {
    if (complete || ++lineNumber != 100) {
      out << line << "\n";
    }
  }
  out.close();
  ui::ColumnPage* page = OpenColumnPage(source);
  ASSERT_NE(page, nullptr);
  ui::ColumnPage& columns = *page;
  QWidget& main = app_.Main();
  Find<QPushButton>(columns, "Command_Next")->click();  // no column has a role yet
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].Text, "Assigning Longitude to a column");
  EXPECT_EQ(messages_.shown[0].Detail, "Roles without a column: Longitude, Latitude, Separation");
  for (std::int16_t role = 1; role <= 3; ++role) {
    columns.ChooseRole(role, role);
  }
  auto* preview = Find<QTableWidget>(columns, "Grid_Preview");
  EXPECT_EQ(preview->horizontalHeaderItem(1)->text(), "Latitude");
  EXPECT_TRUE(preview->horizontalHeaderItem(1)->font().bold());
  Find<QPushButton>(columns, "Command_Next")->click();
  if (complete) {
    ASSERT_EQ(page_.results.size(), 1u);
    EXPECT_EQ(page_.results[0].Points, " 1681");
  } else {
    EXPECT_EQ(messages_.shown.back().Text, "THE GRID IS NOT REGULAR");
    EXPECT_TRUE(page_.results.empty());
    EXPECT_FALSE(columns.isVisible());
    EXPECT_TRUE(main.isVisible()) << "back to the main window to read again";
  }
}

INSTANTIATE_TEST_SUITE_P(CompleteAndIrregular, WizardWindows, ::testing::Bool());

}  // namespace
}  // namespace hextant::test

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
