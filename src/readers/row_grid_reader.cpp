#include "readers/row_grid_reader.h"

#include "readers/reader_support.h"

namespace hextant {
namespace {

constexpr std::int16_t kLongestSkippedLine = 51;

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
  for (std::int32_t dataRows = 0; !lines.AtEnd();) {
    if (Status s = lines.Read(line); !s) {
      return s;
    }
    const std::int16_t count = SplitMerged(line, " ", layout.RowLength, fields);
    if (count <= kLongestSkippedLine) {
      continue;
    }
    if (count < layout.RowLength) {
      return Status::Error(ReaderFormatError, "data row " + std::to_string(dataRows + 1) +
                                                  " holds " + std::to_string(count) +
                                                  " values instead of " +
                                                  std::to_string(layout.RowLength));
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
