#include "readers/generic_reader.h"

#include <algorithm>

#include "base/angles.h"
#include "readers/deferred_progress.h"
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

// The number in a role's field; a field that holds none reads as 0 and is noted.
double Number(std::string_view text, bool afterLetters, std::int64_t line,
              ReadDiagnostics& diagnostics) noexcept {
  double value = 0.0;
  const char* first = text.data();
  const char* last = first + text.size();
  const auto [end, error] =
      afterLetters ? ReadAfterLetters(first, last, value) : ReadDecimal(first, last, value);
  if (error == std::errc::invalid_argument) {
    diagnostics.NoteNonNumeric(line);
  }
  return value;
}

// The point of one split line, or false when its angles lie outside the limits.
bool PointOf(const GenericLayout& layout, const std::vector<LineField>& fields, std::int64_t line,
             ReadDiagnostics& diagnostics, GeoidPoint& p) {
  auto number = [&](std::int16_t role, bool afterLetters) {
    return Number(layout.Field(fields, role), afterLetters, line, diagnostics);
  };
  if (layout.sexagesimal) {
    p.X = DmsToRad(number(RoleLongitudeDegrees, true), number(RoleLongitudeMinutes, true),
                   number(RoleLongitudeSeconds, true)) *
          layout.coordinateFactor;
    p.Y = layout.ySign *
          DmsToRad(number(RoleLatitudeDegrees, true), number(RoleLatitudeMinutes, true),
                   number(RoleLatitudeSeconds, true)) *
          layout.coordinateFactor;
  } else {
    p.X = number(RoleX, false) * layout.coordinateFactor;
    p.Y = number(RoleY, false) * layout.coordinateFactor * layout.ySign;
  }
  p.Separation = number(RoleSeparation, false) * layout.separationFactor;
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

// Why the storing of points ended before the end of the file, if it did.
enum class StoreEnd { Open, Full, OutOfMemory, AngleOutsideLimits };

// One pass over the data lines does the work of the counting pass and of the read pass: it
// counts the lines the counting pass counts, with that pass's progress reports and stop checks,
// and stores the points the read pass stores, noting where that pass would report.
class SinglePass {
 public:
  SinglePass(SourceLines& lines, std::uint64_t size, const GenericLayout& layout,
             ConversionSettings& settings, ReaderOutput& output)
      : lines_(lines),
        stride_(size / kBytesPerStride),
        layout_(layout),
        settings_(settings),
        diagnostics_(output.Diagnostics),
        deferred_(size) {}

  /// Reads every data line; false when the user stopped the read.
  bool Run();
  /// Shows the read pass's progress up to the last point it stores; false on a stop request.
  bool ShowReadPassProgress();
  /// Cuts the point list to what the read pass stores and gives the range of its separations.
  FirstNodeRange Trim();

  std::int64_t Counted() const noexcept { return counted_; }
  StoreEnd End() const noexcept { return end_; }
  /// The points the read pass stores, the failing one included (one more than it keeps).
  std::int32_t ReadPassPoints() const noexcept;
  bool AngleFailureCounts() const noexcept {
    return end_ == StoreEnd::AngleOutsideLimits && stored_ <= counted_;
  }

 private:
  void Store(std::string_view line);

  SourceLines& lines_;
  std::uint64_t stride_;
  const GenericLayout& layout_;
  ConversionSettings& settings_;
  ReadDiagnostics& diagnostics_;
  DeferredProgress deferred_;
  std::vector<LineField> fields_;
  FirstNodeRange range_;
  std::int64_t counted_ = 0;
  std::int32_t stored_ = 0;  // points read, the failing one included
  StoreEnd end_ = StoreEnd::Open;
};

bool SinglePass::Run() {
  std::string_view line;
  for (std::uint64_t counter = 0; lines_.Read(line);) {
    if (line.find_first_not_of(' ') != std::string_view::npos) {
      ++counted_;
    }
    if (end_ == StoreEnd::Open) {
      Store(line);  // before the progress report, which may end the line's view
    }
    if (++counter > stride_) {
      lines_.ReportProgress();
      counter = 0;
    }
    if (!settings_.ReadingActive) {
      return false;
    }
  }
  return true;
}

void SinglePass::Store(std::string_view line) {
  if (line.empty()) {
    return;
  }
  std::int16_t found = kMostFields;
  SplitLine(line, settings_.Delimiter, found, fields_, settings_.MergeDelimiters);
  if (found < kFewestFields || found < layout_.widestRole) {
    return;
  }
  if (stored_ >= MaxGridNodes) {
    end_ = StoreEnd::Full;  // more lines than a model may hold: refused once they are counted
    return;
  }
  ++stored_;
  deferred_.Note(stored_, lines_.Consumed());
  GeoidPoint point;
  if (!PointOf(layout_, fields_, static_cast<std::int64_t>(lines_.LinesRead()), diagnostics_,
               point)) {
    diagnostics_.NoteOutsideLimits(static_cast<std::int64_t>(lines_.LinesRead()), line);
    end_ = StoreEnd::AngleOutsideLimits;
    return;
  }
  if (!settings_.PointList.Append(point)) {
    end_ = StoreEnd::OutOfMemory;
    return;
  }
  if (point.Separation != NullSeparation) {
    range_.Take(point.Separation);
  }
}

std::int32_t SinglePass::ReadPassPoints() const noexcept {
  return static_cast<std::int32_t>(std::min<std::int64_t>(stored_, counted_));
}

bool SinglePass::ShowReadPassProgress() {
  const std::int64_t every = static_cast<std::int64_t>(stride_) + 1;
  for (std::int64_t index = every; index <= ReadPassPoints(); index += every) {
    lines_.ShowPercent(deferred_.PercentAt(index));
    if (!settings_.ReadingActive) {
      return false;
    }
  }
  return true;
}

FirstNodeRange SinglePass::Trim() {
  PointList& points = settings_.PointList;
  const std::int32_t kept = ReadPassPoints() - (AngleFailureCounts() ? 1 : 0);
  const bool cut = kept < points.Count();
  points.Resize(std::min(kept, points.Count()));
  points.ShrinkToFit();
  if (!cut) {
    return range_;
  }
  // Lines of blanks split into empty fields are points the counting pass did not count: the
  // read pass stops at the counted number, so the range is taken again over those points.
  FirstNodeRange range;
  for (std::int32_t i = 1; i <= points.Count(); ++i) {
    if (const double n = points.Node(i).Separation; n != NullSeparation) {
      range.Take(n);
    }
  }
  return range;
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
  std::string_view line;
  for (std::int32_t skipped = 1; skipped < settings.StartLine && lines.Read(line); ++skipped) {
  }
  env.Progress.ShowBar();
  env.Progress.ShowPercent(0);
  settings.PointList.Clear();
  SinglePass pass(lines, size, layout, settings, output);
  if (!pass.Run()) {
    return Stop(output);
  }
  if (pass.Counted() > MaxGridNodes) {
    return Status::Error(ErrorOverflow,
                         "Overflow: more than " + std::to_string(MaxGridNodes) + " lines to read");
  }
  if (pass.End() == StoreEnd::OutOfMemory) {
    return Status::Error(ErrorOutOfMemory, "Out of memory");
  }
  const FirstNodeRange range = pass.Trim();
  if (!pass.ShowReadPassProgress()) {
    return Stop(output);
  }
  settings.ReadingActive = false;
  if (pass.AngleFailureCounts()) {
    env.Messages.Show(Message{"ERROR", "ANGULAR VALUES OUTSIDE LIMITS", MessageIcon::Critical,
                              MessageButtons::Ok});
    reported = true;
    return Status::Error(ReaderFormatError, "ANGULAR VALUES OUTSIDE LIMITS");
  }
  Finish(settings.PointList.Count(), range, output);
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
