#pragma once

#include <QTableWidget>

#include "wizard/preview_grid.h"

namespace hextant::ui {

/// Draws a preview grid on a table: its header row as the column headers (bold where the cell
/// is emphasised), its label column as the row headers, widths from twips at 15 twips a pixel.
void DrawPreview(QTableWidget* table, const PreviewGrid& grid);

}  // namespace hextant::ui
