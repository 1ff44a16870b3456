// Windows' own paths through the windows, under Wine: sources on drive Z: in folders named in
// several scripts, and models whose target the file system marks read-only, hidden or system.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "fakes/platform_fakes.h"
#include "hdmfile/hdm_reader.h"
#include "platform/file_system.h"
#include "ui/hextant_app.h"
#include "ui/main_window.h"
#include "ui/wizard_pages.h"

// Last: its macros (CreateWindow) would rename the declarations of the headers above.
#include <windows.h>

namespace hextant::test {
namespace {

namespace fs = std::filesystem;

std::string Contents(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A folder on drive Z: (Wine's view of the whole Unix file system) named `name`, holding a
// Catalunya GR source.
class WindowsPaths : public ::testing::Test {
 protected:
  explicit WindowsPaths(const char* name = "Géoïde Ø 模型")
      : folder_(fs::path(HEXTANT_WINDOWS_WORK_DIR).make_preferred() / fs::u8path(name)) {
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    fs::copy_file(HEXTANT_SAMPLES_DIR "/catalunya_egm96.gr", source_);
  }
  ~WindowsPaths() override {
    for (const auto& entry : fs::directory_iterator(folder_)) {
      SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    fs::remove_all(folder_);
  }

  // Starts the program afresh, reads the source as a Catalunya GR file through the main window and
  // presses Next >.
  void Convert() {
    app_ = std::make_unique<ui::HextantApp>(
        ui::AppPlatform{messages_, dialogs_, beeper_, page_, page_}, ProgramVersion{1, 3, 1});
    app_->Start();
    dialogs_.openAnswers.push_back(source_);
    QWidget& main = app_->Main();
    main.findChild<QPushButton*>("Command_Change_file")->click();
    auto* formats = main.findChild<QComboBox*>("Combo_Filter");
    formats->setCurrentIndex(7);  // Catalunya GR file
    emit formats->activated(7);
    main.findChild<QPushButton*>("Command_Read_File")->click();
    ASSERT_NE(app_->Columns(), nullptr) << "the source was not read";
    app_->Columns()->findChild<QPushButton*>("Command_Next")->click();
    status_ = app_->Columns()->findChild<QGroupBox*>("Frame1")->title().toStdString();
  }

  const fs::path folder_;
  const fs::path source_ = folder_ / "model.gr";
  const fs::path model_ = folder_ / "model.HDM";
  ScriptedMessageBoxes messages_;
  ScriptedFileDialogs dialogs_;
  CountingBeeper beeper_;
  RecordingPage page_;
  std::unique_ptr<ui::HextantApp> app_;
  std::string status_;  // the conversion page's status after Next >
};

// Paths travel wide or as UTF-8 from the file dialog to the writer library: a folder is converted
// from whether or not the system code page holds its name (Chinese under Wine's Western one).
class NamedFolders : public WindowsPaths, public ::testing::WithParamInterface<const char*> {
 protected:
  NamedFolders() : WindowsPaths(GetParam()) {}
};

TEST_P(NamedFolders, ConvertOnDriveZ) {
  ASSERT_EQ(folder_.native().substr(0, 3), L"Z:\\");
  Convert();
  ASSERT_EQ(page_.results.size(), 1u) << status_;
  EXPECT_EQ(page_.results[0].OutputFile, PathText(model_));
  EXPECT_EQ(page_.results[0].Points, " 7081");
  const hdm::HdmReadResult model = hdm::ReadHdmFile(PathText(model_));
  ASSERT_TRUE(model.model.has_value()) << model.error;
  EXPECT_EQ(model.model->nodes, 7081);
  EXPECT_NE(Contents(folder_ / "HdmToTarvo.INI").find("[File]=model.HDM\r\n"), std::string::npos);
  EXPECT_TRUE(messages_.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(Scripts, NamedFolders, ::testing::Values("Géoïde Ø", "Géoïde Ø 模型"));

// A target marked read-only, hidden or system is refused with its reason and the save dialog asks
// for another name; one with only the archive mark is overwritten after a Yes.
TEST_F(WindowsPaths, MarkedTargetsAreHandledAsTheMessageBoxesSay) {
  const struct {
    DWORD attributes;
    const char* says;
    bool overwritten;
  } cases[] = {
      {FILE_ATTRIBUTE_READONLY, " already exists and is read only.", false},
      {FILE_ATTRIBUTE_HIDDEN, " already exists and is hidden.", false},
      {FILE_ATTRIBUTE_SYSTEM, " already exists and is a system file.", false},
      {FILE_ATTRIBUTE_ARCHIVE, " already exists, overwrite?", true},
  };
  const fs::path other = folder_ / fs::u8path("modèle neuf.HDM");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.says);
    for (const fs::path& file : {model_, other, folder_ / "HdmToTarvo.INI"}) {
      SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
      fs::remove(file);
    }
    std::ofstream(model_) << "earlier";
    ASSERT_TRUE(SetFileAttributesW(model_.c_str(), c.attributes));
    messages_.shown.clear();
    messages_.answers = {MessageAnswer::Yes};
    dialogs_.saveAnswers = {other};
    page_.results.clear();
    Convert();

    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].Text, "The file " + PathText(model_) + c.says);
    EXPECT_EQ(messages_.shown[0].Buttons,
              c.overwritten ? MessageButtons::YesNo : MessageButtons::Ok);
    ASSERT_EQ(page_.results.size(), 1u);
    EXPECT_EQ(page_.results[0].OutputFile, PathText(c.overwritten ? model_ : other));
    EXPECT_EQ(Contents(model_) == "earlier", !c.overwritten);
    EXPECT_EQ(fs::exists(other), !c.overwritten);
    EXPECT_EQ(GetFileAttributesW(model_.c_str()) & c.attributes, c.attributes)
        << "the mark stays on the file";
  }
}

}  // namespace
}  // namespace hextant::test
