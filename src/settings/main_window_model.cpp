#include "settings/main_window_model.h"

#include <string_view>
#include <tuple>

#include "core/angles.h"
#include "settings/choice_lists.h"
#include "settings/source_presets.h"
#include "textimport/text_parsing.h"

namespace hextant {
namespace {

constexpr const char* kWarningTitle = "Warning";
constexpr const char* kEnterValue = "Enter a value in the field ";

std::string Indexed(const std::string& name, std::size_t index) {
  return name + "(" + std::to_string(index) + ")";
}

template <typename T, std::size_t N>
void NameAll(std::array<T, N>& controls, const std::string& name) {
  for (std::size_t i = 0; i < N; ++i) {
    controls[i].Name = Indexed(name, i);
  }
}

template <std::size_t N>
void SetCaptions(std::array<OptionButton, N>& options, std::array<const char*, N> captions) {
  for (std::size_t i = 0; i < N; ++i) {
    options[i].Caption = captions[i];
  }
}

template <std::size_t N>
int SelectedIndex(const std::array<OptionButton, N>& options) {
  for (std::size_t i = 0; i < N; ++i) {
    if (options[i].Value) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

template <std::size_t N>
void Select(std::array<OptionButton, N>& options, int index) {
  for (std::size_t i = 0; i < N; ++i) {
    options[i].Value = static_cast<int>(i) == index;
  }
}

template <typename T, std::size_t N>
void EnableAll(std::array<T, N>& controls, bool enabled) {
  for (auto& control : controls) {
    control.Enabled = enabled;
  }
}

template <typename T>
void SetPair(std::array<T, 2>& labels, std::string_view first, std::string_view second) {
  labels[0].Caption.assign(first.data(), first.size());
  labels[1].Caption.assign(second.data(), second.size());
}

template <typename T>
void Init(T& control, const char* name, const char* caption) {
  control.Name = name;
  control.Caption = caption;
}

void InitNames(MainWindowControls& c) {
  Init(c.Frame_Geoid_model_file, "Frame_Geoid_model_file", "Geoid model file");
  c.uxFile.Name = "uxFile";
  Init(c.Command_Change_file, "Command_Change_file", "Change");
  Init(c.Frame_Ellipsoid, "Frame_Ellipsoid", "Ellipsoid");
  c.Combo_Ellipsoid.Name = "Combo_Ellipsoid";
  Init(c.Filter, "Filter", "Filter");
  c.Combo_Filter.Name = "Combo_Filter";
  Init(c.Frame_Coordinate_Type, "Frame_Coordinate_Type", "Co-ordinate type");
  NameAll(c.Option_Coordinate_type, "Option_Coordinate_type");
  SetCaptions(c.Option_Coordinate_type, {"Geographical", "Grid"});
  Init(c.Option_Local_Side, "Option_Local_Side", "Apply on the local side");
  Init(c.Frame_Linear_units, "Frame_Linear_units", "Linear units");
  NameAll(c.Option_Linear_Units, "Option_Linear_Units");
  SetCaptions(c.Option_Linear_Units, {"Metres", "International Feet", "US Feet"});
  Init(c.Frame_Angular_units, "Frame_Angular_units", "Angular units");
  NameAll(c.Option_Angular_units, "Option_Angular_units");
  SetCaptions(c.Option_Angular_units,
              {"Radians", "Gons", "Decimal degrees", "Sexagesimal degress"});
  Init(c.Frame_Geoid_model_spacing, "Frame_Geoid_model_spacing", "Geoid model point spacing");
  NameAll(c.Label_Spacing, "Label_Spacing");
  SetPair(c.Label_Spacing, "Spacing", "Spacing");
  NameAll(c.Label_Coordinate_Type, "Label_Coordinate_Type");
  NameAll(c.Text_Spacing, "Text_Spacing");
  NameAll(c.Label_Units, "Label_Units");
  Init(c.Label_Hemishere, "Label_Hemishere", "Hemisphere");
  Init(c.Option_HemisphereN, "Option_HemisphereN", "N");
  Init(c.Option_HemisphereS, "Option_HemisphereS", "S");
  Init(c.Frame_Point_Code, "Frame_Point_Code", "Point code");
  Init(c.Check_Point_code, "Check_Point_code", "Exclude data with code:");
  c.Text_Code_filter.Name = "Text_Code_filter";
  Init(c.Frame_InstrumentType, "Frame_InstrumentType", "Instrument type");
  NameAll(c.Option_InstrumentType, "Option_InstrumentType");
  SetCaptions(c.Option_InstrumentType, {"Series R", "Series Q"});
  Init(c.Frame_Interpolation, "Frame_Interpolation", "Interpolation method");
  c.Combo_Interpolation.Name = "Combo_Interpolation";
  c.Label4.Name = "Label4";
  Init(c.Command_Read_File, "Command_Read_File", "Read");
  Init(c.Command_Cancel, "Command_Cancel", "Cancel");
  c.Frame_Sexagesimal.Name = "Frame_Sexagesimal";
  NameAll(c.Text_Grados, "Text_Grados");
  NameAll(c.Label_Grados, "Label_Grados");
  SetPair(c.Label_Grados, "\xBA", "\xBA");
  NameAll(c.Text_Minutos, "Text_Minutos");
  NameAll(c.Label1, "Label1");
  SetPair(c.Label1, "\xB4", "\xB4");
  NameAll(c.Text_segundos, "Text_segundos");
  NameAll(c.Label2, "Label2");
  SetPair(c.Label2, "''", "''");
  for (int row = 0; row < 2; ++row) {
    c.Text_Grados[static_cast<std::size_t>(row)].MaxLength = 3;
    c.Text_Minutos[static_cast<std::size_t>(row)].MaxLength = 2;
    c.Text_segundos[static_cast<std::size_t>(row)].MaxLength = 2;
  }
}

void InitStartValues(MainWindowControls& c) {
  Select(c.Option_Coordinate_type, OptionGeographical);
  Select(c.Option_Linear_Units, 0);
  Select(c.Option_Angular_units, UnitRadians);
  c.Option_HemisphereN.Value = true;
  Select(c.Option_InstrumentType, 1);  // Series Q
}

}  // namespace

MainWindowModel::MainWindowModel(ConversionSettings& settings, MessageBoxes& messages,
                                 FileDialogs& dialogs, Beeper& beeper, ProgramVersion version)
    : settings_(settings), messages_(messages), dialogs_(dialogs), beeper_(beeper) {
  InitNames(c_);
  InitStartValues(c_);
  CreateWindow(version);
}

void MainWindowModel::CreateWindow(ProgramVersion version) {
  ApplyCoordinateTypeRules(SelectedIndex(c_.Option_Coordinate_type));

  for (auto name : SourceFormatNames) {
    c_.Combo_Filter.Items.emplace_back(name);
  }
  c_.Combo_Filter.ListIndex = FormatImportWizard;
  ApplyPresetLocks(FormatImportWizard);

  BuildEllipsoidTable(settings_);
  for (const auto& ellipsoid : settings_.EllipsoidTable) {
    c_.Combo_Ellipsoid.Items.push_back(ellipsoid.Name);
  }
  SetEllipsoid(Wgs1984Position);

  for (auto name : InterpolationNames) {
    c_.Combo_Interpolation.Items.emplace_back(name);
  }
  c_.Combo_Interpolation.ListIndex = 0;

  c_.Label4.Caption = " v" + std::to_string(version.Major) + "." + std::to_string(version.Minor) +
                      "." + std::to_string(version.Revision) + "  ";
  SetCoordinateType(OptionGeographical);
}

// --- rules ---------------------------------------------------------------------------------

void MainWindowModel::ApplyCoordinateTypeRules(int index) {
  const bool grid = index == OptionGrid;
  if (grid) {
    SetPair(c_.Label_Coordinate_Type, "E", "N");
    ApplyLinearUnitRules(SelectedIndex(c_.Option_Linear_Units));
    c_.Frame_Sexagesimal.Visible = false;
  } else {
    SetPair(c_.Label_Coordinate_Type, "Long", "Lat");
    ApplyAngularUnitRules(SelectedIndex(c_.Option_Angular_units));
  }
  c_.Frame_Linear_units.Enabled = grid;
  EnableAll(c_.Option_Linear_Units, grid);
  c_.Frame_Angular_units.Enabled = !grid;
  EnableAll(c_.Option_Angular_units, !grid);
  if (!grid && c_.Option_Angular_units[UnitSexagesimal].Value) {
    c_.Frame_Sexagesimal.Visible = true;
  }
  c_.Frame_Ellipsoid.Enabled = !grid;
  c_.Combo_Ellipsoid.Enabled = !grid;
  UpdateLocalSide();
}

void MainWindowModel::ApplyAngularUnitRules(int index) {
  switch (index) {
    case UnitRadians:
      c_.Frame_Sexagesimal.Visible = false;
      SetPair(c_.Label_Units, "rad", "rad");
      break;
    case UnitGons:
      c_.Frame_Sexagesimal.Visible = false;
      SetPair(c_.Label_Units, "gon", "gon");
      break;
    case UnitDecimalDegrees:
      c_.Frame_Sexagesimal.Visible = false;
      SetPair(c_.Label_Units, "\xBA dec", "\xBA dec");
      break;
    case UnitSexagesimal:
      c_.Frame_Sexagesimal.Visible = true;  // covers the unit labels, which keep their text
      break;
    default:
      break;
  }
}

void MainWindowModel::ApplyLinearUnitRules(int index) {
  if (index == 0) {
    SetPair(c_.Label_Units, "m", "m");
  } else if (index == 1 || index == 2) {
    SetPair(c_.Label_Units, "ft", "ft");
  }
}

void MainWindowModel::UpdateLocalSide() {
  const bool open = c_.Option_Coordinate_type[OptionGeographical].Value &&
                    c_.Combo_Ellipsoid.ListIndex == Wgs1984Position;
  c_.Option_Local_Side.Enabled = open;
  c_.Option_Local_Side.Value = !open;
}

void MainWindowModel::SetCoordinateType(int index) {
  Select(c_.Option_Coordinate_type, index);
  ApplyCoordinateTypeRules(index);
}

void MainWindowModel::SetLinearUnit(int index) {
  Select(c_.Option_Linear_Units, index);
  ApplyLinearUnitRules(index);
}

void MainWindowModel::SetAngularUnit(int index) {
  Select(c_.Option_Angular_units, index);
  ApplyAngularUnitRules(index);
}

void MainWindowModel::SetEllipsoid(std::int16_t position) {
  c_.Combo_Ellipsoid.ListIndex = position;
  UpdateLocalSide();
}

// --- presets -------------------------------------------------------------------------------

void MainWindowModel::ApplyPresetValues(std::int16_t position) {
  const SourcePreset& p = PresetFor(position);
  if (p.EllipsoidPosition) {
    SetEllipsoid(*p.EllipsoidPosition);
  }
  if (p.CoordinateType) {
    SetCoordinateType(*p.CoordinateType);
  }
  if (p.InterpolationPosition) {
    c_.Combo_Interpolation.ListIndex = *p.InterpolationPosition;
  }
  if (p.LinearUnit) {
    SetLinearUnit(*p.LinearUnit);
  }
  if (p.AngularUnit) {
    SetAngularUnit(*p.AngularUnit);
  }
  ApplyPresetSpacing(position);
  auto applyHemisphere = [&] {
    if (p.Hemisphere != HemispherePreset::Untouched) {
      c_.Option_HemisphereN.Value = p.Hemisphere == HemispherePreset::NorthLocked;
      c_.Option_HemisphereS.Value = false;
      c_.Option_HemisphereN.Enabled = false;
      c_.Option_HemisphereS.Enabled = false;
    }
  };
  if (p.HemisphereBeforeCode) {
    applyHemisphere();
  }
  if (p.CodeChecked) {
    c_.Check_Point_code.Value = *p.CodeChecked;
  }
  if (p.CodeText) {
    c_.Text_Code_filter.Text = *p.CodeText;
  }
  if (!p.HemisphereBeforeCode) {
    applyHemisphere();
  }
}

void MainWindowModel::ApplyPresetSpacing(std::int16_t position) {
  const SourcePreset& p = PresetFor(position);
  for (std::size_t row = 0; row < 2; ++row) {
    const auto& values = p.Spacing[row];
    if (p.SpacingKind == SpacingPresetKind::DegreesMinutesSeconds) {
      c_.Text_Grados[row].Text = values[0];
      c_.Text_Minutos[row].Text = values[1];
      c_.Text_segundos[row].Text = values[2];
    } else if (p.SpacingKind == SpacingPresetKind::Decimal) {
      c_.Text_Spacing[row].Text = values[0];
    }
  }
}

void MainWindowModel::ApplyPresetLocks(std::int16_t position) {
  const bool open = position == FormatImportWizard;
  const bool listsOpen = open || position == FormatPoland;
  c_.Combo_Ellipsoid.Enabled = listsOpen;
  c_.Combo_Interpolation.Enabled = listsOpen;
  c_.Check_Point_code.Enabled = open;
  c_.Text_Code_filter.Enabled = open;
  c_.Frame_Sexagesimal.Enabled = open;
  if (open) {
    c_.Option_HemisphereN.Enabled = true;
    c_.Option_HemisphereS.Enabled = true;
  }
  for (std::size_t row = 0; row < 2; ++row) {
    c_.Option_Coordinate_type[row].Enabled = open;
    c_.Text_Spacing[row].Enabled = open;
    c_.Text_Grados[row].Enabled = open;
    c_.Text_Minutos[row].Enabled = open;
    c_.Text_segundos[row].Enabled = open;
  }
  EnableAll(c_.Option_Linear_Units, open);
  EnableAll(c_.Option_Angular_units, open);
  UpdateLocalSide();
}

// --- user actions --------------------------------------------------------------------------

std::optional<ActionResult> MainWindowModel::Refuse(
    const Control& control, std::initializer_list<const Frame*> groups) const {
  if (auto reason = Unusable(control, groups); reason) {
    return ActionResult::Refused(std::move(*reason));
  }
  return std::nullopt;
}

std::optional<std::string> MainWindowModel::Unusable(
    const Control& control, std::initializer_list<const Frame*> groups) const {
  if (focusHeldBy_ && *focusHeldBy_ != control.Name) {
    return *focusHeldBy_ + " keeps the focus until it holds a number";
  }
  if (!c_.Visible) {
    return "the main window is hidden";
  }
  for (const Frame* group : groups) {
    if (!group->Visible) {
      return control.Name + " is in the hidden group " + group->Name;
    }
    if (!group->Enabled) {
      return control.Name + " is in the disabled group " + group->Name;
    }
  }
  if (!control.Visible) {
    return control.Name + " is hidden";
  }
  if (!control.Enabled) {
    return control.Name + " is disabled";
  }
  return std::nullopt;
}

ActionResult MainWindowModel::ChooseFile() {
  if (auto refused = Refuse(c_.Command_Change_file, {&c_.Frame_Geoid_model_file})) {
    return *refused;
  }
  auto chosen = dialogs_.ChooseOpenFile(FileDialogRequest{"All files|*.*", "", dialogFileName_});
  if (chosen) {
    dialogFileName_ = *chosen;
  }
  c_.uxFile.Text = dialogFileName_;
  c_.uxFile.ToolTip = dialogFileName_;
  return ActionResult::Ok();
}

ActionResult MainWindowModel::SelectSourceFormat(std::int16_t position) {
  if (auto refused = Refuse(c_.Combo_Filter, {&c_.Filter})) {
    return *refused;
  }
  if (position < 0 || static_cast<std::size_t>(position) >= c_.Combo_Filter.Items.size()) {
    return ActionResult::Refused("Combo_Filter has no entry " + std::to_string(position));
  }
  c_.Combo_Filter.ListIndex = position;
  ApplyPresetValues(position);
  ApplyPresetLocks(position);
  return ActionResult::Ok();
}

ActionResult MainWindowModel::SelectEllipsoid(std::int16_t position) {
  if (auto refused = Refuse(c_.Combo_Ellipsoid, {&c_.Frame_Ellipsoid})) {
    return *refused;
  }
  if (position < 0 || static_cast<std::size_t>(position) >= c_.Combo_Ellipsoid.Items.size()) {
    return ActionResult::Refused("Combo_Ellipsoid has no entry " + std::to_string(position));
  }
  SetEllipsoid(position);
  return ActionResult::Ok();
}

ActionResult MainWindowModel::SelectInterpolation(std::int16_t position) {
  if (auto refused = Refuse(c_.Combo_Interpolation, {&c_.Frame_Interpolation})) {
    return *refused;
  }
  if (position < 0 || static_cast<std::size_t>(position) >= c_.Combo_Interpolation.Items.size()) {
    return ActionResult::Refused("Combo_Interpolation has no entry " + std::to_string(position));
  }
  c_.Combo_Interpolation.ListIndex = position;
  return ActionResult::Ok();
}

ActionResult MainWindowModel::SelectCoordinateType(int index) {
  if (index < 0 || index > 1) {
    return ActionResult::Refused("Option_Coordinate_type has no option " + std::to_string(index));
  }
  if (auto refused = Refuse(c_.Option_Coordinate_type[static_cast<std::size_t>(index)],
                            {&c_.Frame_Coordinate_Type})) {
    return *refused;
  }
  SetCoordinateType(index);
  return ActionResult::Ok();
}

ActionResult MainWindowModel::SelectLinearUnit(int index) {
  if (index < 0 || index > 2) {
    return ActionResult::Refused("Option_Linear_Units has no option " + std::to_string(index));
  }
  if (auto refused = Refuse(c_.Option_Linear_Units[static_cast<std::size_t>(index)],
                            {&c_.Frame_Coordinate_Type, &c_.Frame_Linear_units})) {
    return *refused;
  }
  SetLinearUnit(index);
  return ActionResult::Ok();
}

ActionResult MainWindowModel::SelectAngularUnit(int index) {
  if (index < 0 || index > 3) {
    return ActionResult::Refused("Option_Angular_units has no option " + std::to_string(index));
  }
  if (auto refused = Refuse(c_.Option_Angular_units[static_cast<std::size_t>(index)],
                            {&c_.Frame_Coordinate_Type, &c_.Frame_Angular_units})) {
    return *refused;
  }
  SetAngularUnit(index);
  return ActionResult::Ok();
}

ActionResult MainWindowModel::SelectHemisphere(bool south) {
  OptionButton& option = south ? c_.Option_HemisphereS : c_.Option_HemisphereN;
  if (auto refused = Refuse(option, {&c_.Frame_Geoid_model_spacing})) {
    return *refused;
  }
  c_.Option_HemisphereN.Value = !south;
  c_.Option_HemisphereS.Value = south;
  return ActionResult::Ok();
}

ActionResult MainWindowModel::SelectInstrumentType(int index) {
  if (index < 0 || index > 1) {
    return ActionResult::Refused("Option_InstrumentType has no option " + std::to_string(index));
  }
  if (auto refused = Refuse(c_.Option_InstrumentType[static_cast<std::size_t>(index)],
                            {&c_.Frame_InstrumentType})) {
    return *refused;
  }
  Select(c_.Option_InstrumentType, index);
  return ActionResult::Ok();
}

ActionResult MainWindowModel::SetLocalSide(bool checked) {
  if (auto refused = Refuse(c_.Option_Local_Side, {&c_.Frame_Coordinate_Type})) {
    return *refused;
  }
  c_.Option_Local_Side.Value = checked;
  return ActionResult::Ok();
}

ActionResult MainWindowModel::SetPointCode(bool checked) {
  if (auto refused = Refuse(c_.Check_Point_code, {&c_.Frame_Point_Code})) {
    return *refused;
  }
  c_.Check_Point_code.Value = checked;
  return ActionResult::Ok();
}

TextBox* MainWindowModel::Box(TextBoxId box, int row) {
  if (box == TextBoxId::CodeFilter) {
    return &c_.Text_Code_filter;
  }
  if (row < 0 || row > 1) {
    return nullptr;
  }
  const auto r = static_cast<std::size_t>(row);
  switch (box) {
    case TextBoxId::Spacing:
      return &c_.Text_Spacing[r];
    case TextBoxId::Degrees:
      return &c_.Text_Grados[r];
    case TextBoxId::Minutes:
      return &c_.Text_Minutos[r];
    case TextBoxId::Seconds:
      return &c_.Text_segundos[r];
    default:
      return nullptr;
  }
}

const Frame& MainWindowModel::GroupOf(TextBoxId box) const {
  switch (box) {
    case TextBoxId::Spacing:
      return c_.Frame_Geoid_model_spacing;
    case TextBoxId::CodeFilter:
      return c_.Frame_Point_Code;
    default:
      return c_.Frame_Sexagesimal;
  }
}

ActionResult MainWindowModel::EnterText(TextBoxId id, int row, const std::string& text) {
  TextBox* box = Box(id, row);
  if (box == nullptr) {
    return ActionResult::Refused("there is no text box row " + std::to_string(row));
  }
  if (auto refused = Refuse(*box, {&GroupOf(id)})) {
    return *refused;
  }
  focus_ = box->Name;
  box->Text = box->MaxLength > 0 ? text.substr(0, box->MaxLength) : text;
  if (id != TextBoxId::CodeFilter && !IsNumericText(box->Text)) {
    beeper_.Beep();
    focusHeldBy_ = box->Name;
    return ActionResult::Refused("'" + box->Text + "' is not a number: the focus stays in " +
                                 box->Name);
  }
  focusHeldBy_.reset();
  return ActionResult::Ok();
}

// --- Read ----------------------------------------------------------------------------------

bool MainWindowModel::RefuseEmpty(const TextBox& box, ReadOutcome& outcome) {
  if (!box.Text.empty()) {
    return false;
  }
  focus_ = box.Name;
  outcome.Focus = box.Name;
  outcome.Warning = kEnterValue;
  return true;
}

bool MainWindowModel::ValidateMainWindow(ReadOutcome& outcome) {
  if (dialogFileName_.empty()) {
    focus_ = outcome.Focus = c_.Command_Change_file.Name;
    outcome.Warning = "Select a file to read";
    return false;
  }
  if (c_.Option_Coordinate_type[OptionGeographical].Value &&
      c_.Option_Angular_units[UnitSexagesimal].Value) {
    for (std::size_t row = 0; row < 2; ++row) {
      for (const TextBox* box :
           {&c_.Text_Grados[row], &c_.Text_Minutos[row], &c_.Text_segundos[row]}) {
        if (RefuseEmpty(*box, outcome)) {
          return false;
        }
      }
    }
    return true;
  }
  for (const TextBox& box : c_.Text_Spacing) {
    if (RefuseEmpty(box, outcome)) {
      return false;
    }
  }
  return !(c_.Check_Point_code.Value && RefuseEmpty(c_.Text_Code_filter, outcome));
}

std::pair<double, double> MainWindowModel::ReadSpacings() const {
  const bool geographical = c_.Option_Coordinate_type[OptionGeographical].Value;
  const int angular = SelectedIndex(c_.Option_Angular_units);
  if (geographical && angular == UnitSexagesimal) {
    auto packed = [&](std::size_t row) {
      return ParseDecimal(c_.Text_Grados[row].Text) +
             ParseDecimal(c_.Text_Minutos[row].Text) / 100 +
             ParseDecimal(c_.Text_segundos[row].Text) / 10000;
    };
    return {PackedDmsToRadians(packed(0)), PackedDmsToRadians(packed(1))};
  }
  double x = ParseDecimal(c_.Text_Spacing[0].Text);
  double y = ParseDecimal(c_.Text_Spacing[1].Text);
  if (geographical && (angular == UnitGons || angular == UnitDecimalDegrees)) {
    const double halfTurn = angular == UnitGons ? 200.0 : 180.0;
    x = x * WindowPi / halfTurn;
    y = y * WindowPi / halfTurn;
  }
  return {x, y};
}

void MainWindowModel::Capture() {
  ConversionSettings& s = settings_;
  s.CoordinateType = c_.Option_Coordinate_type[OptionGeographical].Value ? Geographical : Grid;
  s.SourceFile = dialogFileName_;
  std::tie(s.SpacingX, s.SpacingY) = ReadSpacings();
  s.CodeFilter = c_.Check_Point_code.Value ? c_.Text_Code_filter.Text : std::string();
  s.CodeFilterOn = c_.Check_Point_code.Value;
  s.EllipsoidCode = static_cast<std::int16_t>(c_.Combo_Ellipsoid.ListIndex + 1);
  s.InterpolationText = c_.Combo_Interpolation.Text();
  s.SourceFormat = c_.Combo_Filter.ListIndex;
  s.InstrumentType = c_.Option_InstrumentType[1].Value ? 1 : 0;
  s.InterpolationIndex = c_.Combo_Interpolation.ListIndex;
  s.LocalSide = c_.Option_Local_Side.Value ? 1 : 0;
  s.SouthernHemisphere = c_.Option_HemisphereS.Value;
  s.AngularUnit = static_cast<std::int16_t>(SelectedIndex(c_.Option_Angular_units));
  s.LinearUnit = static_cast<std::int16_t>(SelectedIndex(c_.Option_Linear_Units));
}

ReadOutcome MainWindowModel::Read() {
  ReadOutcome outcome;
  if (auto reason = Unusable(c_.Command_Read_File, {}); reason) {
    outcome.Warning = *reason;
    return outcome;
  }
  if (!ValidateMainWindow(outcome)) {
    messages_.Show(
        Message{kWarningTitle, outcome.Warning, MessageIcon::Critical, MessageButtons::Ok});
    return outcome;
  }
  Capture();
  outcome.Accepted = true;
  outcome.Next = c_.Combo_Filter.ListIndex == FormatImportWizard ? NextPage::ImportWizard
                                                                 : NextPage::ConversionPage;
  c_.Visible = false;
  return outcome;
}

}  // namespace hextant
