#include "readers/row_grid_reader.h"

#include <string>

#include "readers/reader_support.h"

namespace hextant {
namespace {

constexpr std::int16_t kLongestSkippedLine = 51;

// The last line that holds anything, when it is a line of numbers too short for a row that
// follows a data row: the mark of a file cut within a row, which the skip rule would pass over.
struct CutRow {
  std::uint64_t line = 0;  // 0: the last line read is no such line
  std::int16_t values = 0;
};

std::string CutRowWarning(const CutRow& cut, std::int16_t rowLength) {
  return "line " + std::to_string(cut.line) + " holds " + std::to_string(cut.values) + " of the " +
         std::to_string(rowLength) + " values of a row: the file may have been cut short";
}

Status ReadRows(SourceLines& lines, const RowGridLayout& layout, ConversionSettings& settings,
                ReaderOutput& output) {
  if (Status s = CheckSpacings(settings.SpacingX, settings.SpacingY); !s) {
    return s;
  }
  PointList& points = settings.PointList;
  points.Clear();
  FirstNodeRange range;
  std::vector<LineField> fields;
  std::string_view line;
  CutRow cut;
  for (std::int32_t dataRows = 0; !lines.AtEnd();) {
    if (Status s = lines.Read(line); !s) {
      return s;
    }
    const std::int16_t count = SplitMerged(line, " ", layout.RowLength, fields);
    if (count == 0) {
      continue;  // an empty line leaves the last line as it was
    }
    if (count <= kLongestSkippedLine) {
      const bool cutRow = dataRows > 0 && OnlyNumbers(fields, count, settings.CodeFilter);
      cut = cutRow ? CutRow{lines.LinesRead(), count} : CutRow{};
      continue;
    }
    cut = CutRow{};
    if (count < layout.RowLength) {
      const std::uint64_t at = lines.LinesRead();
      return Status::Error(ReaderFormatError,
                           "data row " + std::to_string(dataRows + 1) + " (line " +
                               std::to_string(at) + ") holds " + std::to_string(count) +
                               " values instead of " + std::to_string(layout.RowLength) +
                               (lines.AtEnd() ? ": the file may have been cut short" : ""));
    }
    ++dataRows;
    lines.ReportProgress();
    const double y = layout.Y0 - (dataRows - 1) * settings.SpacingY;
    for (std::int16_t j = 1; j <= layout.RowLength; ++j) {
      GeoidPoint node{(j - 1) * settings.SpacingX + layout.X0, y, NullSeparation, NullFlagSet};
      const std::string_view text = fields[static_cast<std::size_t>(j)].Text;
      if (text != settings.CodeFilter) {
        node.Separation = NumberOf(text, lines.LinesRead(), output.Diagnostics);
        node.NullFlag = 0.0;
        range.Take(node.Separation);
      }
      if (!points.Append(node)) {
        return Status::Error(ErrorOutOfMemory, "Out of memory");
      }
    }
  }
  if (cut.line > 0) {
    output.Diagnostics.Warnings.push_back(CutRowWarning(cut, layout.RowLength));
  }
  return FinishRange(range.Smallest, range.Largest, output);
}

}  // namespace

bool ReadRowGrid(std::istream& source, std::uint64_t sizeInBytes, const RowGridLayout& layout,
                 ReaderEnvironment& env, ReaderOutput& output, Status* failure) {
  env.Progress.ShowBar();
  SourceLines lines(source, sizeInBytes, env.Progress);
  return RunReader(layout.Procedure, env, failure,
                   [&] { return ReadRows(lines, layout, env.Settings, output); });
}

}  // namespace hextant
