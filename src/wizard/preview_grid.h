#pragma once

// The preview grid of the wizard pages as a plain model, and the two loaders that fill it from a
// source file: split into columns by the wizard's layout, or whole lines.

#include <cstdint>
#include <filesystem>
#include <istream>
#include <string>
#include <vector>

#include "base/status.h"
#include "settings/conversion_settings.h"

namespace hextant {

enum class CellAlignment { LeftTop, RightTop };

struct PreviewCell {
  std::string Text;
  bool Emphasis = false;
};

/// A grid with a fixed header row 0 and label column 0; widths in twips.
class PreviewGrid {
 public:
  PreviewGrid() { Clear(); }

  /// Back to the header row and the label column, empty.
  void Clear();
  /// Sets the number of columns (label column included), keeping the cells of columns that stay.
  void SetColumns(std::int32_t columns);
  /// Adds an empty row at the bottom.
  void AddRow();

  std::int32_t Rows() const noexcept { return static_cast<std::int32_t>(cells_.size()); }
  std::int32_t Columns() const noexcept { return static_cast<std::int32_t>(widths_.size()); }
  PreviewCell& Cell(std::int32_t row, std::int32_t column);
  const PreviewCell& Cell(std::int32_t row, std::int32_t column) const;
  std::int32_t& Width(std::int32_t column) { return widths_.at(static_cast<std::size_t>(column)); }
  std::int32_t Width(std::int32_t column) const {
    return widths_.at(static_cast<std::size_t>(column));
  }
  CellAlignment& Alignment(std::int32_t column) {
    return alignments_.at(static_cast<std::size_t>(column));
  }
  CellAlignment Alignment(std::int32_t column) const {
    return alignments_.at(static_cast<std::size_t>(column));
  }

 private:
  std::vector<std::vector<PreviewCell>> cells_;  // [row][column]
  std::vector<std::int32_t> widths_;
  std::vector<CellAlignment> alignments_;
};

/// The row label of grid row `row`: the number with one leading blank (" 7").
std::string RowLabel(std::int32_t row);

/// The loaders read only a regular file (the path overloads refuse anything else at once, with the
/// grid left empty); cell texts are the file's 8-bit text turned into UTF-8.

/// Fills `grid` with lines StartLine..50 of the source (1..51 while StartLine is 0) split by
/// `Delimiter` and `MergeDelimiters` into at most 100 columns; `ReadingActive` is true while the
/// source is read.
void LoadColumnPreview(std::istream& source, ConversionSettings& settings, PreviewGrid& grid);
Status LoadColumnPreview(const std::filesystem::path& sourceFile, ConversionSettings& settings,
                         PreviewGrid& grid);

/// Fills `grid` with whole lines startLine..50 of the source, one per row in column 1.
void LoadRawPreview(std::istream& source, std::int16_t startLine, PreviewGrid& grid);
Status LoadRawPreview(const std::filesystem::path& sourceFile, std::int16_t startLine,
                      PreviewGrid& grid);

}  // namespace hextant
