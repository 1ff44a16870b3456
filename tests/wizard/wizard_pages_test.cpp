#include <gtest/gtest.h>

#include "fakes/platform_fakes.h"
#include "temp_dir.h"
#include "wizard/column_page_model.h"
#include "wizard/layout_page_model.h"

namespace hextant::test {
namespace {

std::string Lines(int count, const std::string& line = "a;;b") {
  std::string text;
  for (int i = 1; i <= count; ++i) {
    text += std::to_string(i) + ";" + line + "\r\n";
  }
  return text;
}

class WizardPages : public ::testing::Test {
 protected:
  void Source(const std::string& text) {
    settings_.SourceFile = dir_.File("source.txt");
    WriteBytes(settings_.SourceFile, {text.begin(), text.end()});
  }
  static std::string RowText(const PreviewGrid& grid, std::int32_t row) {
    std::string text;
    for (std::int32_t c = 1; c < grid.Columns(); ++c) {
      text += grid.Cell(row, c).Text + "|";
    }
    return text;
  }

  TempDir dir_;
  ConversionSettings settings_;
};

TEST_F(WizardPages, PreviewShowsLinesFromTheStartLineToLine50) {
  Source(Lines(10));
  LayoutPageModel page(settings_);
  EXPECT_EQ(settings_.StartLine, 0);
  EXPECT_EQ(page.Combo_import_line.Text(), "1");
  EXPECT_EQ(page.Grid_Preview.Rows(), 11);
  ASSERT_TRUE(page.ChooseStartLine(4).Accepted);  // entry " 5"
  EXPECT_EQ(page.Grid_Preview.Rows(), 7);
  EXPECT_EQ(page.Grid_Preview.Cell(1, 0).Text, " 1");
  EXPECT_EQ(page.Grid_Preview.Cell(1, 1).Text, "5;a;;b") << "tab-delimited: one column";

  Source(Lines(200));
  LayoutPageModel longer(settings_);
  EXPECT_EQ(longer.Grid_Preview.Rows(), 52) << "51 lines before a start line is chosen";
  longer.ChooseStartLine(0);
  EXPECT_EQ(longer.Grid_Preview.Rows(), 51);
  longer.ChooseStartLine(9);
  EXPECT_EQ(longer.Grid_Preview.Rows(), 42);
  EXPECT_FALSE(settings_.ReadingActive);
}

TEST_F(WizardPages, DelimitersAndWidthsShapeTheColumns) {
  Source("1;;2\r\n");
  LayoutPageModel page(settings_);
  page.SelectDelimiter(DelimiterSemicolon);
  EXPECT_EQ(RowText(page.Grid_Preview, 1), "1|2|");
  page.SetMergeDelimiters(false);
  EXPECT_EQ(RowText(page.Grid_Preview, 1), "1||2|");

  Source("ABCDEFGHIJ\r\n");
  LayoutPageModel widths(settings_);
  widths.TypeColumnWidths("4,3,2");
  EXPECT_TRUE(widths.Option_Delimiter[DelimiterColumns].Value) << "entering the box selects it";
  EXPECT_TRUE(widths.cmdRefresh.Enabled);
  EXPECT_EQ(settings_.Delimiter, "") << "the text counts only on Enter or Refresh";
  widths.PressEnterInColumns();
  EXPECT_EQ(RowText(widths.Grid_Preview, 1), "ABCD|EFG|HI|");
}

TEST_F(WizardPages, OtherTakesTheTextItHoldsWhenClicked) {
  Source("1#2#3\r\n");
  LayoutPageModel page(settings_);
  page.SelectDelimiter(DelimiterOther);
  EXPECT_EQ(settings_.Delimiter, "");
  page.TypeOtherDelimiter("#");
  EXPECT_EQ(settings_.Delimiter, "") << "typing alone changes nothing";
  page.SelectDelimiter(DelimiterOther);
  EXPECT_EQ(settings_.Delimiter, "#");
  EXPECT_EQ(RowText(page.Grid_Preview, 1), "1|2|3|");
  page.Load();  // Back to the welcome page and Next again
  EXPECT_EQ(settings_.Delimiter, "\t");
  EXPECT_EQ(settings_.StartLine, 0);
  EXPECT_TRUE(page.Option_Delimiter[DelimiterTab].Value);
}

class ColumnRoles : public WizardPages {
 protected:
  ColumnPageModel& Prepare(std::int16_t angularUnit = 2) {
    Source("1 2 3 4 5 6 7 8\r\n");
    settings_.CoordinateType = Geographical;
    settings_.AngularUnit = angularUnit;
    LayoutPageModel layout(settings_);
    layout.SelectDelimiter(DelimiterSpace);
    layout.Next(page_);
    return page_;
  }
  void Assign(std::int32_t column, std::int16_t role) {
    ASSERT_TRUE(page_.RightClick(column));
    ASSERT_TRUE(page_.ToggleRole(role));
  }
  std::int16_t ColumnOf(std::int16_t role) const {
    return settings_.ColumnRoles[static_cast<std::size_t>(role)];
  }

  ColumnPageModel page_{settings_};
};

TEST_F(ColumnRoles, AColumnHoldsOneRoleAndAMarkedEntryOnlyTakesBack) {
  Prepare();
  EXPECT_FALSE(page_.RightClick(0)) << "the label column";
  Assign(2, RoleY);
  EXPECT_EQ(ColumnOf(RoleY), 2);
  EXPECT_TRUE(page_.Menu_Coordinate[1].Checked);

  Assign(2, RoleSeparation);  // takes Latitude away from column 2
  EXPECT_EQ(ColumnOf(RoleY), -1);
  EXPECT_FALSE(page_.Menu_Coordinate[1].Checked);
  EXPECT_EQ(page_.Grid_Preview.Cell(0, 2).Text, "Separation");

  Assign(5, RoleSeparation);  // marked: only takes it back, column 5 gets nothing
  EXPECT_EQ(ColumnOf(RoleSeparation), -1);
  EXPECT_EQ(page_.Grid_Preview.Cell(0, 2).Text, "");
  EXPECT_EQ(page_.Grid_Preview.Cell(0, 5).Text, "");
  EXPECT_FALSE(page_.ToggleRole(RoleLatitudeDegrees)) << "not in the decimal menu";
}

TEST_F(ColumnRoles, CheckListsEveryMissingRoleInOneWarning) {
  ScriptedMessageBoxes messages;
  Prepare(3);  // sexagesimal menu
  EXPECT_FALSE(page_.ToggleRole(RoleX));
  for (std::int16_t role : {RoleLongitudeDegrees, RoleLongitudeMinutes, RoleLatitudeDegrees}) {
    Assign(role - 3, role);
  }
  EXPECT_EQ(page_.Grid_Preview.Cell(0, 2).Text, "Long Degrees");
  EXPECT_FALSE(CheckColumnRoles(settings_, messages));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].Title, "Warning");
  EXPECT_EQ(messages.shown[0].Text, "Assigning Long Seconds to a column");
  EXPECT_EQ(messages.shown[0].Detail,
            "Roles without a column: Long Seconds, Lat Minutes, Lat Seconds, Separation");

  for (std::int16_t role : {RoleLongitudeSeconds, RoleLatitudeMinutes, RoleLatitudeSeconds}) {
    Assign(role - 3, role);
  }
  Assign(5, RoleSeparation);  // takes Lat Degrees from column 5
  EXPECT_FALSE(CheckColumnRoles(settings_, messages));
  EXPECT_EQ(messages.shown[1].Text, "Assigning Lat Degrees to a column");
  EXPECT_EQ(messages.shown[1].Detail, "") << "one missing role needs no list";
}

TEST_F(ColumnRoles, BackStopsAReadBeforeItNavigates) {
  Prepare();
  settings_.ReadingActive = true;
  EXPECT_EQ(page_.Back(), BackTarget::StayWhileReading);
  EXPECT_FALSE(settings_.ReadingActive);
  EXPECT_EQ(page_.Back(), BackTarget::LayoutPage);
  settings_.SourceFormat = 4;
  EXPECT_EQ(page_.Back(), BackTarget::MainWindow);
}

}  // namespace
}  // namespace hextant::test
