// The main window's controls: their names, captions and start state, and the rules that tie
// labels and groups to the chosen coordinate type and units.

#include "mainwindow/main_window_model.h"

#include <string_view>

#include "mainwindow/option_groups.h"
#include "readers/source_formats.h"
#include "settings/choice_lists.h"

namespace hextant {
namespace {

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
  SetPair(c.Label_Grados, "\xC2\xBA", "\xC2\xBA");
  NameAll(c.Text_Minutos, "Text_Minutos");
  NameAll(c.Label1, "Label1");
  SetPair(c.Label1, "\xC2\xB4", "\xC2\xB4");
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

  for (const SourceFormatEntry& format : SourceFormats()) {
    c_.Combo_Filter.Items.emplace_back(format.ListText);
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
      SetPair(c_.Label_Units, "\xC2\xBA dec", "\xC2\xBA dec");
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

}  // namespace hextant
