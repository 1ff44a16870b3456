#include "readers/generic_reader.h"

#include <charconv>
#include <cmath>
#include <new>

#include "platform/file_system.h"
#include "readers/chunked_read.h"
#include "readers/generic_layout.h"
#include "readers/generic_pass.h"
#include "readers/reader_support.h"
#include "settings/conversion_settings.h"

namespace hextant {
namespace {

constexpr const char* kProcedure = "ConvertFileGeneric";
constexpr double kResolutionThreshold = 32.0;

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

std::string WithFileName(const std::filesystem::path& file, const std::string& text) {
  return text.empty() || file.empty() ? text : PathText(file) + ": " + text;
}

Status Stop(ReaderOutput& output) {
  output.StoppedByUser = true;
  return Status::Error(ErrorUserInterrupt, "User interrupt occurred");
}

Status ReadGeneric(std::istream& source, std::uint64_t size, ReaderEnvironment& env,
                   ReaderOutput& output, bool& reported, const GenericReadPlan& plan) {
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
  GenericPass pass(size, layout, settings, env.Progress, output);
  // A stop asked for already is seen after the first line, as line by line.
  const GenericReadPlan used = settings.ReadingActive ? plan : GenericReadPlan{};
  if (!ChunkedRead(pass, layout, used, size, env.Progress).Run(source, lines)) {
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
    const ReadDiagnostics& d = output.Diagnostics;
    env.Messages.Show(
        Message{"ERROR", "ANGULAR VALUES OUTSIDE LIMITS", MessageIcon::Critical, MessageButtons::Ok,
                WithFileName(settings.SourceFile,
                             DegreesReadAsRadiansHint(settings.AngularUnit, d.OutsideLimitsLine,
                                                      d.OutsideLimitsText))});
    reported = true;
    return Status::Error(ReaderFormatError, "ANGULAR VALUES OUTSIDE LIMITS");
  }
  Finish(settings.PointList.Count(), range, output);
  return Status::Ok();
}

}  // namespace

std::string DegreesReadAsRadiansHint(std::int16_t angularUnit, std::int64_t line,
                                     std::string_view text) {
  constexpr std::int16_t kRadians = 0;
  if (angularUnit != kRadians || line <= 0) {
    return {};
  }
  // The first two numbers of the line stand for its coordinates.
  bool pastPi = false;
  int numbers = 0;
  for (std::size_t at = 0; at < text.size() && numbers < 2;) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data() + at, text.data() + text.size(), value);
    if (error != std::errc() || end == text.data() + at) {
      ++at;
      continue;
    }
    at = static_cast<std::size_t>(end - text.data());
    ++numbers;
    if (std::fabs(value) > 360.0) {
      return {};  // a projected coordinate: degrees would not help either
    }
    pastPi = pastPi || std::fabs(value) > 3.2;
  }
  if (!pastPi) {
    return {};
  }
  return "Line " + std::to_string(line) + " (\"" + std::string(text) +
         "\") was read in radians, and its values fit decimal degrees: choose the angular unit "
         "\"Decimal degrees\" (hextant-convert: --angular-unit decimal-degrees).";
}

bool ConvertFileGeneric(std::istream& source, std::uint64_t sizeInBytes, ReaderEnvironment& env,
                        ReaderOutput& output, Status* failure) {
  return ConvertFileGeneric(source, sizeInBytes, env, output, failure, DefaultGenericReadPlan());
}

bool ConvertFileGeneric(std::istream& source, std::uint64_t sizeInBytes, ReaderEnvironment& env,
                        ReaderOutput& output, Status* failure, const GenericReadPlan& plan) {
  bool reported = false;
  Status result = Status::Ok();
  try {
    result = ReadGeneric(source, sizeInBytes, env, output, reported, plan);
  } catch (const std::bad_alloc&) {
    result = Status::Error(ErrorOutOfMemory, "Out of memory");
  }
  env.Settings.ReadingActive = false;
  if (env.Source != nullptr && !output.StoppedByUser) {
    if (Status readError = env.Source->ReadError(); !readError) {
      result = readError;
      reported = false;  // the read error is the cause, whatever the rest of the read said
    }
  }
  if (result) {
    return true;
  }
  if (failure != nullptr) {
    *failure = result;
  }
  if (!reported && !output.StoppedByUser) {
    ReportReaderError(env.Messages, kProcedure, result, env.Settings.SourceFile);
  }
  return false;
}

bool ConvertFileGeneric(const std::filesystem::path& sourceFile, ReaderEnvironment& env,
                        ReaderOutput& output, Status* failure) {
  return ReadSourceFile(sourceFile, kProcedure, ConvertFileGeneric, env, output, failure);
}

}  // namespace hextant
