#pragma once

// One conversion, from the conversion page's "Next >" to the end: read the source, sort the
// nodes into grid order, settle the output file, write the model through the writer library,
// test that the grid is regular, show the results and write the settings file.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "base/area_cut.h"
#include "base/grid_lattice.h"
#include "base/status.h"
#include "platform/conversion_page.h"
#include "platform/file_dialogs.h"
#include "platform/file_system.h"
#include "platform/message_boxes.h"
#include "readers/converter_frame.h"
#include "settings/conversion_settings.h"

namespace hextant {

/// The platform services a run reaches the user through.
struct RunServices {
  MessageBoxes& Messages;
  FileDialogs& Dialogs;
  ProgressDisplay& Progress;
  EventLoop& Events;
  ResultsDialog& Results;
};

/// What the status line says while another conversion writes into the output's folder.
inline constexpr const char* WaitingForFolderStatus =
    "Status: Waiting for another conversion writing there";
/// How long a run waits for another conversion writing into the output's folder.
inline constexpr std::chrono::seconds FolderWaitLimit{120};

/// Choices of the caller that the window does not hold.
struct RunOptions {
  /// Proposed instead of the name derived from the source file (it still goes through the output
  /// file choice).
  std::optional<std::filesystem::path> ProposedOutput;
  /// Replaces the import wizard's column check, asked first for the generic text format.
  std::function<bool()> CheckColumnRoles;
  /// How long to wait for another conversion writing into the output's folder.
  std::chrono::milliseconds FolderWait = FolderWaitLimit;
  /// The project area: only the nodes inside it (boundary included) are written. Decimal degrees
  /// for a geographical model, metres for a grid model.
  std::optional<AreaBox> Area;
  /// Called with the written model's file before it is read back and compared with the source
  /// (a test alters the file there to see the comparison catch it).
  std::function<void(const std::filesystem::path& written)> BeforeReadBack;
};

enum class RunOutcome {
  AlreadyRunning,        // a run was under way; nothing was done
  ColumnCheckFailed,     // the import wizard's columns lack a needed role (the user was warned)
  StoppedBeforeWriting,  // the reader or the output file choice said no, or nothing was read
  StoppedByUser,         // the user stopped the read; back to the wizard's layout page
  WriterFailed,          // the writer library refused or failed; the page stays shown
  IrregularGrid,         // the model was written, the grid is not regular; back to the window
  Completed,             // model, results and settings file done; the program ends
  SettingsFileFailed,    // model and results done, the settings file could not be written
};

struct RunReport {
  RunOutcome Outcome = RunOutcome::StoppedBeforeWriting;
  std::filesystem::path OutputFile;
  std::int16_t WriterResult = 0;
  /// Why the run stopped where no message box said it, in words: the output file choice's last
  /// refusal, or why the writer failed ("" otherwise).
  std::string Failure;
  /// What the reader met and read as best it could, and what the grid assembly found odd.
  ReadDiagnostics Reading;
  LatticeReport Lattice;
  std::int32_t Nodes = 0, Rows = 0, Columns = 0;
  /// The points the reader gave, before an area cut kept some of them as the model's nodes; a
  /// line that gave the node of an earlier line again counts.
  std::int64_t PointsRead = 0;
  std::string Units;
  /// How the model read back compares with the source ("every node within 0.5 mm of the source
  /// (largest difference …)"), once it has been read back.
  std::string Verification;
};

/// The body flags of the model: the coordinate type, plus for Series Q (instrument type 1) the
/// interpolation bit (16, 64, 32 for list positions 0, 1, 2) and 8 for the local side.
std::int16_t BodyFlags(std::int16_t coordinateType, std::int16_t instrumentType,
                       std::int16_t interpolationIndex, std::int16_t localSide) noexcept;

/// The texts of the results dialog; counts are written with a leading blank (a minus sign
/// takes its place).
ResultsTexts MakeResultsTexts(const std::filesystem::path& outputFile, std::int32_t nodes,
                              std::int32_t rows, std::int32_t columns, const std::string& units,
                              const std::string& verification = {});

/// Reads the source into the settings' point list under the reader contract; the default reads
/// with the reader of the chosen source format.
using SourceReader =
    std::function<bool(const std::filesystem::path& sourceFile, ReaderEnvironment&, ReaderOutput&)>;

class ConversionRun {
 public:
  ConversionRun(ConversionSettings& settings, RunServices services, SourceReader reader = {});

  /// Runs one conversion; a call while another is under way does nothing.
  RunReport Run(const RunOptions& options = {});

 private:
  RunReport RunOnce(const RunOptions& options);
  bool ReadNodes(const RunOptions& options, RunReport& report, ReaderOutput& output);
  bool CutToArea(const AreaBox& area, ReaderOutput& output);
  bool WaitForFolder(FolderLock& lock, const std::filesystem::path& folder,
                     std::chrono::milliseconds limit);
  LatticeReport CheckNodes(const ReaderOutput& output) const;
  void WriteModelAndCheckNodes(RunReport& report, const ReaderOutput& output,
                               const std::filesystem::path& staged);
  void WriteModel(RunReport& report, const ReaderOutput& output,
                  const std::filesystem::path& staged);
  bool VerifyAndCommit(RunReport& report, const std::filesystem::path& staged,
                       const RunOptions& options);
  void Finish(RunReport& report);

  ConversionSettings& settings_;
  RunServices services_;
  SourceReader reader_;
  bool running_ = false;
};

}  // namespace hextant

namespace hextant {

/// What a result code of the writer library means, in words.
const char* WriterResultText(std::int16_t result) noexcept;

}  // namespace hextant
