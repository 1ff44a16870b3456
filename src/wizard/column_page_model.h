#pragma once

// The conversion page `Form_Reader_3` as a plain model: the preview, the right-click role menus
// with their check marks, the role headers, the status frame and the Back button. For the import
// wizard it is the column page; for a national format the page the main window opens.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "settings/conversion_settings.h"
#include "settings/window_controls.h"
#include "wizard/column_roles.h"
#include "wizard/preview_grid.h"

namespace hextant {

struct MenuEntry {
  std::string Name;
  std::string Caption;
  std::int16_t Role = 0;
  bool Checked = false;
};

/// Where Back leads.
enum class BackTarget { StayWhileReading, LayoutPage, MainWindow };

class ColumnPageModel {
 public:
  explicit ColumnPageModel(ConversionSettings& settings);

  // Controls.
  std::string Caption = "Hextant: Step 3 of 3";
  bool Visible = false;
  TextBox uxFile;
  Label Label_info;
  PreviewGrid Grid_Preview;
  bool GridEnabled = true;
  Frame Frame1;
  Label Label_Progres;
  bool ProgressBarVisible = false;
  std::array<MenuEntry, 4> Menu_Coordinate;       // Menu_X, Menu_Y, Menu_Z, Menu_code
  std::array<MenuEntry, 8> Menu_Coordinate_Sexa;  // MenuS_Z, MenuS_code, 6 × degree parts

  /// The load handler: runs once, on the page's first showing, for the chosen source format.
  void Load();
  /// What the layout page's Next does to this page: previews the source by the wizard's layout,
  /// clears every role and check mark and names the X and Y entries for the coordinate type.
  void PrepareForWizard();
  /// Every showing of the page starts with the status of a new run: the design caption of the
  /// status frame, the progress bar hidden at "0 %".
  void StartVisit();
  /// Says on the page that a run stopped before any model was written (the save dialog
  /// cancelled, the writer refused), so that no 100 % is left standing.
  void ShowNothingWritten();

  /// A right-click on grid column `column`: remembers it and opens the menu in use. False for the
  /// label column, a column the grid does not have, or a grid that takes no clicks.
  bool RightClick(std::int32_t column);
  /// True when the sexagesimal menu is the one in use.
  bool UsesSexagesimalMenu() const noexcept;
  /// The action of the in-use menu's entry for `role`: takes a marked role back, otherwise gives
  /// it to the selected column. False when the menu in use has no entry for `role`.
  bool ToggleRole(std::int16_t role);
  /// Takes every role away from the selected column.
  void ReleaseSelectedColumn();
  /// Blanks the header cell of `column`.
  void ClearRoleHeader(std::int16_t column);
  /// Back: while a read is under way only asks it to stop; otherwise hides the page.
  BackTarget Back();

 private:
  MenuEntry* EntryInUse(std::int16_t role);
  void ShowLines(const std::vector<std::string>& lines);
  void ShowGridSummary();

  ConversionSettings& settings_;
  bool loaded_ = false;
};

}  // namespace hextant
