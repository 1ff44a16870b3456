#pragma once

// The layout page `Form_Reader_2` of the import wizard as a plain model: the start line, the
// delimiter options, the column widths and the merging of delimiters, each change previewed.

#include <array>
#include <cstdint>
#include <string>

#include "settings/conversion_settings.h"
#include "settings/window_controls.h"
#include "wizard/column_page_model.h"
#include "wizard/preview_grid.h"

namespace hextant {

/// Indexes of `Option_Delimiter`.
enum DelimiterOption : int {
  DelimiterTab = 0,
  DelimiterSemicolon = 1,
  DelimiterComma = 2,
  DelimiterSpace = 3,
  DelimiterOther = 4,
  DelimiterColumns = 5,
};

class LayoutPageModel {
 public:
  explicit LayoutPageModel(ConversionSettings& settings);

  // Controls.
  std::string Caption = "Hextant: Step 2 of 3";
  bool Visible = false;
  TextBox uxFile;
  ComboBox Combo_import_line;
  std::array<OptionButton, 6> Option_Delimiter;
  TextBox Text_Delimiter;
  TextBox Text_Columns;
  Button cmdRefresh;
  CheckBox Check_Delimiter;
  PreviewGrid Grid_Preview;

  /// The load handler: the page as it is created (after Next on the welcome page, and again after
  /// every Back from this page), with the tab layout and its preview.
  void Load();
  /// Chooses entry `position` (0..49) of the start-line list: lines before position + 1 are
  /// skipped.
  ActionResult ChooseStartLine(int position);
  ActionResult SetMergeDelimiters(bool merge);
  ActionResult SelectDelimiter(int option);
  /// Types into the "Other" box; the delimiter is taken when "Other" is clicked.
  void TypeOtherDelimiter(const std::string& text);
  /// Enters the "Columns" box (selecting "Columns") and types a width list into it.
  void TypeColumnWidths(const std::string& text);
  /// Enter in the "Columns" box, or the Refresh button: previews with the typed widths.
  void PressEnterInColumns();
  ActionResult Refresh();
  /// Next: hides this page and prepares and shows the column page.
  void Next(ColumnPageModel& columnPage);

 private:
  void Preview();

  ConversionSettings& settings_;
};

}  // namespace hextant
