#include "conversion/conversion_run.h"

#include <cerrno>
#include <chrono>
#include <future>
#include <numbers>
#include <system_error>
#include <thread>

#include "base/grid_assembly.h"
#include "conversion/model_verification.h"
#include "conversion/output_file.h"
#include "hdmfile/hdmfile.h"
#include "hdmfile/staged_file.h"
#include "platform/interruption.h"
#include "readers/reader_progress.h"
#include "readers/source_readers.h"
#include "text/text_parsing.h"
#include "wizard/column_roles.h"

namespace hextant {
namespace {

constexpr std::int16_t kInterpolationBits[] = {HDM_FLAG_INTERPOLATION_4, HDM_FLAG_INTERPOLATION_9,
                                               HDM_FLAG_INTERPOLATION_16};

std::string CountText(std::int32_t value) {
  return value < 0 ? std::to_string(value) : " " + std::to_string(value);
}

}  // namespace

std::int16_t BodyFlags(std::int16_t coordinateType, std::int16_t instrumentType,
                       std::int16_t interpolationIndex, std::int16_t localSide) noexcept {
  int flags = coordinateType;
  if (instrumentType == 1) {
    if (interpolationIndex >= 0 && interpolationIndex <= 2) {
      flags += kInterpolationBits[interpolationIndex];
    }
    if (localSide == 1) {
      flags += HDM_FLAG_LOCAL_SIDE;
    }
  }
  return static_cast<std::int16_t>(flags);
}

ResultsTexts MakeResultsTexts(const std::filesystem::path& outputFile, std::int32_t nodes,
                              std::int32_t rows, std::int32_t columns, const std::string& units,
                              const std::string& verification) {
  return ResultsTexts{" Information",  PathText(outputFile), CountText(nodes),
                      CountText(rows), CountText(columns),   units,
                      verification};
}

ConversionRun::ConversionRun(ConversionSettings& settings, RunServices services,
                             SourceReader reader)
    : settings_(settings), services_(services), reader_(std::move(reader)) {
  if (!reader_) {
    reader_ = [&settings](const std::filesystem::path& sourceFile, ReaderEnvironment& env,
                          ReaderOutput& output) {
      return ReadSource(settings.SourceFormat, sourceFile, env, output);
    };
  }
}

RunReport ConversionRun::Run(const RunOptions& options) {
  if (running_) {
    RunReport busy;
    busy.Outcome = RunOutcome::AlreadyRunning;
    return busy;
  }
  // Cleared on every way out, so that a later run can start.
  struct RunningFlag {
    explicit RunningFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~RunningFlag() { flag_ = false; }
    bool& flag_;
  } running(running_);
  return RunOnce(options);
}

bool ConversionRun::ReadNodes(const RunOptions& options, RunReport& report, ReaderOutput& output) {
  if (settings_.SourceFormat == 0) {
    const bool columnsAssigned = options.CheckColumnRoles
                                     ? options.CheckColumnRoles()
                                     : CheckColumnRoles(settings_, services_.Messages);
    if (!columnsAssigned) {
      report.Outcome = RunOutcome::ColumnCheckFailed;
      return false;
    }
  }
  ReadProgress progress(services_.Progress, services_.Events);
  ReaderEnvironment env{settings_, progress, services_.Messages};
  const bool read = reader_(settings_.SourceFile, env, output);
  report.Reading = output.Diagnostics;
  if (!read) {
    if (output.StoppedByUser) {
      report.Outcome = RunOutcome::StoppedByUser;
    }
    return false;
  }
  if (settings_.PointList.Count() == 0) {
    // A model needs at least one node; saying so now spares the user an empty model file.
    services_.Messages.Show(Message{ProgramTitle,
                                    "No node was read from " + PathText(settings_.SourceFile) +
                                        ": the file holds no data the chosen format can read.",
                                    MessageIcon::Critical, MessageButtons::Ok});
    return false;
  }
  return true;
}

// Keeps the sorted nodes inside `area`; a box that keeps no node, or nodes that do not fill a
// grid, is refused with the box in the message. The offset and resolution are those of the
// nodes kept, so that a small area is stored as finely as its own range allows.
bool ConversionRun::CutToArea(const AreaBox& area, ReaderOutput& output) {
  const double scale = settings_.CoordinateType == Geographical ? std::numbers::pi / 180 : 1.0;
  const AreaBox box{area.West * scale, area.South * scale, area.East * scale, area.North * scale};
  const double spacingX = settings_.SpacingX * output.SpacingFactor;
  const double spacingY = settings_.SpacingY * output.SpacingFactor;
  PointList& points = settings_.PointList;
  const bool geographical = settings_.CoordinateType == Geographical;
  const std::int32_t kept = hextant::CutToArea(points, box, 1e-6 * std::min(spacingX, spacingY),
                                               geographical ? 2 * std::numbers::pi : 0.0);
  SortPoints(points);  // nodes moved by a turn start their rows again
  const std::string boxText = NumberText(area.West) + " " + NumberText(area.South) + " " +
                              NumberText(area.East) + " " + NumberText(area.North);
  std::string problem;
  if (kept == 0) {
    problem = "The area " + boxText + " holds no node of " + PathText(settings_.SourceFile) + ".";
  } else {
    const GeoidPoint first = points.Node(1);
    const GeoidPoint last = points.Node(kept);
    const std::int32_t rows = RowCount(first.Y, last.Y, spacingY);
    const std::int32_t columns = ColumnCount(first.X, last.X, spacingX);
    if (!IsRegularGrid(kept, rows, columns)) {
      problem = "The " + std::to_string(kept) + " nodes of " + PathText(settings_.SourceFile) +
                " inside the area " + boxText + " do not form a grid (" + std::to_string(rows) +
                " rows x " + std::to_string(columns) + " columns would be " +
                std::to_string(static_cast<std::int64_t>(rows) * columns) + " nodes).";
    }
  }
  ExtremeRange range;
  for (std::int32_t i = 1; i <= kept; ++i) {
    if (const GeoidPoint p = points.Node(i); p.NullFlag == 0.0 && p.Separation != NullSeparation) {
      range.Take(p.Separation);
    }
  }
  if (problem.empty() && !FinishRange(range.Smallest, range.Largest, output)) {
    problem = "The nodes of " + PathText(settings_.SourceFile) + " inside the area " + boxText +
              " hold no separation range to store (none has a value, or they are exact opposites).";
  }
  if (!problem.empty()) {
    services_.Messages.Show(
        Message{ProgramTitle, problem, MessageIcon::Critical, MessageButtons::Ok});
  }
  return problem.empty();
}

// Conversions writing into one folder (the model and HdmToTarvo.INI) take turns: another one
// holding the folder is waited for, with the window kept alive, for `limit` at most (a stopped
// conversion holds it for ever).
bool ConversionRun::WaitForFolder(FolderLock& lock, const std::filesystem::path& folder,
                                  std::chrono::milliseconds limit) {
  const auto start = std::chrono::steady_clock::now();
  bool told = false;
  while (!lock.TryLock()) {
    if (!told) {
      services_.Progress.SetStatus(WaitingForFolderStatus);
      told = true;
    }
    if (std::chrono::steady_clock::now() - start > limit) {
      services_.Messages.Show(Message{ProgramTitle,
                                      "Another conversion has been writing into the folder " +
                                          PathText(folder) + " for " +
                                          NumberText(static_cast<double>(limit.count()) / 1000) +
                                          " seconds: nothing was written.",
                                      MessageIcon::Critical, MessageButtons::Ok});
      return false;
    }
    services_.Events.Yield();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  if (told) {
    services_.Progress.SetStatus("Status: Sorting and Writing File");
  }
  return true;
}

RunReport ConversionRun::RunOnce(const RunOptions& options) {
  RunReport report;
  ReaderOutput output;
  if (!ReadNodes(options, report, output)) {
    return report;
  }
  report.PointsRead = settings_.PointList.Count() + output.Diagnostics.RepeatedNodes;
  services_.Progress.SetStatus("Status: Sorting and Writing File");
  services_.Events.Yield();

  if (!output.InGridOrder) {
    SortPoints(settings_.PointList);
  }
  if (options.Area && !CutToArea(*options.Area, output)) {
    services_.Progress.SetStatus("Status: Nothing was written");
    return report;
  }
  report.Units = output.ResolutionCode == ResolutionMillimetres ? "mm" : "cm";
  report.Nodes = settings_.PointList.Count();
  report.OutputFile = options.ProposedOutput.value_or(DefaultOutputName(settings_.SourceFile));
  OutputFileChooser chooser(services_.Messages, services_.Dialogs, settings_.SourceFile);
  if (!chooser.Choose(report.OutputFile)) {
    report.Lattice = CheckNodes(output);
    report.Failure =
        "no model was written to " + PathText(report.OutputFile) + ": " + chooser.LastRefusal();
    services_.Progress.SetStatus("Status: Nothing was written");
    return report;
  }
  InterruptionCleanup cleanup(report.OutputFile, chooser.Placeholder());
  auto removePlaceholder = [&] {
    if (chooser.Placeholder()) {
      RemoveEmptyPlaceholder(report.OutputFile, *chooser.Placeholder());
    }
  };
  FolderLock folder(FolderOf(report.OutputFile));
  if (!WaitForFolder(folder, FolderOf(report.OutputFile), options.FolderWait)) {
    removePlaceholder();
    report.Failure = "no model was written to " + PathText(report.OutputFile) +
                     ": another conversion kept its folder";
    services_.Progress.SetStatus("Status: Nothing was written");
    return report;
  }
  // With the folder held no other conversion writes there: what staging files of this output
  // remain were left by a run that was killed.
  hdm::RemoveAbandonedStagingFiles(report.OutputFile);
  const std::filesystem::path staged = hdm::StagingPathFor(report.OutputFile);
  InterruptionCleanup stagedCleanup(staged);
  WriteModelAndCheckNodes(report, output, staged);
  services_.Progress.SetProgressCaption("100 %");
  if (report.WriterResult != HDM_OK || !VerifyAndCommit(report, staged, options)) {
    removePlaceholder();
    services_.Progress.SetStatus("Status: Nothing was written: " + report.Failure);
    report.Outcome = RunOutcome::WriterFailed;
    return report;
  }
  cleanup.ForgetPlaceholder();
  Finish(report);
  return report;
}

// The model, complete in its staging file, is read back and compared node by node with the
// source; only a model that holds what the source gave replaces the output.
bool ConversionRun::VerifyAndCommit(RunReport& report, const std::filesystem::path& staged,
                                    const RunOptions& options) {
  if (options.BeforeReadBack) {
    options.BeforeReadBack(staged);
  }
  const ModelComparison comparison = CompareModelWithNodes(PathText(staged), settings_.PointList);
  std::error_code ignored;
  if (!comparison.Matches) {
    std::filesystem::remove(staged, ignored);
    report.Failure = "the model read back differs from the source: " + comparison.Problem;
    return false;
  }
  if (!hdm::CommitStagingFile(staged, report.OutputFile)) {
    report.Failure = SystemErrorText(errno != 0 ? errno : EIO);
    std::filesystem::remove(staged, ignored);
    return false;
  }
  report.Verification =
      ComparisonSummary(comparison, settings_.PointList, settings_.CoordinateType);
  return true;
}

LatticeReport ConversionRun::CheckNodes(const ReaderOutput& output) const {
  return CheckLattice(settings_.PointList, settings_.SpacingX * output.SpacingFactor,
                      settings_.SpacingY * output.SpacingFactor);
}

// The writer and the lattice check only read the sorted nodes, and neither lets the window run
// (which could change them): the check runs on a thread of its own meanwhile, or after the
// writer when no thread can be had.
void ConversionRun::WriteModelAndCheckNodes(RunReport& report, const ReaderOutput& output,
                                            const std::filesystem::path& staged) {
  std::future<LatticeReport> lattice;
  try {
    lattice = std::async(std::launch::async, [&] { return CheckNodes(output); });
  } catch (const std::system_error&) {
  }
  WriteModel(report, output, staged);
  report.Lattice = lattice.valid() ? lattice.get() : CheckNodes(output);
}

void ConversionRun::WriteModel(RunReport& report, const ReaderOutput& output,
                               const std::filesystem::path& staged) {
  const double spacingX = settings_.SpacingX * output.SpacingFactor;
  const double spacingY = settings_.SpacingY * output.SpacingFactor;
  const PointList& points = settings_.PointList;
  const std::int32_t n = points.Count();
  const GeoidPoint first = n > 0 ? points.Node(1) : GeoidPoint{};
  const GeoidPoint last = n > 0 ? points.Node(n) : GeoidPoint{};
  report.Rows = RowCount(first.Y, last.Y, spacingY);
  report.Columns = ColumnCount(first.X, last.X, spacingX);

  const Ellipsoid* ellipsoid = FindEllipsoid(settings_.EllipsoidTable, settings_.EllipsoidCode);
  const Ellipsoid none;
  const Ellipsoid& e = ellipsoid != nullptr ? *ellipsoid : none;
  const double flattening = e.InverseFlattening != 0.0 ? 1.0 / e.InverseFlattening : 0.0;
  const std::string pathText = PathText(staged);  // the writer library takes UTF-8
  const char* path = pathText.c_str();

  WriteHeaderFileHDM(path);
  WriteBodyFileHDM(path,
                   BodyFlags(settings_.CoordinateType, settings_.InstrumentType,
                             settings_.InterpolationIndex, settings_.LocalSide),
                   n);
  WriteCoordTypeFileHDM(path, settings_.CoordinateType, output.ResolutionCode, first.X, first.Y,
                        last.X, last.Y, spacingX, spacingY, output.SeparationOffset, report.Rows, n,
                        e.Name.c_str(), e.SemiMajorAxis, flattening);
  errno = 0;
  report.WriterResult = WritePtsFileHDM(path, points.Data(), n, output.SeparationOffset);
  if (report.WriterResult == HDM_E_IO) {
    report.Failure = SystemErrorText(errno != 0 ? errno : EIO);
  } else if (report.WriterResult != HDM_OK) {
    report.Failure = WriterResultText(report.WriterResult);
  }
}

void ConversionRun::Finish(RunReport& report) {
  if (!IsRegularGrid(report.Nodes, report.Rows, report.Columns)) {
    services_.Messages.Show(
        Message{"ERROR", "THE GRID IS NOT REGULAR", MessageIcon::Critical, MessageButtons::Ok});
    report.Outcome = RunOutcome::IrregularGrid;
    return;
  }
  services_.Results.Show(MakeResultsTexts(report.OutputFile, report.Nodes, report.Rows,
                                          report.Columns, report.Units, report.Verification));
  InterruptionCleanup cleanup(SettingsFilePath(report.OutputFile));
  const Status written =
      WriteSettingsFile(report.OutputFile, "ENGLISH", settings_.InterpolationText);
  if (!written) {
    services_.Messages.Show(
        Message{"Error", written.Description(), MessageIcon::Critical, MessageButtons::Ok});
    report.Failure = written.Description();
    report.Outcome = RunOutcome::SettingsFileFailed;
    return;
  }
  report.Outcome = RunOutcome::Completed;
}

}  // namespace hextant

namespace hextant {

const char* WriterResultText(std::int16_t result) noexcept {
  switch (result) {
    case HDM_OK:
      return "the model was written";
    case HDM_E_ARGUMENT:
      return "a value handed to the writer is outside its range (no node, a bad flag or name)";
    case HDM_E_IO:
      return "the model file could not be created, written or renamed";
    case HDM_E_SEQUENCE:
      return "the model's sections were incomplete or out of order";
    case HDM_E_INCONSISTENT:
      return "the grid values are inconsistent (rows, spacing, offset or node count)";
    case HDM_E_RANGE:
      return "a separation does not fit the 16-bit range at the chosen resolution";
    default:
      return "the writer library failed";
  }
}

}  // namespace hextant
