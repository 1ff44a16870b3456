#include "convert_command.h"

#include <ostream>

#include "conversion/conversion_run.h"
#include "convert_options.h"
#include "convert_terminal.h"

namespace hextant {
namespace {

constexpr ProgramVersion kVersion{HEXTANT_VERSION_MAJOR, HEXTANT_VERSION_MINOR,
                                  HEXTANT_VERSION_PATCH};

int ExitStatusOf(const RunReport& report, std::ostream& out, std::ostream& err) {
  switch (report.Outcome) {
    case RunOutcome::Completed:
      out << "Output File: " << report.OutputFile << "\n"
          << "Number of points: " << report.Nodes << "\n"
          << "Grid Rows: " << report.Rows << "\n"
          << "Grid Columns: " << report.Columns << "\n"
          << "Units: " << report.Units << "\n";
      return ExitSuccess;
    case RunOutcome::IrregularGrid:
      return ExitIrregular;
    case RunOutcome::ColumnCheckFailed:
      return ExitRefused;
    case RunOutcome::WriterFailed:
      err << "hextant-convert: " << report.OutputFile
          << " was not written: " << WriterResultText(report.WriterResult) << " (writer result "
          << report.WriterResult << ")\n";
      return ExitStopped;
    default:
      return ExitStopped;
  }
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

int Convert(const ConvertOptions& command, std::ostream& out, std::ostream& err,
            bool showProgress) {
  ConversionSettings settings;
  TerminalMessages messages(err, command.overwrite);
  TerminalDialogs dialogs(command.source);
  Silent beeper;
  MainWindowModel window(settings, messages, dialogs, beeper, kVersion);
  window.ChooseFile();
  std::vector<WindowAction> actions;
  actions.push_back([f = *command.format](MainWindowModel& w) { return w.SelectSourceFormat(f); });
  actions.insert(actions.end(), command.actions.begin(), command.actions.end());
  if (!Apply(window, actions, err)) {
    return ExitRefused;
  }
  const ReadOutcome read = window.Read();
  if (!read.Accepted) {
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
  return ExitStatusOf(run.Run(options), out, err);
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
    out << ConvertHelp;
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
