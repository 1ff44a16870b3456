#include "readers/generic_reader.h"

#include <algorithm>

#include "base/angles.h"
#include "readers/reader_support.h"
#include "settings/conversion_settings.h"

namespace hextant {
namespace {

constexpr const char* kProcedure = "ConvertFileGeneric";
constexpr std::uint64_t kBytesPerStride = 12800;
constexpr std::int16_t kFewestFields = 3;
constexpr std::int16_t kMostFields = 100;
constexpr double kAngleLimit = 3.14159265359;
constexpr double kTurn = 6.28318530718;
constexpr double kFootInMetres = 0.3048;
constexpr double kResolutionThreshold = 32.0;

// What stays fixed while one file is read: the layout, the unit factors and the roles in use.
struct GenericLayout {
  bool sexagesimal = false;
  bool geographical = false;
  double coordinateFactor = 1.0;
  double separationFactor = 1.0;
  double ySign = 1.0;
  std::int16_t widestRole = 0;  // the highest field number any role in use needs
  const ConversionSettings* settings = nullptr;

  std::string_view Field(const std::vector<LineField>& fields, std::int16_t role) const {
    const std::int16_t column = settings->ColumnRoles[static_cast<std::size_t>(role)];
    return column >= 1 ? fields[static_cast<std::size_t>(column)].Text : std::string_view();
  }
};

GenericLayout LayoutOf(const ConversionSettings& s) {
  GenericLayout layout;
  layout.settings = &s;
  layout.sexagesimal = s.AngularUnit == 3;
  layout.geographical = s.CoordinateType == Geographical;
  layout.ySign = s.SouthernHemisphere ? -1.0 : 1.0;
  if (layout.geographical) {
    layout.coordinateFactor = s.AngularUnit == 1   ? WindowPi / 200
                              : s.AngularUnit == 2 ? WindowPi / 180
                                                   : 1.0;
  } else if (s.LinearUnit == 1 || s.LinearUnit == 2) {
    layout.coordinateFactor = layout.separationFactor = kFootInMetres;
  }
  const std::initializer_list<std::int16_t> decimalRoles{RoleX, RoleY, RoleSeparation, RoleCode};
  const std::initializer_list<std::int16_t> sexagesimalRoles{
      RoleSeparation,       RoleCode,
      RoleLongitudeDegrees, RoleLongitudeMinutes,
      RoleLongitudeSeconds, RoleLatitudeDegrees,
      RoleLatitudeMinutes,  RoleLatitudeSeconds};
  for (std::int16_t role : layout.sexagesimal ? sexagesimalRoles : decimalRoles) {
    layout.widestRole = std::max(layout.widestRole, s.ColumnRoles[static_cast<std::size_t>(role)]);
  }
  return layout;
}

// Counts progress lines and reports every `stride` + 1 lines.
class StrideProgress {
 public:
  StrideProgress(SourceLines& lines, std::uint64_t size)
      : lines_(lines), stride_(size / kBytesPerStride) {}
  void CountLine() {
    if (++counter_ > stride_) {
      lines_.ReportProgress();
      counter_ = 0;
    }
  }

 private:
  SourceLines& lines_;
  std::uint64_t stride_;
  std::uint64_t counter_ = 0;
};

// The point of one split line, or false when its angles lie outside the limits.
bool PointOf(const GenericLayout& layout, const std::vector<LineField>& fields, GeoidPoint& p) {
  auto angle = [&](std::int16_t role) { return ParseAfterLetters(layout.Field(fields, role)); };
  if (layout.sexagesimal) {
    p.X = DmsToRad(angle(RoleLongitudeDegrees), angle(RoleLongitudeMinutes),
                   angle(RoleLongitudeSeconds)) *
          layout.coordinateFactor;
    p.Y = layout.ySign *
          DmsToRad(angle(RoleLatitudeDegrees), angle(RoleLatitudeMinutes),
                   angle(RoleLatitudeSeconds)) *
          layout.coordinateFactor;
  } else {
    p.X = ParseDecimal(layout.Field(fields, RoleX)) * layout.coordinateFactor;
    p.Y = ParseDecimal(layout.Field(fields, RoleY)) * layout.coordinateFactor * layout.ySign;
  }
  p.Separation = ParseDecimal(layout.Field(fields, RoleSeparation)) * layout.separationFactor;
  p.NullFlag = 0.0;
  if (layout.geographical) {
    if (p.X > kAngleLimit) {
      p.X -= kTurn;
    }
    if (!(p.X >= -kAngleLimit && p.X <= kAngleLimit && p.Y >= -kAngleLimit && p.Y <= kAngleLimit)) {
      return false;
    }
  }
  const ConversionSettings& s = *layout.settings;
  if (s.CodeFilterOn && s.ColumnRoles[RoleCode] != -1 &&
      TrimBlanks(layout.Field(fields, RoleCode)) == s.CodeFilter) {
    p.Separation = NullSeparation;
    p.NullFlag = NullFlagSet;
  }
  return true;
}

enum class PassEnd { Finished, Stopped, AngleOutsideLimits };

PassEnd CountingPass(SourceLines& lines, StrideProgress& progress, const bool& readingActive,
                     std::int64_t& counted) {
  std::string line;
  while (lines.Read(line)) {
    if (line.find_first_not_of(' ') != std::string::npos) {
      ++counted;
    }
    progress.CountLine();
    if (!readingActive) {
      return PassEnd::Stopped;
    }
  }
  return PassEnd::Finished;
}

PassEnd ReadPass(SourceLines& lines, StrideProgress& progress, const GenericLayout& layout,
                 ConversionSettings& settings, FirstNodeRange& range, std::int32_t& count,
                 ReadDiagnostics& diagnostics) {
  std::string line;
  std::vector<LineField> fields;
  PointList& points = settings.PointList;
  std::int64_t lineNumber = std::max<std::int64_t>(settings.StartLine, 1) - 1;
  while (lines.Read(line)) {
    ++lineNumber;
    if (line.empty()) {
      continue;
    }
    std::int16_t found = kMostFields;
    SplitLine(line, settings.Delimiter, found, fields, settings.MergeDelimiters);
    if (found < kFewestFields || found < layout.widestRole || count >= points.Count()) {
      continue;
    }
    ++count;
    progress.CountLine();
    if (!settings.ReadingActive) {
      return PassEnd::Stopped;
    }
    GeoidPoint point;
    if (!PointOf(layout, fields, point)) {
      diagnostics.NoteOutsideLimits(lineNumber, line);
      return PassEnd::AngleOutsideLimits;
    }
    points.SetNode(count, point);
    if (point.Separation != NullSeparation) {
      range.Take(point.Separation);
    }
  }
  return PassEnd::Finished;
}

void Finish(std::int32_t count, const FirstNodeRange& range, ReaderOutput& output) {
  output.SeparationOffset = 0.0;
  if (count > 0) {
    const double sum = range.Smallest + range.Largest;
    output.SeparationOffset = sum == 0.0 ? sum : sum / 2;
  }
  output.ResolutionCode = range.Largest - output.SeparationOffset <= kResolutionThreshold
                              ? ResolutionMillimetres
                              : ResolutionCentimetres;
}

Status Stop(ReaderOutput& output) {
  output.StoppedByUser = true;
  return Status::Error(ErrorUserInterrupt, "User interrupt occurred");
}

Status ReadGeneric(std::istream& source, std::uint64_t size, ReaderEnvironment& env,
                   ReaderOutput& output, bool& reported) {
  ConversionSettings& settings = env.Settings;
  const GenericLayout layout = LayoutOf(settings);
  output.SpacingFactor = layout.geographical ? 1.0 : layout.coordinateFactor;
  SourceLines lines(source, size, env.Progress);
  if (!lines.AtEnd()) {
    settings.ReadingActive = true;
  }
  std::string line;
  for (std::int32_t skipped = 1; skipped < settings.StartLine && lines.Read(line); ++skipped) {
  }
  const std::uint64_t firstDataLine = lines.Consumed();
  env.Progress.ShowBar();
  env.Progress.ShowPercent(0);
  StrideProgress counting(lines, size);
  std::int64_t counted = 0;
  if (CountingPass(lines, counting, settings.ReadingActive, counted) == PassEnd::Stopped) {
    return Stop(output);
  }
  if (counted > MaxGridNodes) {
    return Status::Error(ErrorOverflow,
                         "Overflow: more than " + std::to_string(MaxGridNodes) + " lines to read");
  }
  settings.PointList.Clear();
  if (!settings.PointList.Resize(static_cast<std::int32_t>(counted))) {
    return Status::Error(ErrorOutOfMemory, "Out of memory");
  }
  source.clear();
  source.seekg(static_cast<std::streamoff>(firstDataLine));
  SourceLines data(source, size, env.Progress, firstDataLine);
  StrideProgress reading(data, size);
  FirstNodeRange range;
  std::int32_t count = 0;
  const PassEnd end = ReadPass(data, reading, layout, settings, range, count, output.Diagnostics);
  settings.PointList.Resize(count);
  if (end == PassEnd::Stopped) {
    return Stop(output);
  }
  settings.ReadingActive = false;
  if (end == PassEnd::AngleOutsideLimits) {
    env.Messages.Show(Message{"ERROR", "ANGULAR VALUES OUTSIDE LIMITS", MessageIcon::Critical,
                              MessageButtons::Ok});
    reported = true;
    return Status::Error(ReaderFormatError, "ANGULAR VALUES OUTSIDE LIMITS");
  }
  Finish(count, range, output);
  return Status::Ok();
}

}  // namespace

bool ConvertFileGeneric(std::istream& source, std::uint64_t sizeInBytes, ReaderEnvironment& env,
                        ReaderOutput& output, Status* failure) {
  bool reported = false;
  Status result = Status::Ok();
  try {
    result = ReadGeneric(source, sizeInBytes, env, output, reported);
  } catch (const std::bad_alloc&) {
    result = Status::Error(ErrorOutOfMemory, "Out of memory");
  }
  env.Settings.ReadingActive = false;
  if (result) {
    return true;
  }
  if (failure != nullptr) {
    *failure = result;
  }
  if (!reported && !output.StoppedByUser) {
    ReportReaderError(env.Messages, kProcedure, result);
  }
  return false;
}

bool ConvertFileGeneric(const std::filesystem::path& sourceFile, ReaderEnvironment& env,
                        ReaderOutput& output, Status* failure) {
  return ReadSourceFile(sourceFile, kProcedure, ConvertFileGeneric, env, output, failure);
}

}  // namespace hextant
