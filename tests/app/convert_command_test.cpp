#include <gtest/gtest.h>

#include <set>

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>

#include "app/convert_command.h"
#include "app/convert_options.h"
#include "app/convert_terminal.h"
#include "fakes/platform_fakes.h"
#include "grids/grid_file.h"
#include "readers/source_formats.h"
#include "temp_dir.h"

namespace hextant::test {
namespace {

struct Outcome {
  int status;
  std::string out, err;
};

Outcome Convert(std::vector<std::string> args) {
  std::ostringstream out, err;
  const int status = RunConvertCommand(args, out, err, false);
  return {status, out.str(), err.str()};
}

class ConvertCommand : public ::testing::Test {
 protected:
  ConvertCommand() {
    source_ = dir_.File("model.gr");
    std::filesystem::copy_file(HEXTANT_SAMPLES_DIR "/catalunya_egm96.gr", source_);
  }
  TempDir dir_;
  std::string source_;
};

TEST_F(ConvertCommand, RefusesBadUsageWithStatus2) {
  const std::vector<std::string> cases[] = {
      {},
      {source_},
      {"--format", "atlantis", source_},
      {"--format", "catalunya", "--coordinates", "polar", source_},
      {"--format", "catalunya", "--bogus", source_},
      {"--format", "catalunya", "--spacing-x-dms", "1:2", source_},
      {"--format", "catalunya", source_, "second"},
      {"--format", "catalunya", "--area", "5", "44", "x", "49", source_},
      {"--format", "catalunya", "--area", "15", "44", "5", "49", source_},
  };
  for (const auto& args : cases) {
    const Outcome o = Convert(args);
    EXPECT_EQ(o.status, ExitRefused) << o.err;
    EXPECT_NE(o.err.find("hextant-convert: "), std::string::npos) << o.err;
    EXPECT_FALSE(std::filesystem::exists(dir_.File("model.HDM")));
  }
}

TEST_F(ConvertCommand, RefusesWhatTheWindowRefuses) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      // --format comes first wherever it stands, so its locks apply to the spacing box.
      {{"--spacing-x", "1", source_, "--format=catalunya"},
       "hextant-convert: \"Spacing Long\" is disabled: the \"Catalunya GR file\" format sets it\n"},
      {{"--format", "catalunya", "--coordinates", "grid", source_},
       "hextant-convert: \"Grid\" is disabled: the \"Catalunya GR file\" format sets it\n"},
      {{"--format", "wizard", "--spacing-x", "1a", source_},
       "hextant-convert: '1a' is not a number: the focus stays in \"Spacing Long\"\n"},
      {{"--format", "wizard", "--spacing-x", "1", source_},
       "Warning: Enter a value in the field \n  \"Spacing Lat\" is empty.\n"
       "hextant-convert: --spacing-y gives that value\n"},
  };
  for (const auto& [args, err] : cases) {
    const Outcome o = Convert(args);
    EXPECT_EQ(o.status, ExitRefused);
    EXPECT_EQ(o.err, err);
  }
}

// Every stop names its cause, and nothing is left behind that the run made.
TEST_F(ConvertCommand, StopsAndSaysWhy) {
  const std::string broken = dir_.File("broken.gr");
  WriteBytes(broken, {'x', '\n', '\\', 'D', 'A', 'T', 'A', '\n', '1', '\n'});
  const std::string cut = dir_.File("cut.txt");
  WriteBytes(cut, {'G', 'E', 'O', 'I', 'D', 'E', '\n', '1', '\n'});
#if !defined(_WIN32)
  const std::string fifo = dir_.File("pipe.gr");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
#endif
  std::filesystem::create_directory(dir_.File("folder.gr"));
  WriteBytes(dir_.File("model.HDM"), {'o', 'l', 'd'});
  const struct {
    std::vector<std::string> args;
    int status;
    std::string err;
  } cases[] = {
    {{"--format", "catalunya", broken},
     ExitStopped,
     "Hextant: Unable to compute the selected file\n  " + broken +
         ": the file is not marked \\GRID SET\n"},
    {{"--format", "italy", cut},
     ExitStopped,
     "Hextant: Unhandler Error in Convert_File_Italy\nInput past end of file\n  " + cut +
         ": the file ends before all that its format holds was read (Input past end of file)\n"},
    {{"--format", "netherlands", source_},
     ExitStopped,
     "Hextant: No node was read from " + source_ +
         ": the file holds no data the chosen format can read.\n"},
    {{"--format", "catalunya", "--output", dir_.File("nodir/x.HDM"), source_},
     ExitStopped,
     "hextant-convert: no model was written to " + dir_.File("nodir/x.HDM") + ": the folder " +
         dir_.File("nodir") + " does not exist\n"},
    {{"--format", "catalunya", source_},
     ExitStopped,
     "Warning: The file " + dir_.File("model.HDM") + " already exists, overwrite?\n" +
         "hextant-convert: no model was written to " + dir_.File("model.HDM") +
         ": it already exists and is not to be overwritten (--overwrite replaces it)\n"},
    {{"--format", "catalunya", "--overwrite", "--output", source_, source_},
     ExitStopped,
     "Error: The file " + source_ +
         " can not hold the model: it is the source file being "
         "converted.\nhextant-convert: no model was written to " +
         source_ + ": it is the source file being converted\n"},
    {{"--format", "catalunya", "--output", dir_.File("hdmtotarvo.ini"), source_},
     ExitStopped,
     "Error: The file " + dir_.File("hdmtotarvo.ini") +
         " can not hold the model: it is the name "
         "of the settings file HdmToTarvo.INI, which is written beside the model.\n"
         "hextant-convert: no model was written to " +
         dir_.File("hdmtotarvo.ini") +
         ": it is the name of the settings file HdmToTarvo.INI, which is written beside the "
         "model\n"},
    {{"--format", "wizard", "--spacing-x", "1", "--spacing-y", "1", dir_.File("no.xyz")},
     ExitRefused,
     "Error: The file " + dir_.File("no.xyz") + " does not exist.\n"},
    {{"--format", "catalunya", dir_.File("folder.gr")},
     ExitRefused,
     "Error: " + dir_.File("folder.gr") + " is a folder, not a file: only a file can be read.\n"},
#if !defined(_WIN32)
    {{"--format", "catalunya", fifo},
     ExitRefused,
     "Error: " + fifo + " is a named pipe, not a file: only a file can be read.\n"},
#endif
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.back());
    const Outcome o = Convert(c.args);
    EXPECT_EQ(o.status, c.status);
    EXPECT_EQ(o.err, c.err);
    EXPECT_EQ(ReadBytes(dir_.File("model.HDM")), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
    EXPECT_FALSE(std::filesystem::exists(dir_.File("broken.HDM")));
    EXPECT_FALSE(std::filesystem::exists(dir_.File("cut.HDM")));
    EXPECT_FALSE(std::filesystem::exists(dir_.File("HdmToTarvo.INI")));
  }
}

TEST_F(ConvertCommand, SaysWhenOnlyTheSettingsFileFailed) {
  std::filesystem::create_directory(dir_.File("HdmToTarvo.INI"));  // cannot be replaced by a file
  const std::string output = dir_.File("chosen.HDM");
  const Outcome o = Convert({"--format", "catalunya", "--output", output, "--quiet", source_});
  EXPECT_EQ(o.status, ExitSettingsFile);
  EXPECT_NE(
      o.err.find("hextant-convert: the model " + output + " was written; HdmToTarvo.INI was not: "),
      std::string::npos)
      << o.err;
  EXPECT_TRUE(std::filesystem::exists(output));
}

TEST_F(ConvertCommand, WritesTheModelWhereOutputSays) {
  const std::string longest = dir_.File(std::string(251, 'n') + ".HDM");  // 255 bytes
  ASSERT_EQ(Convert({"--format", "catalunya", "--output", longest, "--quiet", source_}).status,
            ExitSuccess);
  EXPECT_TRUE(std::filesystem::exists(longest));
  const std::string output = dir_.File("chosen.HDM");
  const Outcome o = Convert(
      {"--format", "catalunya", "--instrument", "R", "--output", output, "--quiet", source_});
  ASSERT_EQ(o.status, ExitSuccess) << o.err;
  EXPECT_EQ(o.out.rfind("Output File: " + output + "\nNumber of points: 7081\n", 0), 0u);
  EXPECT_TRUE(std::filesystem::exists(output));
  EXPECT_TRUE(std::filesystem::exists(dir_.File("HdmToTarvo.INI")));
}

TEST_F(ConvertCommand, DrivesTheImportWizardPages) {
  const std::string xyz = dir_.File("grid.xyz");
  std::filesystem::copy_file(HEXTANT_SAMPLES_DIR "/generic_egm96.xyz", xyz);
  const std::vector<std::string> wizard{
      "--format",    "wizard", "--angular-unit", "decimal-degrees", "--spacing-x", "0.25",
      "--spacing-y", "0.25",   "--delimiter",    "space",           "--quiet",     xyz};
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"--column", "x=1"},
       "Warning: Assigning Latitude to a column\n  Roles without a column: Latitude, Separation\n"},
      {{"--column", "x=9"},
       "hextant-convert: column 9 is not among the 3 column(s) into which the file's lines split; "
       "--delimiter or --widths tell how they split\n"},
      {{"--column", "lat-deg=1"},
       "hextant-convert: the role menu in use has no entry for lat-deg\n"},
      {{"--start-line", "51"},
       "hextant-convert: --start-line takes a line number from 1 to 50\n"
       "Try 'hextant-convert --help'.\n"},
  };
  for (const auto& [extra, err] : cases) {
    std::vector<std::string> args = wizard;
    args.insert(args.end(), extra.begin(), extra.end());
    const Outcome o = Convert(args);
    EXPECT_EQ(o.status, ExitRefused) << err;
    EXPECT_EQ(o.err, err);
  }
  const Outcome national = Convert({"--format", "catalunya", "--no-merge", source_});
  EXPECT_EQ(national.status, ExitRefused);
  EXPECT_NE(national.err.find("apply to --format wizard only"), std::string::npos);

  std::vector<std::string> args = wizard;
  for (const char* option :
       {"--start-line", "1", "--column", "x=1", "--column", "y=2", "--column", "separation=3"}) {
    args.push_back(option);
  }
  const Outcome o = Convert(args);
  EXPECT_EQ(o.status, ExitSuccess) << o.err;
  EXPECT_NE(o.out.find("Number of points: 1681\n"), std::string::npos) << o.out;
}

TEST(ConvertCommandInfo, PrintsHelpAndVersion) {
  EXPECT_EQ(Convert({"--version"}).out, HEXTANT_VERSION_TEXT "\n");
  const Outcome help = Convert({"--help"});
  EXPECT_EQ(help.status, ExitSuccess);
  for (const char* option :
       {"--format", "--spacing-y-dms", "--area", "--overwrite", "Exit status"}) {
    EXPECT_NE(help.out.find(option), std::string::npos) << option;
  }
  // Every entry of the format table and every grid layout is named, each name once in the table.
  std::set<std::string_view> names;
  for (const SourceFormatEntry& format : SourceFormats()) {
    EXPECT_TRUE(names.insert(format.CommandName).second) << format.CommandName;
    const std::size_t at = help.out.find(" " + std::string(format.CommandName));
    ASSERT_NE(at, std::string::npos) << format.CommandName;
    EXPECT_NE(std::string(",;").find(help.out[at + 1 + format.CommandName.size()]),
              std::string::npos);
  }
  for (const GridLayoutName& layout : GridLayoutNames) {
    EXPECT_TRUE(names.insert(layout.Name).second) << layout.Name;
    EXPECT_NE(help.out.find(std::string(layout.Name) + "  " + std::string(layout.Description)),
              std::string::npos);
  }
}

// `hextant SOURCE` without --format selects the format SOURCE's content shows, whatever its name;
// a file that is nearly one of them, or a text of columns, stays with the import wizard.
TEST(WindowArguments, ASourceSelectsTheFormatItsContentShows) {
  using Edit = std::function<void(std::string&)>;
  const Edit asItIs = [](std::string&) {};
  auto replace = [](std::string from, std::string to) {
    return [from, to](std::string& text) { text.replace(text.find(from), from.size(), to); };
  };
  const struct {
    const char* sample;
    Edit edit;
    std::int16_t format;
  } cases[] = {
      {"catalunya_egm96.gr", asItIs, FormatCatalunya},
      {"norway_egm96.bin", asItIs, FormatNorway},
      {"netherlands_egm96.txt", asItIs, FormatNetherlands},
      {"switzerland_egm96.txt", asItIs, FormatSwitzerland},
      {"italy_egm96.txt", asItIs, FormatItaly},
      {"la_reunion_egm96.txt", asItIs, FormatLaReunion},
      {"isg20_egm96_dms.isg", asItIs, FormatGridFile},
      {"egm96_cut.gtx", asItIs, FormatGridFile},
      {"egm96_ngs_le.bin", asItIs, FormatGridFile},
      {"egm96_byn2.byn", asItIs, FormatGridFile},
      {"egm96_esri.asc", asItIs, FormatGridFile},
      {"egm96_surfer7.grd", asItIs, FormatGridFile},
      {"poland_egm96.txt", asItIs, FormatImportWizard},
      {"generic_egm96.xyz", asItIs, FormatImportWizard},
      {"norway_egm96.bin", [](std::string& bytes) { bytes.push_back('\0'); }, FormatImportWizard},
      {"catalunya_egm96.gr", replace("\\DATA", "\\Data"), FormatImportWizard},
      {"netherlands_egm96.txt", replace("41.263 ", "41.263 41.2 "), FormatImportWizard},
      {"italy_egm96.txt", replace("42.000000", "north"), FormatImportWizard},
      {"la_reunion_egm96.txt", replace("9999 -1.798 ", ""), FormatImportWizard},
  };
  TempDir dir;
  for (const auto& c : cases) {
    std::ifstream in(std::string(HEXTANT_SAMPLES_DIR "/") + c.sample, std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), {}};
    c.edit(bytes);
    const std::string source = dir.File("source.gr");  // a name of another format
    std::ofstream(source, std::ios::binary | std::ios::trunc) << bytes;
    ConvertOptions options;
    std::string error;
    ASSERT_TRUE(ParseWindowOptions({source}, options, error)) << error;
    ConversionSettings settings;
    ScriptedMessageBoxes messages;
    ScriptedFileDialogs dialogs;
    CountingBeeper beeper;
    MainWindowModel window(settings, messages, dialogs, beeper, {1, 3, 1});
    ASSERT_TRUE(window.ChooseFile(source).Accepted);
    for (const auto& action : options.actions) {
      ASSERT_TRUE(action(window).Accepted) << c.sample;
    }
    EXPECT_EQ(window.Controls().Combo_Filter.ListIndex, c.format) << c.sample;
  }
}

// A reader's two passes show as one reading line from 0 to 100 %, each phase ends its line, and
// the summary that follows starts a line of its own.
TEST(TerminalProgress, DrawsOneLinePerPhase) {
  std::ostringstream err;
  {
    TerminalProgress progress(err, true);
    for (int percent : {0, 50, 98, 0, 60}) {  // the second pass starts again at 0
      progress.SetProgress(percent);
    }
    progress.SetStatus("Status: Sorting and Writing File");
    progress.SetProgressCaption("100 %");
    progress.EndPhase();
    err << "summary\n";
  }
  EXPECT_EQ(err.str(),
            "\rReading  0 %   \rReading  50 %   \rReading  98 %   \rReading  100 %   \n"
            "\rStatus: Sorting and Writing File  100 %   \nsummary\n");
}

}  // namespace
}  // namespace hextant::test
