#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

#include <filesystem>

#include "base/angles.h"
#include "fakes/platform_fakes.h"
#include "mainwindow/main_window_model.h"
#include "readers/source_formats.h"
#include "settings/choice_lists.h"
#include "temp_dir.h"

namespace hextant::test {
namespace {

namespace fs = std::filesystem;

constexpr double kPi = WindowPi;

class MainWindow : public ::testing::Test {
 protected:
  MainWindow() : window_(settings_, messages_, dialogs_, beeper_, ProgramVersion{1, 3, 1}) {}

  const MainWindowControls& C() const { return window_.Controls(); }

  // Chooses a source file `name` that exists in the test's folder.
  void ChooseSource(const std::string& name = "model.txt") {
    const std::string path = dir_.File(name);
    WriteBytes(path, {'1'});
    dialogs_.openAnswers.push_back(path);
    ASSERT_TRUE(window_.ChooseFile().Accepted);
  }

  void Type(TextBoxId box, int row, const std::string& text) {
    const ActionResult result = window_.EnterText(box, row, text);
    ASSERT_TRUE(result.Accepted) << result.Reason;
  }

  void TypeSpacings(const std::string& x, const std::string& y) {
    Type(TextBoxId::Spacing, 0, x);
    Type(TextBoxId::Spacing, 1, y);
  }

  // Read must fail with `warning`, the focus on `focus`, and nothing captured.
  void ExpectRefusedRead(const std::string& warning, const std::string& focus) {
    settings_.SpacingX = -7.0;
    const ReadOutcome outcome = window_.Read();
    EXPECT_FALSE(outcome.Accepted);
    EXPECT_EQ(outcome.Warning, warning);
    EXPECT_EQ(outcome.Focus, focus);
    EXPECT_EQ(window_.FocusedControl(), focus);
    ASSERT_FALSE(messages_.shown.empty());
    EXPECT_EQ(messages_.shown.back().Text, warning);
    EXPECT_EQ(settings_.SpacingX, -7.0) << "nothing is captured";
    EXPECT_TRUE(C().Visible);
  }

  TempDir dir_;
  ConversionSettings settings_;
  ScriptedMessageBoxes messages_;
  ScriptedFileDialogs dialogs_;
  CountingBeeper beeper_;
  MainWindowModel window_;
};

// The defaults a conversion takes when the user changes nothing.
TEST_F(MainWindow, StartsWithTheDefaultChoices) {
  EXPECT_EQ(C().Combo_Ellipsoid.Text(), "WGS 1984");
  EXPECT_EQ(C().Combo_Interpolation.Text(), "4 Points");
  EXPECT_TRUE(C().Option_InstrumentType[1].Value) << "Series Q";
  EXPECT_TRUE(C().Option_HemisphereN.Value);
  EXPECT_FALSE(C().Frame_Linear_units.Enabled);
  EXPECT_EQ(C().Text_Grados[0].MaxLength, 3u);
}

TEST_F(MainWindow, ChooseFileKeepsThePreviousNameOnCancel) {
  dialogs_.openAnswers.push_back("/data/a.txt");
  ASSERT_TRUE(window_.ChooseFile().Accepted);
  EXPECT_EQ(C().uxFile.Text, "/data/a.txt");
  ASSERT_TRUE(window_.ChooseFile().Accepted);  // cancelled: no answer scripted
  EXPECT_EQ(window_.DialogFileName(), "/data/a.txt");
  EXPECT_EQ(C().uxFile.Text, "/data/a.txt");
}

// The state a preset sets, in one line: coordinate type, interpolation position, the degree
// group or the unit label, the degree/minute/second and decimal spacing boxes, the code box, the
// hemisphere options, the ellipsoid and interpolation lists and "Apply on the local side".
std::string PresetState(const MainWindowControls& c) {
  std::string s = c.Option_Coordinate_type[1].Value ? "grid" : "geo";
  s += " interp" + std::to_string(c.Combo_Interpolation.ListIndex);
  s += c.Frame_Sexagesimal.Visible ? " dms" : " units=" + c.Label_Units[0].Caption;
  s += " [";
  for (std::size_t row = 0; row < 2; ++row) {
    s += c.Text_Grados[row].Text + "," + c.Text_Minutos[row].Text + "," +
         c.Text_segundos[row].Text + (row == 0 ? ";" : "] [");
  }
  s += c.Text_Spacing[0].Text + ";" + c.Text_Spacing[1].Text + "]";
  s +=
      std::string(" code=") + (c.Check_Point_code.Value ? "on:" : "off:") + c.Text_Code_filter.Text;
  s += std::string(" hemisphere=") + (c.Option_HemisphereN.Value ? "N" : "") +
       (c.Option_HemisphereS.Value ? "S" : "") + (c.Option_HemisphereN.Enabled ? "" : "-locked");
  s += std::string(" lists=") + (c.Combo_Ellipsoid.Enabled ? "open" : "locked");
  s += std::string(" local=") + (c.Option_Local_Side.Enabled ? "open" : "forced");
  return s;
}

TEST_F(MainWindow, EachFormatAppliesItsPresetAndLocks) {
  const std::pair<std::int16_t, const char*> cases[] = {
      {FormatNetherlands,
       "geo interp2 dms [0,5,0;0,3,0] [;] code=on:99.999 hemisphere=S lists=locked local=open"},
      {FormatNorway,
       "geo interp0 dms [0,1,30;0,3,0] [;] code=on:99.999 hemisphere=S lists=locked local=open"},
      {FormatSwitzerland,
       "grid interp0 units=m [,,;,,] [1000;1000] code=off: "
       "hemisphere=N-locked lists=locked local=forced"},
      {FormatItaly,
       "geo interp0 dms [0,2,0;0,2,0] [;] code=off: hemisphere=N-locked lists=locked local=open"},
      {FormatLaReunion,
       "geo interp0 dms [0,0,0;0,0,0] [;] code=on:9999.000 "
       "hemisphere=-locked lists=locked local=open"},
      {FormatNorwayNn2000,
       "geo interp0 dms [0,1,12;0,2,24] [;] code=on:99.999 hemisphere=S "
       "lists=locked local=open"},
      {FormatCatalunya,
       "geo interp0 units=\xC2\xBA dec [,,;,,] [1;1] code=off: "
       "hemisphere=N-locked lists=locked local=open"},
      {FormatPoland,
       "geo interp0 units=\xC2\xBA dec [,,;,,] [0.01;0.01] code=off: "
       "hemisphere=N-locked lists=open local=open"},
  };
  for (const auto& [format, state] : cases) {
    SCOPED_TRACE(SourceFormatAt(format)->ListText);
    ConversionSettings settings;
    MainWindowModel window(settings, messages_, dialogs_, beeper_, {});
    ASSERT_TRUE(window.SelectHemisphere(true).Accepted);  // a locked preset clears it
    ASSERT_TRUE(window.SelectSourceFormat(format).Accepted);
    const MainWindowControls& c = window.Controls();
    EXPECT_EQ(PresetState(c), state);
    EXPECT_EQ(c.Combo_Ellipsoid.ListIndex, Wgs1984Position);
    EXPECT_EQ(c.Combo_Interpolation.Enabled, c.Combo_Ellipsoid.Enabled);
    EXPECT_EQ(c.Option_Local_Side.Value, !c.Option_Local_Side.Enabled);
    // Locked for every national format.
    const std::initializer_list<const Control*> lockedControls{
        &c.Check_Point_code,          &c.Text_Code_filter,      &c.Frame_Sexagesimal,
        &c.Option_Coordinate_type[0], &c.Text_Spacing[1],       &c.Text_segundos[0],
        &c.Option_Angular_units[2],   &c.Option_Linear_Units[0]};
    for (const Control* locked : lockedControls) {
      EXPECT_FALSE(locked->Enabled) << locked->Name;
    }
  }
}

TEST_F(MainWindow, ItalyAfterSwitzerlandReturnsToGeographical) {
  ASSERT_TRUE(window_.SelectSourceFormat(FormatSwitzerland).Accepted);
  ASSERT_TRUE(window_.SelectSourceFormat(FormatItaly).Accepted);
  EXPECT_TRUE(C().Option_Coordinate_type[0].Value);
  EXPECT_TRUE(C().Frame_Sexagesimal.Visible);
  EXPECT_TRUE(C().Option_Local_Side.Enabled);
  EXPECT_FALSE(C().Option_Local_Side.Value);
}

TEST_F(MainWindow, NetherlandsWhileGridKeepsGridAndReadsTheDecimalBoxes) {
  ChooseSource();
  ASSERT_TRUE(window_.SelectCoordinateType(1).Accepted);
  TypeSpacings("25", "50");
  ASSERT_TRUE(window_.SelectSourceFormat(FormatNetherlands).Accepted);
  EXPECT_TRUE(C().Option_Coordinate_type[1].Value);
  const ActionResult locked = window_.SelectCoordinateType(0);
  EXPECT_FALSE(locked.Accepted);
  EXPECT_EQ(locked.Reason, "\"Geographical\" is disabled: the \"Netherlands\" format sets it");
  const ReadOutcome outcome = window_.Read();
  ASSERT_TRUE(outcome.Accepted);
  EXPECT_EQ(outcome.Next, NextPage::ConversionPage);
  EXPECT_EQ(settings_.CoordinateType, Grid);
  EXPECT_EQ(settings_.SpacingX, 25.0);
  EXPECT_EQ(settings_.SpacingY, 50.0);
  EXPECT_EQ(settings_.CodeFilter, "99.999");
}

TEST_F(MainWindow, TheWizardEntryUnlocksAndKeepsValues) {
  ASSERT_TRUE(window_.SelectSourceFormat(FormatNetherlands).Accepted);
  ASSERT_TRUE(window_.SelectSourceFormat(FormatImportWizard).Accepted);
  EXPECT_EQ(C().Text_Code_filter.Text, "99.999");
  EXPECT_TRUE(C().Check_Point_code.Value);
  EXPECT_TRUE(C().Check_Point_code.Enabled);
  EXPECT_TRUE(C().Text_Grados[0].Enabled);
  EXPECT_EQ(C().Text_Minutos[0].Text, "5");
  EXPECT_TRUE(C().Combo_Ellipsoid.Enabled);
  EXPECT_EQ(C().Combo_Interpolation.Text(), "16 Points");
  EXPECT_TRUE(window_.SelectAngularUnit(1).Accepted);
  EXPECT_TRUE(window_.SelectLinearUnit(1).Accepted == false) << "usable only under Grid";
}

TEST_F(MainWindow, LocalSideFollowsTypeAndEllipsoidAndForgetsTheTick) {
  ASSERT_TRUE(window_.SetLocalSide(true).Accepted);
  ASSERT_TRUE(window_.SelectEllipsoid(15).Accepted);  // GRS 1980
  EXPECT_FALSE(C().Option_Local_Side.Enabled);
  EXPECT_TRUE(C().Option_Local_Side.Value);
  EXPECT_FALSE(window_.SetLocalSide(false).Accepted);
  ASSERT_TRUE(window_.SelectEllipsoid(Wgs1984Position).Accepted);
  EXPECT_TRUE(C().Option_Local_Side.Enabled);
  EXPECT_FALSE(C().Option_Local_Side.Value) << "the earlier tick is lost";
  ASSERT_TRUE(window_.SelectCoordinateType(1).Accepted);
  EXPECT_FALSE(C().Option_Local_Side.Enabled);
  EXPECT_TRUE(C().Option_Local_Side.Value);
}

TEST_F(MainWindow, UnitRulesSetLabelsAndGroups) {
  ASSERT_TRUE(window_.SelectAngularUnit(1).Accepted);
  EXPECT_EQ(C().Label_Units[0].Caption, "gon");
  ASSERT_TRUE(window_.SelectAngularUnit(3).Accepted);
  EXPECT_TRUE(C().Frame_Sexagesimal.Visible);
  EXPECT_EQ(C().Label_Units[0].Caption, "gon") << "covered, not changed";
  ASSERT_TRUE(window_.SelectCoordinateType(1).Accepted);
  EXPECT_FALSE(C().Frame_Sexagesimal.Visible);
  EXPECT_EQ(C().Label_Units[0].Caption, "m");
  ASSERT_TRUE(window_.SelectLinearUnit(2).Accepted);
  EXPECT_EQ(C().Label_Units[1].Caption, "ft");
  EXPECT_FALSE(C().Combo_Ellipsoid.Enabled);
  const ActionResult refused = window_.SelectAngularUnit(0);
  EXPECT_EQ(refused.Reason, "\"Radians\" is in the disabled group \"Angular units\"");
  const ActionResult hidden = window_.EnterText(TextBoxId::Degrees, 0, "1");
  EXPECT_EQ(hidden.Reason, "the degrees box of \"Spacing E\" is hidden");
  ASSERT_TRUE(window_.SelectCoordinateType(0).Accepted);
  EXPECT_TRUE(C().Frame_Sexagesimal.Visible) << "sexagesimal is still the angular unit";
}

TEST_F(MainWindow, NumericBoxesKeepTheFocusUntilTheyHoldANumber) {
  const ActionResult refused = window_.EnterText(TextBoxId::Spacing, 0, "1a");
  EXPECT_FALSE(refused.Accepted);
  EXPECT_EQ(beeper_.beeps, 1);
  EXPECT_EQ(window_.FocusedControl(), "Text_Spacing(0)");
  EXPECT_EQ(C().Text_Spacing[0].Text, "1a");
  EXPECT_FALSE(window_.SelectAngularUnit(1).Accepted) << "the focus cannot leave the box";
  EXPECT_FALSE(window_.Read().Accepted);
  for (const char* text : {"-0.5", "1,5", ""}) {
    EXPECT_TRUE(window_.EnterText(TextBoxId::Spacing, 0, text).Accepted) << text;
  }
  EXPECT_TRUE(window_.EnterText(TextBoxId::CodeFilter, 0, "X1 b").Accepted) << "not numeric";
  ASSERT_TRUE(window_.SelectAngularUnit(3).Accepted);
  Type(TextBoxId::Degrees, 1, "1234");
  EXPECT_EQ(C().Text_Grados[1].Text, "123") << "cut to the box's length";
  EXPECT_EQ(beeper_.beeps, 1);
}

TEST_F(MainWindow, ValidationChecksInOrder) {
  ExpectRefusedRead("Select a file to read", "Command_Change_file");
  ASSERT_EQ(messages_.shown.size(), 1u) << "only the file message, though every box is empty";
  ChooseSource();
  ExpectRefusedRead("Enter a value in the field ", "Text_Spacing(0)");
  Type(TextBoxId::Spacing, 0, "  ");
  ExpectRefusedRead("Enter a value in the field ", "Text_Spacing(1)");
  Type(TextBoxId::Spacing, 1, "1");
  ASSERT_TRUE(window_.SetPointCode(true).Accepted);
  ExpectRefusedRead("Enter a value in the field ", "Text_Code_filter");

  ASSERT_TRUE(window_.SelectAngularUnit(3).Accepted);
  const char* order[] = {"Text_Grados(0)", "Text_Minutos(0)", "Text_segundos(0)",
                         "Text_Grados(1)", "Text_Minutos(1)", "Text_segundos(1)"};
  const TextBoxId boxes[] = {TextBoxId::Degrees, TextBoxId::Minutes, TextBoxId::Seconds};
  for (int i = 0; i < 6; ++i) {
    ExpectRefusedRead("Enter a value in the field ", order[i]);
    Type(boxes[i % 3], i / 3, "0");
  }
  const ReadOutcome outcome = window_.Read();
  ASSERT_TRUE(outcome.Accepted) << "the code box is not checked in this mode";
  EXPECT_TRUE(settings_.CodeFilterOn);
  EXPECT_EQ(settings_.CodeFilter, "");
}

struct CaptureCase {
  const char* name;
  int coordinateType;
  int angularUnit;
  std::array<std::string, 2> decimal;
  std::array<std::array<std::string, 3>, 2> dms;
  double spacingX, spacingY;
};

TEST_F(MainWindow, ReadCapturesSpacingsInRadiansOrAsEntered) {
  const CaptureCase cases[] = {
      {"radians", 0, 0, {"0.001", "0.002"}, {}, 0.001, 0.002},
      {"gons with a comma", 0, 1, {"0,5", "1"}, {}, 0.5 * kPi / 200, kPi / 200},
      {"decimal degrees", 0, 2, {"0.25", "0.5"}, {}, 0.25 * kPi / 180, 0.5 * kPi / 180},
      {"sexagesimal",
       0,
       3,
       {},
       {{{"0", "1", "30"}, {"0", "55", "0"}}},
       0.025 * kPi / 180,
       55.0 / 60 * kPi / 180},
      {"grid with sexagesimal still selected", 1, 3, {"1000", "12,5"}, {}, 1000.0, 12.5},
  };
  ChooseSource("in.xyz");
  MainWindowModel& window = window_;
  const ConversionSettings& settings = settings_;
  for (const auto& c : cases) {  // one window: each case sets every box it reads
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(window.SelectAngularUnit(c.angularUnit).Accepted);
    ASSERT_TRUE(window.SelectCoordinateType(c.coordinateType).Accepted);
    for (int row = 0; row < 2; ++row) {
      const auto r = static_cast<std::size_t>(row);
      if (!c.decimal[r].empty()) {
        ASSERT_TRUE(window.EnterText(TextBoxId::Spacing, row, c.decimal[r]).Accepted);
      }
      if (!c.dms[r][0].empty()) {
        window.EnterText(TextBoxId::Degrees, row, c.dms[r][0]);
        window.EnterText(TextBoxId::Minutes, row, c.dms[r][1]);
        window.EnterText(TextBoxId::Seconds, row, c.dms[r][2]);
      }
    }
    ASSERT_TRUE(window.Read().Accepted);
    EXPECT_DOUBLE_EQ(settings.SpacingX, c.spacingX);
    EXPECT_DOUBLE_EQ(settings.SpacingY, c.spacingY);
    EXPECT_EQ(settings.CoordinateType, c.coordinateType == 0 ? Geographical : Grid);
    EXPECT_EQ(settings.AngularUnit, c.angularUnit);
    EXPECT_EQ(settings.SourceFile, dir_.File("in.xyz"));
    window.Show();  // Read hid it
  }
}

TEST_F(MainWindow, ReadCapturesTheChoicesAndHidesTheWindow) {
  ChooseSource("one.txt");
  TypeSpacings("1", "2");
  Type(TextBoxId::CodeFilter, 0, "X1");  // unticked: not captured
  ASSERT_TRUE(window_.SelectEllipsoid(25).Accepted);
  ASSERT_TRUE(window_.SelectInterpolation(2).Accepted);
  ASSERT_TRUE(window_.SelectInstrumentType(0).Accepted);
  ASSERT_TRUE(window_.SelectHemisphere(true).Accepted);
  ASSERT_TRUE(window_.SelectCoordinateType(1).Accepted);
  ASSERT_TRUE(window_.SelectLinearUnit(2).Accepted);
  const ReadOutcome outcome = window_.Read();
  ASSERT_TRUE(outcome.Accepted);
  EXPECT_EQ(outcome.Next, NextPage::ImportWizard);
  EXPECT_FALSE(C().Visible);
  EXPECT_EQ(settings_.EllipsoidCode, 26);
  EXPECT_EQ(settings_.InterpolationIndex, 2);
  EXPECT_EQ(settings_.InterpolationText, "16 Points");
  EXPECT_EQ(settings_.InstrumentType, 0);
  EXPECT_TRUE(settings_.SouthernHemisphere);
  EXPECT_EQ(settings_.LinearUnit, 2);
  EXPECT_EQ(settings_.LocalSide, 1) << "forced under Grid";
  EXPECT_FALSE(settings_.CodeFilterOn);
  EXPECT_EQ(settings_.CodeFilter, "");
  EXPECT_FALSE(window_.SelectCoordinateType(0).Accepted) << "the window is hidden";

  // A second Read replaces everything, including values a reader overwrote.
  window_.Show();
  settings_.SpacingX = 99.0;
  settings_.EllipsoidCode = 7;
  ASSERT_TRUE(window_.SelectCoordinateType(0).Accepted);
  ASSERT_TRUE(window_.SelectEllipsoid(0).Accepted);
  ASSERT_TRUE(window_.Read().Accepted);
  EXPECT_EQ(settings_.SpacingX, 1.0);
  EXPECT_EQ(settings_.EllipsoidCode, 1);
  EXPECT_EQ(settings_.CoordinateType, Geographical);
}

// Only a regular file is read: anything else is refused on Read, at once, naming the file.
TEST_F(MainWindow, ReadRefusesASourceThatIsNoReadableFile) {
#if !defined(_WIN32)
  const std::string fifo = dir_.File("pipe.xyz");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
#endif
  fs::create_directory(dir_.Path() / "folder.xyz");
  const std::pair<std::string, std::string> cases[] = {
    {dir_.File("missing.xyz"), "The file " + dir_.File("missing.xyz") + " does not exist."},
    {dir_.File("folder.xyz"), dir_.File("folder.xyz") + " is a folder, not a file"},
#if !defined(_WIN32)
    {fifo, fifo + " is a named pipe, not a file"},
#endif
  };
  TypeSpacings("1", "1");
  for (const auto& [path, message] : cases) {
    SCOPED_TRACE(path);
    dialogs_.openAnswers.push_back(path);
    ASSERT_TRUE(window_.ChooseFile().Accepted);
    const ReadOutcome outcome = window_.Read();
    EXPECT_FALSE(outcome.Accepted);
    EXPECT_EQ(outcome.Focus, "Command_Change_file");
    EXPECT_EQ(messages_.shown.back().Title, "Error");
    EXPECT_EQ(messages_.shown.back().Text.rfind(message, 0), 0u) << messages_.shown.back().Text;
    EXPECT_TRUE(C().Visible);
  }
}

// A grid file fills in and locks what its header says; one that is no grid is named at Read.
TEST_F(MainWindow, AGridFileSetsItsOwnGridOrIsNamedAtRead) {
  const std::string grid = dir_.File("model.isg");
  fs::copy_file(HEXTANT_SAMPLES_DIR "/isg20_egm96_deg.isg", grid);
  dialogs_.openAnswers.push_back(grid);
  ASSERT_TRUE(window_.ChooseFile().Accepted);
  EXPECT_EQ(C().Combo_Filter.ListIndex, FormatGridFile) << "chosen while the wizard was the source";
  EXPECT_EQ(C().Text_Spacing[0].Text, "0.08333333333");
  EXPECT_TRUE(C().Option_Angular_units[UnitDecimalDegrees].Value);
  for (const auto& option : C().Option_Angular_units) {
    EXPECT_FALSE(option.Enabled);
  }
  EXPECT_TRUE(C().Combo_Ellipsoid.Enabled);
  ASSERT_TRUE(window_.Read().Accepted);
  EXPECT_EQ(settings_.SourceFormat, FormatGridFile);

  window_.Show();
  ChooseSource("plain.txt");
  EXPECT_EQ(C().Combo_Filter.ListIndex, FormatGridFile);
  const ReadOutcome outcome = window_.Read();
  EXPECT_FALSE(outcome.Accepted);
  EXPECT_EQ(outcome.Focus, "Command_Change_file");
  EXPECT_EQ(messages_.shown.back().Title, "Error");
  EXPECT_EQ(messages_.shown.back().Text.rfind(dir_.File("plain.txt") + ": the file is no grid", 0),
            0u)
      << messages_.shown.back().Text;
}

}  // namespace
}  // namespace hextant::test
