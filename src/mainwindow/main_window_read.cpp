// Read: the validation of the main window's entries and their capture into the settings.

#include "mainwindow/main_window_model.h"

#include <tuple>

#include "base/angles.h"
#include "mainwindow/control_captions.h"
#include "mainwindow/option_groups.h"
#include "platform/source_file.h"
#include "settings/choice_lists.h"
#include "text/latin1.h"
#include "text/text_parsing.h"

namespace hextant {
namespace {

constexpr const char* kWarningTitle = "Warning";
constexpr const char* kEnterValue = "Enter a value in the field ";

}  // namespace

// --- Read ----------------------------------------------------------------------------------

bool MainWindowModel::RefuseEmpty(const TextBox& box, ReadOutcome& outcome) {
  if (!box.Text.empty()) {
    return false;
  }
  focus_ = box.Name;
  outcome.Focus = box.Name;
  outcome.Warning = kEnterValue;
  outcome.Detail = DescribeControl(c_, box) + " is empty.";
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
  // The code is compared with the file's 8-bit text, so it is captured as such.
  s.CodeFilter = c_.Check_Point_code.Value ? Utf8ToLatin1(c_.Text_Code_filter.Text) : std::string();
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
  // A grid file whose header cannot be read leaves the boxes it fills empty: the file is the
  // cause, and is named before them.
  if (!gridFileProblem_.empty() && !dialogFileName_.empty()) {
    focus_ = outcome.Focus = c_.Command_Change_file.Name;
    outcome.Warning = gridFileProblem_;
    messages_.Show(Message{"Error", outcome.Warning, MessageIcon::Critical, MessageButtons::Ok});
    return outcome;
  }
  if (!ValidateMainWindow(outcome)) {
    messages_.Show(Message{kWarningTitle, outcome.Warning, MessageIcon::Critical,
                           MessageButtons::Ok, outcome.Detail});
    return outcome;
  }
  // A source that cannot be read is told now, before any page tries to show it.
  if (const Status readable = CheckSourceFile(dialogFileName_); !readable) {
    focus_ = outcome.Focus = c_.Command_Change_file.Name;
    outcome.Warning = readable.Description();
    messages_.Show(Message{"Error", outcome.Warning, MessageIcon::Critical, MessageButtons::Ok});
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
