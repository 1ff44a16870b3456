#pragma once

#include <QTableWidget>

#include "wizard/preview_grid.h"

namespace hextant::ui {

/// Draws a preview grid on a table: its header row as the column headers (bold where the cell
/// is emphasised), its label column as the row headers, widths from twips at 15 twips a pixel.
/// The table's current cell stays where it was when the new grid still has it.
void DrawPreview(QTableWidget* table, const PreviewGrid& grid);

}  // namespace hextant::ui
