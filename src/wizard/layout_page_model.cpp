#include "wizard/layout_page_model.h"

#include "platform/file_system.h"
#include "text/latin1.h"

namespace hextant {
namespace {

constexpr int kStartLineEntries = 50;
constexpr std::array<const char*, 6> kDelimiterCaptions{"Tab",   "Semi-colon", "Comma",
                                                        "Space", "Other",      "Columns"};
constexpr std::array<const char*, 4> kDelimiters{"\t", ";", ",", " "};

}  // namespace

LayoutPageModel::LayoutPageModel(ConversionSettings& settings) : settings_(settings) {
  Load();
}

void LayoutPageModel::Load() {
  uxFile.Name = "uxFile";
  Combo_import_line = ComboBox{};
  Combo_import_line.Name = "Combo_import_line";
  for (std::size_t i = 0; i < Option_Delimiter.size(); ++i) {
    Option_Delimiter[i].Name = "Option_Delimiter(" + std::to_string(i) + ")";
    Option_Delimiter[i].Caption = kDelimiterCaptions[i];
    Option_Delimiter[i].Value = i == DelimiterTab;
  }
  Text_Delimiter = TextBox{};
  Text_Delimiter.Name = "Text_Delimiter";
  Text_Columns = TextBox{};
  Text_Columns.Name = "Text_Columns";
  Text_Columns.ToolTip =
      "Introduce the width of the columns separated by commas and press \"Intro\" Eg. 4,3,2 are 3 "
      "columns with 4, 3 and 2 chars";
  cmdRefresh.Name = "cmdRefresh";
  cmdRefresh.Caption = "Refresh";
  cmdRefresh.Enabled = false;
  Check_Delimiter.Name = "Check_Delimiter";
  Check_Delimiter.Caption = "Treat consecutive characters as one.";
  Check_Delimiter.Value = true;

  settings_.Delimiter = "\t";
  settings_.MergeDelimiters = Check_Delimiter.Value;
  uxFile.Text = "Preview of file: " + PathText(settings_.SourceFile);
  Combo_import_line.EditText = "1";
  for (int i = 1; i <= kStartLineEntries; ++i) {
    Combo_import_line.Items.push_back(" " + std::to_string(i));
  }
  settings_.StartLine = static_cast<std::int16_t>(Combo_import_line.ListIndex + 1);
  Visible = true;
  Preview();
}

void LayoutPageModel::Preview() {
  LoadColumnPreview(settings_.SourceFile, settings_, Grid_Preview);
}

ActionResult LayoutPageModel::ChooseStartLine(int position) {
  if (position < 0 || position >= kStartLineEntries) {
    return ActionResult::Refused("Combo_import_line has no entry " + std::to_string(position));
  }
  Combo_import_line.ListIndex = static_cast<std::int16_t>(position);
  settings_.StartLine = static_cast<std::int16_t>(position + 1);
  Preview();
  return ActionResult::Ok();
}

ActionResult LayoutPageModel::SetMergeDelimiters(bool merge) {
  Check_Delimiter.Value = merge;
  settings_.MergeDelimiters = merge;
  Preview();
  return ActionResult::Ok();
}

ActionResult LayoutPageModel::SelectDelimiter(int option) {
  if (option < 0 || option >= static_cast<int>(Option_Delimiter.size())) {
    return ActionResult::Refused("Option_Delimiter has no option " + std::to_string(option));
  }
  for (std::size_t i = 0; i < Option_Delimiter.size(); ++i) {
    Option_Delimiter[i].Value = static_cast<int>(i) == option;
  }
  cmdRefresh.Enabled = false;
  if (option == DelimiterOther) {
    settings_.Delimiter = Utf8ToLatin1(Text_Delimiter.Text);  // split against the file's 8-bit text
  } else if (option == DelimiterColumns) {
    settings_.Delimiter = Text_Columns.Text;
    cmdRefresh.Enabled = true;
  } else {
    settings_.Delimiter = kDelimiters[static_cast<std::size_t>(option)];
  }
  if (!settings_.Delimiter.empty()) {
    Preview();
  }
  return ActionResult::Ok();
}

void LayoutPageModel::TypeOtherDelimiter(const std::string& text) {
  Text_Delimiter.Text = text;
}

void LayoutPageModel::TypeColumnWidths(const std::string& text) {
  if (!Option_Delimiter[DelimiterColumns].Value) {
    SelectDelimiter(DelimiterColumns);
  }
  Text_Columns.Text = text;
}

void LayoutPageModel::PressEnterInColumns() {
  settings_.Delimiter = Text_Columns.Text;
  Preview();
}

ActionResult LayoutPageModel::Refresh() {
  if (!cmdRefresh.Enabled) {
    return ActionResult::Refused("cmdRefresh is disabled");
  }
  PressEnterInColumns();
  return ActionResult::Ok();
}

void LayoutPageModel::Next(ColumnPageModel& columnPage) {
  settings_.MergeDelimiters = Check_Delimiter.Value;
  Visible = false;
  columnPage.PrepareForWizard();
}

}  // namespace hextant
