#include "convert_command.h"

#include <array>
#include <functional>
#include <optional>
#include <ostream>
#include <string_view>

#include "core/conversion_run.h"
#include "settings/choice_lists.h"
#include "settings/ellipsoid.h"
#include "settings/main_window_model.h"
#include "textimport/column_page_model.h"
#include "textimport/layout_page_model.h"

namespace hextant {
namespace {

constexpr ProgramVersion kVersion{HEXTANT_VERSION_MAJOR, HEXTANT_VERSION_MINOR,
                                  HEXTANT_VERSION_PATCH};

constexpr const char* kHelp = R"(Usage: hextant-convert [OPTIONS] SOURCE

Converts the geoid model in SOURCE into an HDM model file and writes HdmToTarvo.INI beside it,
exactly as the Hextant window does: every option is applied as the user's action on the main
window, in the order given (--format first, wherever it stands), after the window is created and
SOURCE chosen. A locked control, a number box that refuses its text or a validation message
stops with status 2.

Source and window:
  --format NAME            required: the source format's list text ("Catalunya GR file") or one
                           of wizard, netherlands, norway, switzerland, italy, la-reunion,
                           norway-nn2000, catalunya, poland
  --ellipsoid NAME         the ellipsoid's list text ("WGS 1984")
  --coordinates geographical|grid
  --angular-unit radians|gons|decimal-degrees|sexagesimal
  --linear-unit metres|international-feet|us-feet
  --spacing-x TEXT         typed into the first spacing box
  --spacing-y TEXT         typed into the second spacing box
  --spacing-x-dms D:M:S    typed into the degree, minute and second boxes of the first row
  --spacing-y-dms D:M:S    the same for the second row
  --hemisphere N|S
  --exclude-code TEXT      tick "Exclude data with code:" and type TEXT into the code box
  --no-exclude-code        untick it
  --instrument R|Q         Series R or Series Q
  --interpolation 4|9|16
  --local-side on|off      tick or untick "Apply on the local side"

Import wizard (with --format wizard), applied to its two pages after the main window's options:
  --start-line N           choose entry N (1..50) of "Start import at line:"
  --delimiter tab|semicolon|comma|space|other:TEXT
  --widths LIST            choose "Columns", type LIST (such as 4,3,2) and press Enter
  --no-merge               untick "Treat consecutive characters as one."
  --column ROLE=N          right-click column N of the preview and choose ROLE's entry; ROLE is
                           x, y, separation, code, lon-deg, lon-min, lon-sec, lat-deg, lat-min or
                           lat-sec (repeatable; choosing a role that has a column takes it back)

Output:
  --output FILE            propose FILE instead of SOURCE with the extension HDM
  --overwrite              answer Yes when the model file already exists (default: No, and
                           with no save dialog to show, the conversion stops)
  --quiet                  show no progress (progress goes to stderr when it is a terminal)
  --help                   show this text
  --version                print the version

Every message box is printed to stderr as "TITLE: TEXT". On success the results are printed to
stdout as "Output File: PATH", "Number of points: N", "Grid Rows: R", "Grid Columns: C" and
"Units: mm|cm".

Exit status: 0 the model and HdmToTarvo.INI were written; 1 the conversion stopped (the reader,
the output file choice or the writer said no); 2 bad usage or the window refused an entry;
3 THE GRID IS NOT REGULAR (the model was written, HdmToTarvo.INI was not).
)";

using WindowAction = std::function<ActionResult(MainWindowModel&)>;
using LayoutAction = std::function<ActionResult(LayoutPageModel&)>;
using ColumnAction = std::function<ActionResult(ColumnPageModel&)>;

struct Command {
  std::string source;
  std::optional<std::int16_t> format;
  std::vector<WindowAction> actions;
  std::vector<LayoutAction> layoutActions;
  std::vector<ColumnAction> columnActions;
  std::optional<std::string> output;
  bool overwrite = false;
  bool quiet = false;
  bool help = false;
  bool version = false;
};

// --- the window's platform, for a terminal -------------------------------------------------

std::string WithNewlines(std::string text) {
  for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) {
    text.replace(at, 2, "\n");
  }
  return text;
}

class TerminalMessages : public MessageBoxes {
 public:
  TerminalMessages(std::ostream& err, bool overwrite) : err_(err), overwrite_(overwrite) {}
  MessageAnswer Show(const Message& message) override {
    err_ << message.Title << ": " << WithNewlines(message.Text) << "\n";
    if (message.Buttons == MessageButtons::YesNo) {
      return overwrite_ ? MessageAnswer::Yes : MessageAnswer::No;
    }
    return MessageAnswer::Ok;
  }

 private:
  std::ostream& err_;
  bool overwrite_;
};

// The open dialog picks SOURCE; there is no save dialog to show, so it counts as cancelled.
class TerminalDialogs : public FileDialogs {
 public:
  explicit TerminalDialogs(std::string source) : source_(std::move(source)) {}
  std::optional<std::string> ChooseOpenFile(const FileDialogRequest&) override { return source_; }
  std::optional<std::string> ChooseSaveFile(const FileDialogRequest&) override {
    return std::nullopt;
  }

 private:
  std::string source_;
};

class TerminalProgress : public ProgressDisplay, public EventLoop {
 public:
  TerminalProgress(std::ostream& err, bool show) : err_(err), show_(show) {}
  ~TerminalProgress() override {
    if (drawn_) {
      err_ << "\n";
    }
  }
  void ShowProgressBar() override {}
  void SetProgress(int percent) override {
    if (show_ && percent != shown_) {
      shown_ = percent;
      Draw(std::to_string(percent) + " %");
    }
  }
  void SetProgressCaption(const std::string& caption) override {
    if (show_) {
      Draw(caption);
    }
  }
  void SetStatus(const std::string& caption) override { status_ = caption; }
  void Yield() override {}

 private:
  void Draw(const std::string& caption) {
    err_ << "\r" << (status_.empty() ? "Reading" : status_) << "  " << caption << "   "
         << std::flush;
    drawn_ = true;
  }

  std::ostream& err_;
  bool show_;
  bool drawn_ = false;
  int shown_ = -1;
  std::string status_;
};

// The results are printed after the run, from its report, so the dialog itself shows nothing.
class TerminalResults : public ResultsDialog {
 public:
  void Show(const ResultsTexts&) override {}
};

class Silent : public Beeper {
 public:
  void Beep() override {}
};

// --- options ---------------------------------------------------------------------------------

std::optional<std::int16_t> FormatPosition(std::string_view name) {
  constexpr std::array<std::string_view, 9> kAliases{"wizard",        "netherlands", "norway",
                                                     "switzerland",   "italy",       "la-reunion",
                                                     "norway-nn2000", "catalunya",   "poland"};
  for (std::size_t i = 0; i < kAliases.size(); ++i) {
    if (name == kAliases[i] || name == SourceFormatNames[i]) {
      return static_cast<std::int16_t>(i);
    }
  }
  return std::nullopt;
}

template <std::size_t N>
std::optional<int> IndexOf(std::string_view value, const std::array<std::string_view, N>& names) {
  for (std::size_t i = 0; i < N; ++i) {
    if (value == names[i]) {
      return static_cast<int>(i);
    }
  }
  return std::nullopt;
}

void AddDmsActions(Command& command, int row, std::string_view value, std::string& error) {
  const std::size_t first = value.find(':');
  const std::size_t second = first == std::string_view::npos ? first : value.find(':', first + 1);
  if (second == std::string_view::npos || value.find(':', second + 1) != std::string_view::npos) {
    error = "a D:M:S spacing needs three parts separated by ':'";
    return;
  }
  const std::string parts[] = {std::string(value.substr(0, first)),
                               std::string(value.substr(first + 1, second - first - 1)),
                               std::string(value.substr(second + 1))};
  const TextBoxId boxes[] = {TextBoxId::Degrees, TextBoxId::Minutes, TextBoxId::Seconds};
  for (int i = 0; i < 3; ++i) {
    command.actions.push_back([box = boxes[i], row, text = parts[i]](MainWindowModel& w) {
      return w.EnterText(box, row, text);
    });
  }
}

const std::array<std::string_view, 50>& StartLineEntries() {
  static const auto entries = [] {
    static std::array<std::string, 50> texts;
    std::array<std::string_view, 50> views;
    for (std::size_t i = 0; i < texts.size(); ++i) {
      texts[i] = std::to_string(i + 1);
      views[i] = texts[i];
    }
    return views;
  }();
  return entries;
}

void AddDelimiterAction(Command& c, const std::string& value, std::string& error) {
  if (value.starts_with("other:")) {
    c.layoutActions.push_back([text = value.substr(6)](LayoutPageModel& p) {
      p.TypeOtherDelimiter(text);
      return p.SelectDelimiter(DelimiterOther);
    });
    return;
  }
  const auto option =
      IndexOf(value, std::array<std::string_view, 4>{"tab", "semicolon", "comma", "space"});
  if (!option) {
    error = "--delimiter takes tab, semicolon, comma, space or other:TEXT, not '" + value + "'";
    return;
  }
  c.layoutActions.push_back([o = *option](LayoutPageModel& p) { return p.SelectDelimiter(o); });
}

void AddColumnAction(Command& c, const std::string& value, std::string& error) {
  constexpr std::array<std::string_view, 10> kRoles{"x",       "y",       "separation", "code",
                                                    "lon-deg", "lon-min", "lon-sec",    "lat-deg",
                                                    "lat-min", "lat-sec"};
  const std::size_t equals = value.find('=');
  const auto role = IndexOf(std::string_view(value).substr(0, equals), kRoles);
  const std::string number = equals == std::string::npos ? "" : value.substr(equals + 1);
  const bool digits = !number.empty() && number.size() <= 4 &&
                      number.find_first_not_of("0123456789") == std::string::npos;
  if (!role || !digits) {
    error = "--column takes ROLE=N with a role such as x, y or separation, not '" + value + "'";
    return;
  }
  const auto column = static_cast<std::int16_t>(std::stoi(number));
  const auto roleNumber = static_cast<std::int16_t>(*role + 1);
  c.columnActions.push_back(
      [column, roleNumber,
       name = std::string(kRoles[static_cast<std::size_t>(*role)])](ColumnPageModel& page) {
        if (!page.RightClick(column)) {
          return ActionResult::Refused("column " + std::to_string(column) +
                                       " is not in the preview of Grid_Preview");
        }
        if (!page.ToggleRole(roleNumber)) {
          return ActionResult::Refused("the role menu in use has no entry for " + name);
        }
        return ActionResult::Ok();
      });
}

// Adds the window actions of one option with a value; sets `error` when the value is not one the
// option takes.
void AddValueOption(Command& c, std::string_view name, const std::string& value,
                    std::string& error) {
  auto choose = [&](auto names, auto act) {
    if (auto index = IndexOf(value, names)) {
      c.actions.push_back([act, i = *index](MainWindowModel& w) { return act(w, i); });
    } else {
      error = "--" + std::string(name) + " does not take '" + value + "'";
    }
  };
  auto type = [&](TextBoxId box, int row) {
    c.actions.push_back(
        [box, row, value](MainWindowModel& w) { return w.EnterText(box, row, value); });
  };
  if (name == "format") {
    c.format = FormatPosition(value);
    if (!c.format) {
      error = "unknown source format '" + value + "'";
    }
  } else if (name == "ellipsoid") {
    const auto table = StandardEllipsoids();
    std::optional<std::int16_t> position;
    for (std::size_t i = 0; i < table.size(); ++i) {
      if (table[i].Name == value) {
        position = static_cast<std::int16_t>(i);
      }
    }
    if (!position) {
      error = "unknown ellipsoid '" + value + "'";
      return;
    }
    c.actions.push_back([p = *position](MainWindowModel& w) { return w.SelectEllipsoid(p); });
  } else if (name == "coordinates") {
    choose(std::array<std::string_view, 2>{"geographical", "grid"},
           [](MainWindowModel& w, int i) { return w.SelectCoordinateType(i); });
  } else if (name == "angular-unit") {
    choose(std::array<std::string_view, 4>{"radians", "gons", "decimal-degrees", "sexagesimal"},
           [](MainWindowModel& w, int i) { return w.SelectAngularUnit(i); });
  } else if (name == "linear-unit") {
    choose(std::array<std::string_view, 3>{"metres", "international-feet", "us-feet"},
           [](MainWindowModel& w, int i) { return w.SelectLinearUnit(i); });
  } else if (name == "spacing-x" || name == "spacing-y") {
    type(TextBoxId::Spacing, name == "spacing-x" ? 0 : 1);
  } else if (name == "spacing-x-dms" || name == "spacing-y-dms") {
    AddDmsActions(c, name == "spacing-x-dms" ? 0 : 1, value, error);
  } else if (name == "hemisphere") {
    choose(std::array<std::string_view, 2>{"N", "S"},
           [](MainWindowModel& w, int i) { return w.SelectHemisphere(i == 1); });
  } else if (name == "exclude-code") {
    c.actions.push_back([](MainWindowModel& w) { return w.SetPointCode(true); });
    type(TextBoxId::CodeFilter, 0);
  } else if (name == "instrument") {
    choose(std::array<std::string_view, 2>{"R", "Q"},
           [](MainWindowModel& w, int i) { return w.SelectInstrumentType(i); });
  } else if (name == "interpolation") {
    choose(std::array<std::string_view, 3>{"4", "9", "16"}, [](MainWindowModel& w, int i) {
      return w.SelectInterpolation(static_cast<std::int16_t>(i));
    });
  } else if (name == "local-side") {
    choose(std::array<std::string_view, 2>{"off", "on"},
           [](MainWindowModel& w, int i) { return w.SetLocalSide(i == 1); });
  } else if (name == "start-line") {
    const auto entry = IndexOf(value, StartLineEntries());
    if (!entry) {
      error = "--start-line takes a line number from 1 to 50";
      return;
    }
    c.layoutActions.push_back([i = *entry](LayoutPageModel& p) { return p.ChooseStartLine(i); });
  } else if (name == "delimiter") {
    AddDelimiterAction(c, value, error);
  } else if (name == "widths") {
    c.layoutActions.push_back([value](LayoutPageModel& p) {
      p.TypeColumnWidths(value);
      p.PressEnterInColumns();
      return ActionResult::Ok();
    });
  } else if (name == "column") {
    AddColumnAction(c, value, error);
  } else if (name == "output") {
    c.output = value;
  } else {
    error = "unknown option --" + std::string(name);
  }
}

bool AddFlagOption(Command& c, std::string_view name) {
  if (name == "no-merge") {
    c.layoutActions.push_back([](LayoutPageModel& p) { return p.SetMergeDelimiters(false); });
  } else if (name == "no-exclude-code") {
    c.actions.push_back([](MainWindowModel& w) { return w.SetPointCode(false); });
  } else if (name == "overwrite") {
    c.overwrite = true;
  } else if (name == "quiet") {
    c.quiet = true;
  } else if (name == "help") {
    c.help = true;
  } else if (name == "version") {
    c.version = true;
  } else {
    return false;
  }
  return true;
}

bool Parse(const std::vector<std::string>& args, Command& c, std::string& error) {
  for (std::size_t i = 0; i < args.size() && error.empty(); ++i) {
    const std::string& arg = args[i];
    if (!arg.starts_with("--")) {
      if (!c.source.empty()) {
        error = "more than one SOURCE: '" + c.source + "' and '" + arg + "'";
      }
      c.source = arg;
      continue;
    }
    const std::size_t equals = arg.find('=');
    const std::string name = arg.substr(2, equals == std::string::npos ? equals : equals - 2);
    if (equals == std::string::npos && AddFlagOption(c, name)) {
      continue;
    }
    std::string value;
    if (equals != std::string::npos) {
      value = arg.substr(equals + 1);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      error = "--" + name + " needs a value";
      break;
    }
    AddValueOption(c, name, value, error);
  }
  if (error.empty() && !c.help && !c.version) {
    if (c.source.empty()) {
      error = "no SOURCE file given";
    } else if (!c.format) {
      error = "--format is required";
    }
  }
  return error.empty();
}

// --- the conversion ----------------------------------------------------------------------------

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

int Convert(const Command& command, std::ostream& out, std::ostream& err, bool showProgress) {
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
  Command command;
  std::string error;
  if (!Parse(args, command, error)) {
    err << "hextant-convert: " << error << "\nTry 'hextant-convert --help'.\n";
    return ExitRefused;
  }
  if (command.help) {
    out << kHelp;
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
