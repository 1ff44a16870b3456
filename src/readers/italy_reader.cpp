#include "readers/italy_reader.h"

#include <array>
#include <optional>

#include "base/angles.h"
#include "readers/reader_support.h"

namespace hextant {
namespace {

constexpr const char* kProcedure = "Convert_File_Italy";
constexpr int kRows = 10;
constexpr int kColumns = 14;
constexpr int kValues = kRows * kColumns;
constexpr double kOriginMarker = 99999.999;

struct ItalyBlock {
  std::array<double, kValues + 1> values{};  // 1-based
  int counted = 0;
  double x0 = kOriginMarker;
  double y0 = kOriginMarker;
};

// The first blank-separated field of the next line, if the line has one.
Status FirstField(SourceLines& lines, std::string_view& line, std::vector<LineField>& fields,
                  ReadDiagnostics& diagnostics, std::optional<double>& value) {
  lines.ReportProgress();
  if (Status s = lines.Read(line); !s) {
    return s;
  }
  value.reset();
  if (SplitMerged(line, " ", 1, fields) >= 1) {
    value = NumberOf(fields[1].Text, lines.LinesRead(), diagnostics);
  }
  return Status::Ok();
}

Status ReadBlock(SourceLines& lines, ItalyBlock& block, ReadDiagnostics& diagnostics) {
  std::string_view line;
  std::vector<LineField> fields;
  if (Status s = lines.Read(line); !s) {
    return s;  // the line after the header, skipped
  }
  std::optional<double> value;
  for (int turn = 1; turn <= kValues; ++turn) {
    if (Status s = FirstField(lines, line, fields, diagnostics, value); !s) {
      return s;
    }
    if (value) {
      block.values[static_cast<std::size_t>(turn)] = *value;
      ++block.counted;
    }
  }
  for (double* origin : {&block.y0, &block.x0}) {
    if (Status s = FirstField(lines, line, fields, diagnostics, value); !s) {
      return s;
    }
    if (value) {
      *origin = *value;
    }
  }
  return Status::Ok();
}

bool IsHeader(std::string_view line, std::vector<LineField>& fields) {
  std::int16_t count = 1;
  SplitLine(line, "\"", count, fields, true);
  return count >= 1 && fields[1].Text == "GEOIDE";
}

Status ReadItaly(SourceLines& lines, ReaderEnvironment& env, ReaderOutput& output) {
  ConversionSettings& settings = env.Settings;
  if (Status s = CheckSpacings(settings.SpacingX, settings.SpacingY); !s) {
    return s;
  }
  ItalyBlock block;
  std::string_view line;
  std::vector<LineField> fields;
  while (!lines.AtEnd()) {
    lines.ReportProgress();
    if (Status s = lines.Read(line); !s) {
      return s;
    }
    if (IsHeader(line, fields)) {
      if (Status s = ReadBlock(lines, block, output.Diagnostics); !s) {
        return s;
      }
      break;
    }
  }
  if (block.counted != kValues || block.x0 == kOriginMarker || block.y0 == kOriginMarker) {
    return Status::Error(ReaderFormatError, "no complete GEOIDE block with its origin");
  }
  const double x0 = DegToRad(block.x0);
  const double y0 = DegToRad(block.y0);
  PointList& points = settings.PointList;
  points.Clear();
  FirstNodeRange range;
  std::size_t i = 0;
  for (int r = kRows; r >= 1; --r) {
    for (int c = 1; c <= kColumns; ++c) {
      const double separation = block.values[++i];
      points.Append(
          {(c - 1) * settings.SpacingX + x0, (r - 1) * settings.SpacingY + y0, separation, 0.0});
      range.Take(separation);
    }
  }
  return FinishRange(range.Smallest, range.Largest, output);
}

}  // namespace

bool Convert_File_Italy(std::istream& source, std::uint64_t sizeInBytes, ReaderEnvironment& env,
                        ReaderOutput& output, Status* failure) {
  env.Progress.ShowBar();
  SourceLines lines(source, sizeInBytes, env.Progress);
  return RunReader(kProcedure, env, failure, [&] { return ReadItaly(lines, env, output); });
}

bool Convert_File_Italy(const std::filesystem::path& sourceFile, ReaderEnvironment& env,
                        ReaderOutput& output, Status* failure) {
  return ReadSourceFile(sourceFile, kProcedure, Convert_File_Italy, env, output, failure);
}

}  // namespace hextant
