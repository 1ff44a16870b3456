#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#endif

#include <filesystem>
#include <tuple>

#include "conversion/output_file.h"
#include "fakes/platform_fakes.h"
#include "temp_dir.h"

#if defined(_WIN32)
#include <windows.h>  // last: it defines a macro Yield
#endif

namespace hextant::test {
namespace {

namespace fs = std::filesystem;

TEST(DefaultOutputName, ReplacesWhatFollowsTheLastDot) {
  const std::pair<const char*, const char*> cases[] = {
      {"/geo/model.gsf", "/geo/model.HDM"},    {"/geo/x.", "/geo/x.HDM"},
      {"/geo/model", "/geo/model.HDM"},        {"/maps1.2/model", "/maps1.HDM"},
      {"D:\\maps1.2\\model", "D:\\maps1.HDM"},
  };
  for (const auto& [source, expected] : cases) {
    EXPECT_EQ(DefaultOutputName(source).string(), expected) << source;
  }
}

// What marks a file as read-only or hidden: on Windows its own attributes, on POSIX a missing
// write permission and a name that starts with ".".
enum class Mark { None, ReadOnly, Hidden };
#if defined(_WIN32)
constexpr const char* kHiddenName = "hidden.HDM";
#else
constexpr const char* kHiddenName = ".hidden.HDM";
#endif

class OutputChoice : public ::testing::Test {
 protected:
  std::string Existing(const std::string& name, Mark mark = Mark::None) {
    const fs::path path = dir_.File(name);
    WriteBytes(path, {'x'});
#if defined(_WIN32)
    const DWORD added = mark == Mark::ReadOnly ? FILE_ATTRIBUTE_READONLY
                        : mark == Mark::Hidden ? FILE_ATTRIBUTE_HIDDEN
                                               : 0;
    EXPECT_TRUE(SetFileAttributesW(path.c_str(), GetFileAttributesW(path.c_str()) | added));
#else
    if (mark == Mark::ReadOnly) {
      chmod(path.c_str(), 0444);
    }
#endif
    return path.string();
  }

  TempDir dir_;
  ScriptedMessageBoxes messages_;
  ScriptedFileDialogs dialogs_;
  OutputFileChooser chooser_{messages_, dialogs_};
};

TEST_F(OutputChoice, AsksBeforeOverwritingAnOrdinaryFile) {
  fs::path path = Existing("model.HDM");
  messages_.answers = {MessageAnswer::Yes};
  EXPECT_TRUE(chooser_.Choose(path));
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].Title, "Warning");
  EXPECT_EQ(messages_.shown[0].Text, "The file " + path.string() + " already exists, overwrite?");
  EXPECT_EQ(messages_.shown[0].Buttons, MessageButtons::YesNo);

  // No: the save dialog; its choice is tried from the start, a cancel stops.
  const std::string other = dir_.File("other.HDM");
  messages_.answers = {MessageAnswer::No};
  dialogs_.saveAnswers = {other};
  EXPECT_TRUE(chooser_.Choose(path));
  EXPECT_EQ(path, other);
  ASSERT_EQ(dialogs_.saveRequests.size(), 1u);
  EXPECT_EQ(dialogs_.saveRequests.back().Filter, "Geoid Model File|*.HDM*");
  EXPECT_EQ(dialogs_.saveRequests.back().DefaultExtension, "HDM");
  fs::path again = Existing("again.HDM");
  EXPECT_FALSE(chooser_.Choose(again)) << "No, then a cancelled dialog";
}

TEST_F(OutputChoice, RefusesProtectedFilesAndAsksForAnother) {
  const std::tuple<std::string, std::string, std::string> cases[] = {
      {Existing("locked.HDM", Mark::ReadOnly), " and is read only.", ""},
      {Existing(kHiddenName, Mark::Hidden), " and is hidden.", ""},
      {(fs::create_directory(dir_.Path() / "folder.HDM"), dir_.File("folder.HDM")),
       " and is a system file.", "It is a folder."},
  };
  int fresh = 0;
  for (const auto& [protectedPath, ending, detail] : cases) {
    fs::path path = protectedPath;
    messages_.shown.clear();
    dialogs_.saveAnswers = {protectedPath, dir_.File("fresh" + std::to_string(++fresh) + ".HDM")};
    EXPECT_TRUE(chooser_.Choose(path));
    ASSERT_EQ(messages_.shown.size(), 2u) << "the same file chosen again is refused again";
    EXPECT_EQ(messages_.shown[0].Title, "Error");
    EXPECT_EQ(messages_.shown[0].Text, "The file " + protectedPath + " already exists" + ending);
    EXPECT_EQ(messages_.shown[0].Detail, detail);
    EXPECT_NE(path, protectedPath);
  }
}

// A name that cannot be looked at goes to the save dialog without a box; the refusal keeps why.
TEST_F(OutputChoice, ANameThatCannotBeLookedAtGoesToTheDialogWithItsReason) {
  const std::pair<std::string, std::string> cases[] = {
    {dir_.File("missing/model.HDM"), "the folder " + dir_.File("missing") + " does not exist"},
#if !defined(_WIN32)  // Windows refuses such a name only when the file is created, with a box
    {dir_.File(std::string(300, 'n') + ".HDM"), "the system refuses the name: "},
#endif
  };
  for (const auto& [name, refusal] : cases) {
    fs::path path = name;
    EXPECT_FALSE(chooser_.Choose(path));
    EXPECT_TRUE(messages_.shown.empty());
    EXPECT_EQ(chooser_.LastRefusal().rfind(refusal, 0), 0u) << chooser_.LastRefusal();
  }
  EXPECT_EQ(dialogs_.saveRequests.size(), std::size(cases));
}

#if defined(_WIN32)
// A file whose archive attribute was cleared (by a backup, say) carries none of the attributes the
// choice knows: no question, the save dialog at once.
TEST_F(OutputChoice, AFileWithoutAttributesGoesToTheDialogSilently) {
  fs::path path = Existing("plain.HDM");
  ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL));
  if ((GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_ARCHIVE) != 0) {
    GTEST_SKIP() << "this file system keeps no archive attribute";
  }
  const std::string fresh = dir_.File("fresh.HDM");
  dialogs_.saveAnswers = {fresh};
  EXPECT_TRUE(chooser_.Choose(path));
  EXPECT_EQ(path, fresh);
  EXPECT_TRUE(messages_.shown.empty());
  EXPECT_EQ(dialogs_.saveRequests.size(), 1u);
}
#else
TEST_F(OutputChoice, ReportsAFileThatCannotBeCreated) {
  fs::path path = "/proc/hextant-model.HDM";  // the folder exists; nobody may create in it
  EXPECT_FALSE(chooser_.Choose(path));
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(
      messages_.shown[0].Text.rfind("The file /proc/hextant-model.HDM can not been created. ", 0),
      0u)
      << messages_.shown[0].Text;
}
#endif

TEST(SettingsFile, HoldsTheTenLinesWithCrLf) {
  TempDir dir;
  const std::string model = dir.File("model.HDM");
  ASSERT_TRUE(WriteSettingsFile(model, "ENGLISH", "9 Points"));
  const auto bytes = ReadBytes(dir.File("HdmToTarvo.INI"));
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()),
            "#   File name geoid model\r\n"
            "[File]=model.HDM\r\n"
            "#   ENGLISH \r\n"
            "#   SPANISH \r\n"
            "[Language]=ENGLISH\r\n"
            "#   1    -> Interpolation by 4 Points  (bilinear)\r\n"
            "#   2    -> Interpolation by 16 Points (bispline)\r\n"
            "#   3    -> Interpolation by 9 Points  (biquadratic) \r\n"
            "#   4    -> Interpolation by 4 Points ReciprocalDistance\r\n"
            "[Interpolation]=3\r\n");
  EXPECT_EQ(InterpolationCode("4 Points"), "1");
  EXPECT_EQ(InterpolationCode("16 Points"), "2");
  EXPECT_EQ(InterpolationCode("12 Points"), "12 Points");
  EXPECT_FALSE(WriteSettingsFile(dir.File("missing/model.HDM"), "ENGLISH", "4 Points"));
}

#if !defined(_WIN32)
// A settings file that cannot be written whole leaves the earlier one as it was, never empty.
TEST(SettingsFile, AFailedWriteKeepsTheEarlierFile) {
  TempDir dir;
  const std::string model = dir.File("model.HDM");
  ASSERT_TRUE(WriteSettingsFile(model, "ENGLISH", "9 Points"));
  const auto before = ReadBytes(dir.File("HdmToTarvo.INI"));
  Status written = Status::Ok();
  // The ten lines take about 380 bytes.
  WithFileSizeLimit(100, [&] { written = WriteSettingsFile(model, "ENGLISH", "4 Points"); });
  ASSERT_FALSE(written);
  EXPECT_NE(written.Description().find("HdmToTarvo.INI could not be written: File too large"),
            std::string::npos)
      << written.Description();
  EXPECT_EQ(ReadBytes(dir.File("HdmToTarvo.INI")), before);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);
}
#endif

}  // namespace
}  // namespace hextant::test
