// hextant: the windowed tool.
#include <QApplication>
#include <csignal>

#include "hextant_app.h"
#include "qt_platform.h"
#include "results_dialog.h"

int main(int argc, char** argv) {
#if defined(SIGXFSZ)
  std::signal(SIGXFSZ, SIG_IGN);  // a file-size limit is reported as a write error
#endif
  QApplication application(argc, argv);
  hextant::ui::QtMessageBoxes messages;
  hextant::ui::QtFileDialogs dialogs;
  hextant::ui::QtBeeper beeper;
  hextant::ui::QtEventLoop events;
  hextant::ui::QtResultsDialog results;
  hextant::ui::HextantApp app(
      {messages, dialogs, beeper, events, results},
      {HEXTANT_VERSION_MAJOR, HEXTANT_VERSION_MINOR, HEXTANT_VERSION_PATCH});
  QObject::connect(&app, &hextant::ui::HextantApp::finished, &application, &QApplication::quit,
                   Qt::QueuedConnection);
  app.Start();
  return QApplication::exec();
}
