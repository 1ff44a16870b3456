// The user's actions on the main window, each refused when its control cannot be used.

#include "mainwindow/main_window_model.h"

#include "grids/grid_file.h"
#include "mainwindow/control_captions.h"
#include "mainwindow/option_groups.h"
#include "platform/file_system.h"
#include "settings/choice_lists.h"
#include "text/text_parsing.h"

namespace hextant {

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
    return focusHeldCaption_ + " keeps the focus until it holds a number";
  }
  if (!c_.Visible) {
    return "the main window is hidden";
  }
  std::optional<std::string> reason;
  const std::string caption = DescribeControl(c_, control);
  for (const Frame* group : groups) {
    if (!reason && (!group->Visible || !group->Enabled)) {
      const char* state = group->Visible ? "disabled" : "hidden";
      reason = group->Caption.empty()
                   ? caption + " is " + state
                   : caption + " is in the " + state + " group " + DescribeGroup(*group);
    }
  }
  if (!reason && (!control.Visible || !control.Enabled)) {
    reason = caption + (control.Visible ? " is disabled" : " is hidden");
  }
  if (reason && c_.Combo_Filter.ListIndex != FormatImportWizard && c_.Combo_Filter.ListIndex >= 0) {
    *reason += ": the \"" + c_.Combo_Filter.Text() + "\" format sets it";
  }
  return reason;
}

ActionResult MainWindowModel::ChooseFile() {
  if (auto refused = Refuse(c_.Command_Change_file, {&c_.Frame_Geoid_model_file})) {
    return *refused;
  }
  return TakeChosenFile(
      dialogs_.ChooseOpenFile(FileDialogRequest{"All files|*.*", "", dialogFileName_}));
}

ActionResult MainWindowModel::ChooseFile(const std::filesystem::path& file) {
  if (auto refused = Refuse(c_.Command_Change_file, {&c_.Frame_Geoid_model_file})) {
    return *refused;
  }
  return TakeChosenFile(file);
}

ActionResult MainWindowModel::TakeChosenFile(const std::optional<std::filesystem::path>& chosen) {
  if (chosen) {
    dialogFileName_ = *chosen;
  }
  c_.uxFile.Text = PathText(dialogFileName_);
  c_.uxFile.ToolTip = c_.uxFile.Text;
  // A grid file chosen while the import wizard is the source is read as the grid it is.
  if (chosen && c_.Combo_Filter.ListIndex == FormatImportWizard && RecognizeGridFile(*chosen)) {
    return SelectSourceFormat(FormatGridFile);
  }
  ApplyGridFile();
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
    focusHeldCaption_ = DescribeControl(c_, *box);
    return ActionResult::Refused("'" + box->Text + "' is not a number: the focus stays in " +
                                 focusHeldCaption_);
  }
  focusHeldBy_.reset();
  return ActionResult::Ok();
}

}  // namespace hextant
