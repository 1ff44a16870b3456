#include "wizard/preview_grid.h"

#include "base/rounding.h"
#include "platform/source_file.h"
#include "text/latin1.h"
#include "text/line_reader.h"
#include "text/text_parsing.h"

namespace hextant {
namespace {

constexpr std::int32_t kLastPreviewLine = 50;
constexpr std::int32_t kLabelWidth = 500;
constexpr std::int32_t kColumnsWidth = 7150;
constexpr std::int32_t kRawLineWidth = 6650;

// Skips lines 1..startLine - 1 and hands lines startLine..50 to `show` with their grid row.
template <typename Show>
void ForPreviewLines(LineReader& reader, std::int32_t startLine, Show show) {
  std::string line;
  for (std::int32_t skipped = 1; skipped < startLine && reader.Next(line); ++skipped) {
  }
  std::int32_t row = 0;
  for (std::int32_t i = startLine; i <= kLastPreviewLine && reader.Next(line); ++i) {
    show(line, ++row);
  }
}

void AddLabelledRow(PreviewGrid& grid, std::int32_t row) {
  while (grid.Rows() <= row) {
    grid.AddRow();
  }
  grid.Width(0) = kLabelWidth;
  grid.Cell(row, 0).Text = RowLabel(row);
}

}  // namespace

void PreviewGrid::Clear() {
  cells_.assign(1, std::vector<PreviewCell>(1));
  widths_.assign(1, kLabelWidth);
  alignments_.assign(1, CellAlignment::LeftTop);
}

void PreviewGrid::SetColumns(std::int32_t columns) {
  const auto count = static_cast<std::size_t>(std::max(columns, 1));
  for (auto& row : cells_) {
    row.resize(count);
  }
  widths_.resize(count, 0);
  alignments_.resize(count, CellAlignment::LeftTop);
}

void PreviewGrid::AddRow() {
  cells_.emplace_back(widths_.size());
}

PreviewCell& PreviewGrid::Cell(std::int32_t row, std::int32_t column) {
  return cells_.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(column));
}

const PreviewCell& PreviewGrid::Cell(std::int32_t row, std::int32_t column) const {
  return cells_.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(column));
}

std::string RowLabel(std::int32_t row) {
  return " " + std::to_string(row);
}

void LoadColumnPreview(std::istream& source, ConversionSettings& settings, PreviewGrid& grid) {
  grid.Clear();
  LineReader reader(source);
  if (reader.AtEnd()) {
    return;
  }
  settings.ReadingActive = true;
  std::vector<LineField> fields;
  ForPreviewLines(reader, settings.StartLine, [&](const std::string& line, std::int32_t row) {
    std::int16_t count = 100;
    SplitLine(line, settings.Delimiter, count, fields, settings.MergeDelimiters);
    AddLabelledRow(grid, row);
    grid.SetColumns(count + 1);
    for (std::int16_t j = 1; j <= count; ++j) {
      grid.Width(j) =
          static_cast<std::int32_t>(RoundHalfEven(kColumnsWidth / static_cast<double>(count)));
      grid.Alignment(j) = count != 1 ? CellAlignment::RightTop : CellAlignment::LeftTop;
      grid.Cell(row, j).Text = Latin1ToUtf8(fields[static_cast<std::size_t>(j)].Text);
    }
  });
  settings.ReadingActive = false;
}

Status LoadColumnPreview(const std::filesystem::path& sourceFile, ConversionSettings& settings,
                         PreviewGrid& grid) {
  SourceFile source;
  if (Status opened = source.Open(sourceFile); !opened) {
    grid.Clear();
    return opened;
  }
  LoadColumnPreview(source.Stream(), settings, grid);
  return Status::Ok();
}

void LoadRawPreview(std::istream& source, std::int16_t startLine, PreviewGrid& grid) {
  grid.Clear();
  LineReader reader(source);
  ForPreviewLines(reader, startLine, [&](const std::string& line, std::int32_t row) {
    AddLabelledRow(grid, row);
    grid.SetColumns(std::max(grid.Columns(), 2));
    grid.Width(1) = kRawLineWidth;
    grid.Cell(row, 1).Text = Latin1ToUtf8(line);
  });
}

Status LoadRawPreview(const std::filesystem::path& sourceFile, std::int16_t startLine,
                      PreviewGrid& grid) {
  SourceFile source;
  if (Status opened = source.Open(sourceFile); !opened) {
    grid.Clear();
    return opened;
  }
  LoadRawPreview(source.Stream(), startLine, grid);
  return Status::Ok();
}

}  // namespace hextant
