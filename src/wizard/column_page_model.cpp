#include "wizard/column_page_model.h"

#include "grids/grid_file.h"
#include "platform/file_system.h"
#include "readers/source_formats.h"
#include "settings/choice_lists.h"

namespace hextant {
namespace {

constexpr std::int32_t kFirstColumnWidth = 6650;

MenuEntry Entry(const char* name, const char* caption, std::int16_t role) {
  return MenuEntry{name, caption, role, false};
}

}  // namespace

ColumnPageModel::ColumnPageModel(ConversionSettings& settings) : settings_(settings) {
  uxFile.Name = "uxFile";
  Label_info.Name = "Label_info";
  Label_info.Caption = "Use the right mouse button to assign the correct value to each column";
  Frame1.Name = "Frame1";
  Frame1.Caption = "Status : Reading file";
  Label_Progres.Name = "Label_Progres";
  Label_Progres.Caption = "0 %";
  Menu_Coordinate = {
      Entry("Menu_X", "Grid Easting", RoleX), Entry("Menu_Y", "Grid Northing", RoleY),
      Entry("Menu_Z", "Separation", RoleSeparation), Entry("Menu_code", "Code", RoleCode)};
  Menu_Coordinate_Sexa = {
      Entry("MenuS_Z", "Separation", RoleSeparation),
      Entry("MenuS_code", "Code", RoleCode),
      Entry("MenuS_Longitude_Degrees", "Longitude Degrees", RoleLongitudeDegrees),
      Entry("MenuS_Longitude_Minutes", "Longitude Minutes", RoleLongitudeMinutes),
      Entry("MenuS_Longitude_Seconds", "Longitude Seconds", RoleLongitudeSeconds),
      Entry("MenuS_Latitude_Degrees", "Latitude Degrees", RoleLatitudeDegrees),
      Entry("MenuS_Latitude_Minutes", "Latitude Minutes", RoleLatitudeMinutes),
      Entry("MenuS_Latitude_Seconds", "Latitude Seconds", RoleLatitudeSeconds)};
}

void ColumnPageModel::Load() {
  const SourceFormatEntry* format = SourceFormatAt(settings_.SourceFormat);
  const PreviewKind preview = format != nullptr ? format->Preview : PreviewKind::RawLines;
  // A grid file's summary is what the file says, so it follows the file chosen for each visit.
  if (loaded_ && preview != PreviewKind::GridSummary) {
    return;
  }
  loaded_ = true;
  uxFile.Text = "Preview of file: " + PathText(settings_.SourceFile);
  if (preview == PreviewKind::WizardColumns) {
    Label_info.Caption = "Use the right mouse button to assign the correct value to each column";
    GridEnabled = true;
    return;
  }
  Label_info.Caption = "Reading Geoid Model... ";
  GridEnabled = false;
  if (preview == PreviewKind::None) {
    ShowLines({"No preview available for this file."});
    return;
  }
  if (preview == PreviewKind::GridSummary) {
    ShowGridSummary();
    GridEnabled = true;  // scrolls when the page is small
    return;
  }
  LoadRawPreview(settings_.SourceFile, settings_.StartLine, Grid_Preview);
  if (preview == PreviewKind::RawLinesWideFirst && Grid_Preview.Columns() > 1) {
    Grid_Preview.Width(1) = kFirstColumnWidth;
    GridEnabled = true;
  }
}

void ColumnPageModel::ShowLines(const std::vector<std::string>& lines) {
  Grid_Preview.Clear();
  Grid_Preview.SetColumns(2);
  Grid_Preview.Width(1) = kFirstColumnWidth;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    Grid_Preview.AddRow();
    Grid_Preview.Cell(static_cast<std::int32_t>(i + 1), 1).Text = lines[i];
  }
}

// What the grid file's header says, or why it cannot be read.
void ColumnPageModel::ShowGridSummary() {
  GridDescription grid;
  const auto forced = ForcedGridLayout(settings_.GridLayoutForced);
  if (const Status s = DescribeGridFile(settings_.SourceFile, grid, forced); !s) {
    ShowLines({s.Description()});
    return;
  }
  std::vector<std::string> lines = DescribeGrid(grid);
  // Counting reads the whole file: done for files that read in a moment.
  constexpr std::uint64_t kCountedSize = std::uint64_t{64} << 20;
  std::error_code error;
  const auto size = std::filesystem::file_size(settings_.SourceFile, error);
  std::int64_t empty = 0;
  if (error || size > kCountedSize) {
    lines.push_back("Nodes without value: counted while converting");
  } else if (const Status s = CountNodesWithoutValue(settings_.SourceFile, forced, empty); !s) {
    lines.push_back("The file breaks: " + s.Description());
  } else {
    lines.push_back("Nodes without value: " + std::to_string(empty));
  }
  ShowLines(lines);
}

void ColumnPageModel::PrepareForWizard() {
  Load();
  LoadColumnPreview(settings_.SourceFile, settings_, Grid_Preview);
  Visible = true;
  settings_.ColumnRoles.fill(-1);
  for (auto& entry : Menu_Coordinate) {
    entry.Checked = false;
    entry.Caption = RoleName(entry.Role, settings_.CoordinateType);
  }
  for (auto& entry : Menu_Coordinate_Sexa) {
    entry.Checked = false;
  }
  // The grid takes right-clicks in wizard use also when the page first showed a national file.
  GridEnabled = true;
  StartVisit();
}

void ColumnPageModel::StartVisit() {
  Frame1.Caption = "Status : Reading file";
  ProgressBarVisible = false;
  Label_Progres.Caption = "0 %";
}

void ColumnPageModel::ShowNothingWritten() {
  Frame1.Caption = "Status : No model was written";
  ProgressBarVisible = false;
  Label_Progres.Caption = "0 %";
}

bool ColumnPageModel::UsesSexagesimalMenu() const noexcept {
  return settings_.AngularUnit == 3;
}

bool ColumnPageModel::RightClick(std::int32_t column) {
  if (!GridEnabled || column <= 0 || column >= Grid_Preview.Columns()) {
    return false;
  }
  settings_.SelectedColumn = static_cast<std::int16_t>(column);
  return true;
}

MenuEntry* ColumnPageModel::EntryInUse(std::int16_t role) {
  auto find = [role](auto& menu) -> MenuEntry* {
    for (auto& entry : menu) {
      if (entry.Role == role) {
        return &entry;
      }
    }
    return nullptr;
  };
  return UsesSexagesimalMenu() ? find(Menu_Coordinate_Sexa) : find(Menu_Coordinate);
}

bool ColumnPageModel::ToggleRole(std::int16_t role) {
  MenuEntry* entry = EntryInUse(role);
  if (entry == nullptr) {
    return false;
  }
  auto& assigned = settings_.ColumnRoles[static_cast<std::size_t>(role)];
  if (entry->Checked) {
    ClearRoleHeader(assigned);
    entry->Checked = false;
    assigned = -1;
    return true;
  }
  ReleaseSelectedColumn();
  entry->Checked = true;
  if (Grid_Preview.Columns() > settings_.SelectedColumn) {
    PreviewCell& header = Grid_Preview.Cell(0, settings_.SelectedColumn);
    header.Emphasis = true;
    header.Text = RoleName(role, settings_.CoordinateType);
  }
  assigned = settings_.SelectedColumn;
  return true;
}

void ColumnPageModel::ReleaseSelectedColumn() {
  for (std::int16_t role = RoleX; role <= RoleLatitudeSeconds; ++role) {
    auto& assigned = settings_.ColumnRoles[static_cast<std::size_t>(role)];
    if (assigned != settings_.SelectedColumn) {
      continue;
    }
    assigned = -1;
    auto uncheck = [role](auto& menu) {
      for (auto& entry : menu) {
        if (entry.Role == role) {
          entry.Checked = false;
        }
      }
    };
    uncheck(Menu_Coordinate);
    uncheck(Menu_Coordinate_Sexa);
  }
}

void ColumnPageModel::ClearRoleHeader(std::int16_t column) {
  if (column != -1 && column > 0 && column < Grid_Preview.Columns()) {
    Grid_Preview.Cell(0, column).Text.clear();
  }
}

BackTarget ColumnPageModel::Back() {
  if (settings_.ReadingActive) {
    settings_.ReadingActive = false;
    return BackTarget::StayWhileReading;
  }
  Visible = false;
  return settings_.SourceFormat == FormatImportWizard ? BackTarget::LayoutPage
                                                      : BackTarget::MainWindow;
}

}  // namespace hextant
