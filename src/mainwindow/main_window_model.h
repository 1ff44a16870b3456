#pragma once

// The main window `Form_Geoid_model_file` as a plain model: every control's state and every
// operation the user can perform on it, with all rules (presets, locks, labels, validation and
// the capture into ConversionSettings). The Qt window draws this state and forwards the user's
// actions; the command-line converter performs the same actions, so both behave alike.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_dialogs.h"
#include "platform/message_boxes.h"
#include "settings/conversion_settings.h"
#include "settings/window_controls.h"

namespace hextant {

/// The controls of the main window, named as the window names them. Texts are UTF-8, like every
/// text the logic shows ("\xC2\xBA" is the masculine ordinal of the degree labels).
struct MainWindowControls {
  std::string Caption = "Hextant";
  bool Visible = true;

  Frame Frame_Geoid_model_file;
  TextBox uxFile;
  Button Command_Change_file;

  Frame Frame_Ellipsoid;
  ComboBox Combo_Ellipsoid;
  Frame Filter;
  ComboBox Combo_Filter;

  Frame Frame_Coordinate_Type;
  std::array<OptionButton, 2> Option_Coordinate_type;
  CheckBox Option_Local_Side;
  Frame Frame_Linear_units;
  std::array<OptionButton, 3> Option_Linear_Units;
  Frame Frame_Angular_units;
  std::array<OptionButton, 4> Option_Angular_units;

  Frame Frame_Geoid_model_spacing;
  std::array<Label, 2> Label_Spacing;
  std::array<Label, 2> Label_Coordinate_Type;
  std::array<TextBox, 2> Text_Spacing;
  std::array<Label, 2> Label_Units;
  Label Label_Hemishere;
  OptionButton Option_HemisphereN;
  OptionButton Option_HemisphereS;

  Frame Frame_Point_Code;
  CheckBox Check_Point_code;
  TextBox Text_Code_filter;

  Frame Frame_InstrumentType;
  std::array<OptionButton, 2> Option_InstrumentType;
  Frame Frame_Interpolation;
  ComboBox Combo_Interpolation;

  Label Label4;
  Button Command_Read_File;
  Button Command_Cancel;

  Frame Frame_Sexagesimal;
  std::array<TextBox, 2> Text_Grados;
  std::array<Label, 2> Label_Grados;
  std::array<TextBox, 2> Text_Minutos;
  std::array<Label, 2> Label1;
  std::array<TextBox, 2> Text_segundos;
  std::array<Label, 2> Label2;
};

/// The text boxes the user types into.
enum class TextBoxId { Spacing, Degrees, Minutes, Seconds, CodeFilter };

/// The program's version as the version label shows it.
struct ProgramVersion {
  int Major = 0;
  int Minor = 0;
  int Revision = 0;
};

enum class NextPage { None, ImportWizard, ConversionPage };

/// The answer to Read: the page to show next, or the warning shown and the control that got the
/// focus.
struct ReadOutcome {
  bool Accepted = false;
  NextPage Next = NextPage::None;
  std::string Warning;
  std::string Detail;  // which box is empty, where the warning names none
  std::string Focus;
};

class MainWindowModel {
 public:
  /// Creates the window: builds the ellipsoid table of `settings`, fills the three lists and
  /// applies the start state (the "Use Import Wizard" presets, Geographical, radians).
  MainWindowModel(ConversionSettings& settings, MessageBoxes& messages, FileDialogs& dialogs,
                  Beeper& beeper, ProgramVersion version);

  const MainWindowControls& Controls() const noexcept { return c_; }
  /// The name of the control that holds the focus ("" before any).
  const std::string& FocusedControl() const noexcept { return focus_; }
  /// The file name the open-file dialog returned last ("" before any).
  const std::filesystem::path& DialogFileName() const noexcept { return dialogFileName_; }

  ActionResult ChooseFile();
  /// The same as choosing `file` in the open dialog, for a file named when the program starts.
  ActionResult ChooseFile(const std::filesystem::path& file);
  ActionResult SelectSourceFormat(std::int16_t position);
  /// Reads a grid file as the layout `layout` (a GridLayout) instead of telling it from the
  /// content; -1 goes back to the content.
  ActionResult ForceGridLayout(std::int16_t layout);
  ActionResult SelectEllipsoid(std::int16_t position);
  ActionResult SelectInterpolation(std::int16_t position);
  ActionResult SelectCoordinateType(int index);
  ActionResult SelectLinearUnit(int index);
  ActionResult SelectAngularUnit(int index);
  ActionResult SelectHemisphere(bool south);
  ActionResult SelectInstrumentType(int index);
  ActionResult SetLocalSide(bool checked);
  ActionResult SetPointCode(bool checked);
  /// Types `text` into a box (cut to the box's maximum length) and moves the focus away. A
  /// numeric box whose text is not a number beeps and keeps the focus: the action is refused
  /// and every other control is refused until the box holds a number.
  ActionResult EnterText(TextBoxId box, int row, const std::string& text);
  /// Validates the entries and, when they pass, captures them into the settings, hides the
  /// window and names the next page. A chosen file that cannot be read as a source (missing,
  /// unreadable, a folder or a pipe) is refused like an empty entry, naming the cause.
  ReadOutcome Read();
  /// Shows the window again (the Back button of the next page).
  void Show() noexcept { c_.Visible = true; }

 private:
  void CreateWindow(ProgramVersion version);
  void ApplyCoordinateTypeRules(int index);
  void ApplyAngularUnitRules(int index);
  void ApplyLinearUnitRules(int index);
  void UpdateLocalSide();
  void ApplyPresetValues(std::int16_t position);
  void ApplyPresetSpacing(std::int16_t position);
  void ApplyPresetLocks(std::int16_t position);
  void ApplyGridFile();
  void SetCoordinateType(int index);
  void SetLinearUnit(int index);
  void SetAngularUnit(int index);
  void SetEllipsoid(std::int16_t position);

  std::optional<std::string> Unusable(const Control& control,
                                      std::initializer_list<const Frame*> groups) const;
  ActionResult TakeChosenFile(const std::optional<std::filesystem::path>& chosen);
  std::optional<ActionResult> Refuse(const Control& control,
                                     std::initializer_list<const Frame*> groups) const;
  TextBox* Box(TextBoxId box, int row);
  const Frame& GroupOf(TextBoxId box) const;
  bool ValidateMainWindow(ReadOutcome& outcome);
  bool RefuseEmpty(const TextBox& box, ReadOutcome& outcome);
  void Capture();
  std::pair<double, double> ReadSpacings() const;

  ConversionSettings& settings_;
  MessageBoxes& messages_;
  FileDialogs& dialogs_;
  Beeper& beeper_;
  MainWindowControls c_;
  std::string focus_;
  std::filesystem::path dialogFileName_;
  std::optional<std::string> focusHeldBy_;
  std::string gridFileProblem_;   // why the chosen grid file cannot be read; empty when it can
  std::string focusHeldCaption_;  // how messages name the box that holds the focus
};

}  // namespace hextant
