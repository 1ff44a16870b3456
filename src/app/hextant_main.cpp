// hextant: the windowed tool. `hextant [OPTIONS] [SOURCE]` opens the main window with SOURCE
// chosen and the main window's options of hextant-convert applied, so that a file manager's
// "Open with" and the desktop entry start it with a file.
#include <QApplication>
#include <csignal>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "convert_options.h"
#include "platform/interruption.h"
#include "ui/hextant_app.h"
#include "ui/qt_platform.h"
#include "ui/results_dialog.h"

#if defined(_WIN32)
// After the project's headers: its macros (CreateWindow) would rename their declarations.
#include <windows.h>
// shellapi.h needs the types of windows.h.
#include <shellapi.h>

#include <cstdio>
#endif

namespace {

constexpr const char* kUsage = R"(Usage: hextant [OPTIONS] [SOURCE]

Opens the Hextant window with SOURCE chosen as the geoid model file. The options are the main
window options of hextant-convert (see hextant-convert --help), applied as the user's actions in
the order given, --format first: --format, --ellipsoid, --coordinates, --angular-unit,
--linear-unit, --spacing-x, --spacing-y, --spacing-x-dms, --spacing-y-dms, --hemisphere,
--exclude-code, --no-exclude-code, --instrument, --interpolation, --local-side.
Without --format, SOURCE selects the format its content shows: a grid file, a Norway binary
grid, a Catalunya GR, Italy, La Reunion, Netherlands or Switzerland file; any other file is read
through the import wizard. --help shows this text, --version prints the version.
)";

std::vector<std::string> Arguments(int argc, char** argv) {
#if defined(_WIN32)
  (void)argc;
  (void)argv;
  std::vector<std::string> args;
  const QStringList all = QCoreApplication::arguments();
  for (qsizetype i = 1; i < all.size(); ++i) {
    args.push_back(hextant::ui::FromQString(all[i]));
  }
  return args;
#else
  return {argv + 1, argv + argc};  // the bytes as given: a path is the system's own
#endif
}

#if defined(_WIN32)
// The arguments as Windows gives them, wide, in UTF-8; before Qt has started.
std::vector<std::string> WideArguments() {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> args;
  for (int i = 1; i < count; ++i) {
    args.push_back(hextant::ui::FromQString(QString::fromWCharArray(wide[i])));
  }
  LocalFree(wide);
  return args;
}

// hextant.exe is a desktop program, started without a console: typed in a console window, its
// usage and version are written there (into a pipe or a file they go as they are).
void WriteToTheConsole() {
  if (GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)) == FILE_TYPE_UNKNOWN &&
      AttachConsole(ATTACH_PARENT_PROCESS)) {
    std::freopen("CONOUT$", "w", stdout);
    std::freopen("CONOUT$", "w", stderr);
  }
}
#endif

// True when `args` ask for the usage or the version, which need no window and no display.
bool AsksForTextOnly(const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "--version") {
      return true;
    }
  }
  return false;
}

// Reads the arguments into `options`; the exit status when they were answered without a window
// (usage, version, bad usage), nullopt when the window is to open.
std::optional<int> ParseArguments(const std::vector<std::string>& args,
                                  hextant::ConvertOptions& options) {
  std::string error;
  if (!hextant::ParseWindowOptions(args, options, error)) {
    std::cerr << "hextant: " << error << "\n" << kUsage;
    return 2;
  }
  if (options.help || options.version) {
    std::cout << (options.help ? kUsage : "hextant " HEXTANT_VERSION_TEXT "\n");
    return 0;
  }
  return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
#if defined(SIGXFSZ)
  std::signal(SIGXFSZ, SIG_IGN);  // a file-size limit is reported as a write error
#endif
  hextant::InstallInterruptionCleanup();
  hextant::ConvertOptions options;
  // Answered before Qt starts, so that they work in a terminal without a display. Other
  // arguments wait for Qt, which takes its own (-style, -platform) out of argv first.
#if defined(_WIN32)
  if (const std::vector<std::string> args = WideArguments(); AsksForTextOnly(args)) {
    WriteToTheConsole();
    return ParseArguments(args, options).value_or(2);
  }
#else
  if (const std::vector<std::string> args(argv + 1, argv + argc); AsksForTextOnly(args)) {
    return ParseArguments(args, options).value_or(2);
  }
#endif
  QApplication application(argc, argv);
  QGuiApplication::setDesktopFileName("org.hextant.Hextant");  // the installed desktop entry
  if (const auto answered = ParseArguments(Arguments(argc, argv), options)) {
    return *answered;
  }
  hextant::ui::QtMessageBoxes messages;
  hextant::ui::QtFileDialogs dialogs;
  hextant::ui::QtBeeper beeper;
  hextant::ui::QtEventLoop events;
  hextant::ui::QtResultsDialog results;
  hextant::ui::HextantApp app(
      {messages, dialogs, beeper, events, results},
      {HEXTANT_VERSION_MAJOR, HEXTANT_VERSION_MINOR, HEXTANT_VERSION_PATCH});
  QObject::connect(&app, &hextant::ui::HextantApp::pageShown, &app, [&](QWidget* page) {
    messages.SetParent(page);
    dialogs.SetParent(page);
    results.SetParent(page);
  });
  if (const auto chosen = app.Preselect(options.source, options.actions); !chosen.Accepted) {
    std::cerr << "hextant: " << chosen.Reason << "\n";
    return 2;
  }
  QObject::connect(&app, &hextant::ui::HextantApp::finished, &application, &QApplication::quit,
                   Qt::QueuedConnection);
  app.Start();
  return QApplication::exec();
}
