// What choosing a source format does to the main window: its preset values and locks.

#include "mainwindow/main_window_model.h"

#include <cstdio>
#include "mainwindow/option_groups.h"

#include "grids/grid_file.h"
#include "readers/source_formats.h"
#include "settings/choice_lists.h"

namespace hextant {
namespace {

const SourcePreset& PresetFor(std::int16_t position) noexcept {
  static const SourcePreset none;
  const SourceFormatEntry* format = SourceFormatAt(position);
  return format != nullptr ? format->Preset : none;
}

std::string SpacingText(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.10g", value);
  return text;
}

}  // namespace

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
  const SourceFormatEntry* format = SourceFormatAt(position);
  const bool listsOpen = format != nullptr && format->ListsOpen;
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
  ApplyGridFile();
  return ActionResult::Ok();
}

ActionResult MainWindowModel::ForceGridLayout(std::int16_t layout) {
  settings_.GridLayoutForced = layout;
  ApplyGridFile();
  return ActionResult::Ok();
}

// A grid file says what its coordinates and spacings are: once it is chosen, the window shows
// them (locked by the format's preset); a file that is no grid is named when Read is pressed.
void MainWindowModel::ApplyGridFile() {
  gridFileProblem_.clear();
  const SourceFormatEntry* format = SourceFormatAt(c_.Combo_Filter.ListIndex);
  if (format == nullptr || !format->FileSetsGrid || dialogFileName_.empty()) {
    return;
  }
  GridDescription grid;
  const auto forced = ForcedGridLayout(settings_.GridLayoutForced);
  if (const Status s = DescribeGridFile(dialogFileName_, grid, forced); !s) {
    gridFileProblem_ = s.Description();
    for (TextBox& box : c_.Text_Spacing) {
      box.Text.clear();
    }
    return;
  }
  SetCoordinateType(grid.Geographical ? OptionGeographical : OptionGrid);
  SetLinearUnit(UnitMetres);
  if (grid.Geographical) {
    SetAngularUnit(UnitDecimalDegrees);
  }
  c_.Text_Spacing[0].Text = SpacingText(grid.SpacingX);
  c_.Text_Spacing[1].Text = SpacingText(grid.SpacingY);
  ApplyPresetLocks(c_.Combo_Filter.ListIndex);  // the unit rules above unlock what the file sets
}

}  // namespace hextant
