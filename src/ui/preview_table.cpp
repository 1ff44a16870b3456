#include "preview_table.h"

#include <QHeaderView>

#include "qt_platform.h"

namespace hextant::ui {
namespace {
constexpr int kTwipsPerPixel = 15;
}

void DrawPreview(QTableWidget* table, const PreviewGrid& grid) {
  const int currentRow = table->currentRow();
  const int currentColumn = table->currentColumn();
  table->clear();
  table->setRowCount(grid.Rows() - 1);
  table->setColumnCount(grid.Columns() - 1);
  table->verticalHeader()->setFixedWidth(grid.Width(0) / kTwipsPerPixel);
  for (std::int32_t c = 1; c < grid.Columns(); ++c) {
    auto* header = new QTableWidgetItem(ToQString(grid.Cell(0, c).Text));
    QFont font = header->font();
    font.setBold(grid.Cell(0, c).Emphasis);
    header->setFont(font);
    table->setHorizontalHeaderItem(c - 1, header);
    table->setColumnWidth(c - 1, grid.Width(c) / kTwipsPerPixel);
  }
  for (std::int32_t r = 1; r < grid.Rows(); ++r) {
    table->setVerticalHeaderItem(r - 1, new QTableWidgetItem(ToQString(grid.Cell(r, 0).Text)));
    for (std::int32_t c = 1; c < grid.Columns(); ++c) {
      auto* item = new QTableWidgetItem(ToQString(grid.Cell(r, c).Text));
      const bool right = grid.Alignment(c) == CellAlignment::RightTop;
      item->setTextAlignment((right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop);
      table->setItem(r - 1, c - 1, item);
    }
  }
  // Drawing again (a role given to a column, a new delimiter) leaves the user where they were.
  if (currentRow >= 0 && currentRow < table->rowCount() && currentColumn >= 0 &&
      currentColumn < table->columnCount()) {
    table->setCurrentCell(currentRow, currentColumn);
  }
}

}  // namespace hextant::ui
