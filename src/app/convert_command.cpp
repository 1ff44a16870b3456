#include "convert_command.h"

#include <ostream>

#include "base/angles.h"
#include "conversion/conversion_run.h"
#include "convert_options.h"
#include "convert_terminal.h"
#include "grids/grid_file.h"
#include "platform/file_system.h"
#include "readers/generic_reader.h"
#include "settings/choice_lists.h"
#include "text/text_parsing.h"

namespace hextant {
namespace {

constexpr ProgramVersion kVersion{HEXTANT_VERSION_MAJOR, HEXTANT_VERSION_MINOR,
                                  HEXTANT_VERSION_PATCH};

// The warnings a conversion leaves on stderr: values read as 0 for want of a number, the line
// whose angles stopped the read, what the reader saw of a file cut short or of nodes it leaves
// without value, and nodes that the regularity count cannot see are wrong. They never change the
// exit status.
void ReportWarnings(const RunReport& report, const ConversionSettings& settings,
                    std::ostream& err) {
  const ReadDiagnostics& reading = report.Reading;
  if (reading.NonNumericValues > 0) {
    err << "hextant-convert: warning: " << reading.NonNumericValues
        << " value(s) held no number and were read as 0 (the first on line "
        << reading.FirstNonNumericLine << ")\n";
  }
  const std::string source = PathText(settings.SourceFile);
  if (reading.RepeatedNodes > 0) {
    err << "hextant-convert: warning: " << source << ": line " << reading.FirstRepeatedLine
        << " gives the node of line " << reading.FirstRepeatedEarlierLine
        << " again; the later value is taken (" << reading.RepeatedNodes
        << " line(s) in all give a node of an earlier line again)\n";
  }
  for (const std::string& warning : reading.Warnings) {
    err << "hextant-convert: warning: " << source << ": " << warning << "\n";
  }
  if (reading.PartialNumbers > 0) {
    err << "hextant-convert: warning: " << reading.PartialNumbers
        << " value(s) were read only in part, the first on line " << reading.FirstPartialLine
        << ": \"" << reading.PartialText() << "\" read as " << NumberText(reading.FirstPartialValue)
        << "\n";
  }
  // Angles read as radians that fit degrees are explained in the message itself.
  if (reading.OutsideLimitsLine > 0 &&
      DegreesReadAsRadiansHint(settings.AngularUnit, reading.OutsideLimitsLine,
                               reading.OutsideLimitsText)
          .empty()) {
    err << "hextant-convert: hint: line " << reading.OutsideLimitsLine << " (\""
        << reading.OutsideLimitsText
        << "\") holds an angle outside +-180 degrees (longitudes above 180 wrap). A longitude of"
           " exactly -180 lies just outside the check, so write a global grid with longitudes"
           " 0..360: GDAL writes its global grids from -180.\n";
  }
  const LatticeReport& lattice = report.Lattice;
  auto place = [&](std::int32_t node) {
    const GeoidPoint p = settings.PointList.Node(node);
    const double scale = settings.CoordinateType == Geographical ? 180.0 / WindowPi : 1.0;
    return NumberText(p.X * scale) + " " + NumberText(p.Y * scale);
  };
  if (lattice.OffLattice > 0) {
    err << "hextant-convert: warning: " << lattice.OffLattice
        << " node(s) lie off the grid that the first node and the spacings define (the first at "
        << place(lattice.FirstOffLattice) << ")\n";
  }
  if (lattice.Duplicates > 0) {
    err << "hextant-convert: warning: " << lattice.Duplicates
        << " node(s) share a grid position with another node (the first at "
        << place(lattice.FirstDuplicate) << ")\n";
  }
}

int ExitStatusOf(const RunReport& report, const TerminalMessages& messages, std::ostream& out,
                 std::ostream& err) {
  switch (report.Outcome) {
    case RunOutcome::Completed:
      out << "Output File: " << PathText(report.OutputFile) << "\n"
          << "Number of points: " << report.Nodes << "\n"
          << "Points read: " << report.PointsRead << "\n"
          << "Grid Rows: " << report.Rows << "\n"
          << "Grid Columns: " << report.Columns << "\n"
          << "Units: " << report.Units << "\n"
          << "Read back: " << report.Verification << "\n";
      return ExitSuccess;
    case RunOutcome::IrregularGrid:
      return ExitIrregular;
    case RunOutcome::SettingsFileFailed:
      err << "hextant-convert: the model " << PathText(report.OutputFile)
          << " was written; HdmToTarvo.INI was not: " << report.Failure << "\n";
      return ExitSettingsFile;
    case RunOutcome::ColumnCheckFailed:
      return ExitRefused;
    case RunOutcome::WriterFailed:
      err << "hextant-convert: " << PathText(report.OutputFile)
          << " was not written: " << report.Failure << "\n";
      return ExitStopped;
    default:
      if (!report.Failure.empty()) {
        err << "hextant-convert: " << report.Failure
            << (messages.DeclinedOverwrite() ? " (--overwrite replaces it)" : "") << "\n";
      }
      return ExitStopped;
  }
}

// The option that fills the box the window's check stopped at, or null.
const char* OptionFilling(const MainWindowControls& c, const std::string& focus) {
  const std::pair<const TextBox*, const char*> boxes[] = {
      {&c.Text_Spacing[0], "--spacing-x"},      {&c.Text_Spacing[1], "--spacing-y"},
      {&c.Text_Grados[0], "--spacing-x-dms"},   {&c.Text_Grados[1], "--spacing-y-dms"},
      {&c.Text_Minutos[0], "--spacing-x-dms"},  {&c.Text_Minutos[1], "--spacing-y-dms"},
      {&c.Text_segundos[0], "--spacing-x-dms"}, {&c.Text_segundos[1], "--spacing-y-dms"},
      {&c.Text_Code_filter, "--exclude-code"}};
  for (const auto& [box, option] : boxes) {
    if (box->Name == focus) {
      return option;
    }
  }
  return nullptr;
}

template <typename Page, typename Action>
bool Apply(Page& page, const std::vector<Action>& actions, std::ostream& err) {
  for (const auto& action : actions) {
    if (const ActionResult result = action(page); !result.Accepted) {
      err << "hextant-convert: " << result.Reason << "\n";
      return false;
    }
  }
  return true;
}

int Convert(ConvertOptions command, std::ostream& out, std::ostream& err, bool showProgress) {
  if (!command.format) {
    if (!RecognizeGridFile(command.source)) {
      err << "hextant-convert: --format is required: " << PathText(command.source)
          << " is not a grid file whose layout its content shows\nTry 'hextant-convert --help'.\n";
      return ExitRefused;
    }
    command.format = FormatGridFile;
  }
  ConversionSettings settings;
  TerminalMessages messages(err, command.overwrite);
  TerminalDialogs dialogs(command.source);
  Silent beeper;
  MainWindowModel window(settings, messages, dialogs, beeper, kVersion);
  window.ChooseFile();
  std::vector<WindowAction> actions;
  if (command.gridLayout) {
    actions.push_back(
        [l = *command.gridLayout](MainWindowModel& w) { return w.ForceGridLayout(l); });
  }
  actions.push_back([f = *command.format](MainWindowModel& w) { return w.SelectSourceFormat(f); });
  actions.insert(actions.end(), command.actions.begin(), command.actions.end());
  if (!Apply(window, actions, err)) {
    return ExitRefused;
  }
  const ReadOutcome read = window.Read();
  if (!read.Accepted) {
    if (const char* option = OptionFilling(window.Controls(), read.Focus)) {
      err << "hextant-convert: " << option << " gives that value\n";
    }
    return ExitRefused;
  }
  const bool wizard = read.Next == NextPage::ImportWizard;
  if (!wizard && !(command.layoutActions.empty() && command.columnActions.empty())) {
    err << "hextant-convert: the layout and column options apply to --format wizard only\n";
    return ExitRefused;
  }
  ColumnPageModel columnPage(settings);
  if (wizard) {
    LayoutPageModel layoutPage(settings);  // the welcome page's Next
    if (!Apply(layoutPage, command.layoutActions, err)) {
      return ExitRefused;
    }
    layoutPage.Next(columnPage);
    if (!Apply(columnPage, command.columnActions, err)) {
      return ExitRefused;
    }
  }
  TerminalProgress progress(err, showProgress && !command.quiet);
  TerminalResults results;
  ConversionRun run(settings, RunServices{messages, dialogs, progress, progress, results});
  RunOptions options;
  options.ProposedOutput = command.output;
  options.Area = command.area;
  const RunReport report = run.Run(options);
  progress.EndPhase();
  ReportWarnings(report, settings, err);
  return ExitStatusOf(report, messages, out, err);
}

}  // namespace

int RunConvertCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                      bool showProgress) {
  ConvertOptions command;
  std::string error;
  if (!ParseConvertOptions(args, command, error)) {
    err << "hextant-convert: " << error << "\nTry 'hextant-convert --help'.\n";
    return ExitRefused;
  }
  if (command.help) {
    out << ConvertHelpText();
    return ExitSuccess;
  }
  if (command.version) {
    out << kVersion.Major << "." << kVersion.Minor << "." << kVersion.Revision << "\n";
    return ExitSuccess;
  }
  try {
    return Convert(command, out, err, showProgress);
  } catch (const std::exception& e) {
    err << "hextant-convert: " << e.what() << "\n";
    return ExitStopped;
  }
}

}  // namespace hextant
