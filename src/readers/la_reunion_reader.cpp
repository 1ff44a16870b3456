#include "readers/la_reunion_reader.h"

#include <cmath>

#include "base/angles.h"
#include "base/rounding.h"
#include "readers/reader_support.h"

namespace hextant {
namespace {

constexpr const char* kProcedure = "ConvertFileLaReunion";
constexpr std::int16_t kValuesPerLine = 8;
constexpr double kNoValue = 9999.0;

double PointNumber(std::string_view text) {
  return ParseDecimal(text, DecimalMark::PointOnly);
}

struct ReunionGrid {
  double latMin, latMax, lonMin, lonMax, dLat, dLon;  // radians
  std::int32_t rows, columns, linesPerRow;
};

Status HeaderPair(SourceLines& lines, std::vector<LineField>& fields, double& first,
                  double& second) {
  std::string_view line;
  if (Status s = lines.Read(line); !s) {
    return s;
  }
  const std::int16_t count = SplitMerged(line, " ", 2, fields);
  first = DegToRad(PointNumber(FieldText(fields, count, 1)));
  second = DegToRad(PointNumber(FieldText(fields, count, 2)));
  return Status::Ok();
}

// rows or columns: (max - min) / spacing + 1, halves to even, within 16 bits.
Status Count(double min, double max, double spacing, std::int32_t& count) {
  if (spacing == 0.0) {
    return Status::Error(11, "Division by zero");
  }
  const auto rounded = RoundHalfEvenToInt32((max - min) / spacing + 1.0);
  if (!rounded || *rounded > 32767 || *rounded < -32768) {
    return Status::Error(ErrorOverflow, "Overflow");
  }
  count = *rounded;
  return Status::Ok();
}

Status ReadHeader(SourceLines& lines, ConversionSettings& settings, ReunionGrid& g) {
  std::vector<LineField> fields;
  for (auto [first, second] : {std::pair{&g.latMin, &g.latMax}, std::pair{&g.lonMin, &g.lonMax},
                               std::pair{&g.dLat, &g.dLon}}) {
    if (Status s = HeaderPair(lines, fields, *first, *second); !s) {
      return s;
    }
  }
  settings.SpacingX = g.dLon;
  settings.SpacingY = g.dLat;
  if (Status s = Count(g.latMin, g.latMax, g.dLat, g.rows); !s) {
    return s;
  }
  if (Status s = Count(g.lonMin, g.lonMax, g.dLon, g.columns); !s) {
    return s;
  }
  g.linesPerRow = (g.columns + kValuesPerLine - 1) / kValuesPerLine;
  return Status::Ok();
}

// The next line that is not empty; a line of blanks counts.
Status NextBodyLine(SourceLines& lines, std::string_view& line) {
  do {
    if (Status s = lines.Read(line); !s) {
      return s;
    }
  } while (line.empty());
  return Status::Ok();
}

Status ReadBody(SourceLines& lines, const ReunionGrid& g, PointList& points, FirstNodeRange& range,
                ReadDiagnostics& diagnostics) {
  std::vector<LineField> fields;
  std::string_view line;
  for (std::int32_t r = 1; r <= g.rows; ++r) {
    std::int32_t k = 0;
    for (std::int32_t l = 0; l < g.linesPerRow; ++l) {
      lines.ReportProgress();
      if (Status s = NextBodyLine(lines, line); !s) {
        return s;
      }
      const std::int16_t count = SplitMerged(line, " ", kValuesPerLine, fields);
      for (std::int16_t f = 1; f <= count; ++f) {
        ++k;
        GeoidPoint node{(k - 1) * g.dLon + g.lonMin, g.latMax - (r - 1) * g.dLat,
                        NumberOf(fields[static_cast<std::size_t>(f)].Text, lines.LinesRead(),
                                 diagnostics, DecimalMark::PointOnly),
                        0.0};
        if (node.Separation == kNoValue) {
          node.Separation = NullSeparation;
          node.NullFlag = NullFlagSet;
        }
        if (node.Separation != NullSeparation) {
          range.Take(node.Separation);
        }
        if (!points.Append(node)) {
          return Status::Error(ErrorOutOfMemory, "Out of memory");
        }
      }
    }
  }
  return Status::Ok();
}

Status ReadReunion(SourceLines& lines, ReaderEnvironment& env, ReaderOutput& output) {
  ConversionSettings& settings = env.Settings;
  settings.PointList.Clear();
  ReunionGrid grid{};
  if (Status s = ReadHeader(lines, settings, grid); !s) {
    return s;
  }
  FirstNodeRange range;
  if (Status s = ReadBody(lines, grid, settings.PointList, range, output.Diagnostics); !s) {
    return s;
  }
  const std::int32_t n = settings.PointList.Count();
  if (n == 0 ||
      static_cast<std::int64_t>(n) != static_cast<std::int64_t>(grid.rows) * grid.columns) {
    return Status::Error(ReaderFormatError, std::to_string(n) + " nodes read instead of " +
                                                std::to_string(grid.rows) + " × " +
                                                std::to_string(grid.columns));
  }
  return FinishRange(range.Smallest, range.Largest, output);
}

}  // namespace

bool ConvertFileLaReunion(std::istream& source, std::uint64_t sizeInBytes, ReaderEnvironment& env,
                          ReaderOutput& output, Status* failure) {
  env.Progress.ShowBar();
  SourceLines lines(source, sizeInBytes, env.Progress);
  return RunReader(kProcedure, env, failure, [&] { return ReadReunion(lines, env, output); });
}

bool ConvertFileLaReunion(const std::filesystem::path& sourceFile, ReaderEnvironment& env,
                          ReaderOutput& output, Status* failure) {
  return ReadSourceFile(sourceFile, kProcedure, ConvertFileLaReunion, env, output, failure);
}

}  // namespace hextant
