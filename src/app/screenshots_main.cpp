// hextant-screenshots SAMPLES_DIR OUTDIR: drives the real windows through a conversion of the
// generic sample and saves a picture of every screen (main window, the wizard's pages, a message
// box, the results dialog) as PNG files into OUTDIR; fails when a screen does not fit the screen's
// free area. Run on the offscreen platform by `make screenshots` and by the tests at two scales.
// Each picture carries the version it shows as its PNG text "Version", for the documentation's
// test.
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <deque>
#include <filesystem>
#include <iostream>

#include "ui/hextant_app.h"
#include "ui/main_window.h"
#include "ui/qt_platform.h"
#include "ui/results_dialog.h"
#include "ui/wizard_pages.h"

namespace {

namespace fs = std::filesystem;
using hextant::ui::PathFromQString;

// The open and save dialogs answer from a script; every other screen is the real one.
class ScriptedDialogs : public hextant::FileDialogs {
 public:
  std::optional<fs::path> ChooseOpenFile(const hextant::FileDialogRequest&) override {
    return Next();
  }
  std::optional<fs::path> ChooseSaveFile(const hextant::FileDialogRequest&) override {
    return Next();
  }
  std::deque<fs::path> answers;

 private:
  std::optional<fs::path> Next() {
    if (answers.empty()) {
      return std::nullopt;
    }
    fs::path answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

class Camera {
 public:
  explicit Camera(QString folder) : folder_(std::move(folder)) {}

  void Take(QWidget* window, const QString& name) {
    QApplication::processEvents();
    const QRect room = window->screen()->availableGeometry();
    if (!room.contains(window->frameGeometry())) {
      std::cerr << "hextant-screenshots: " << name.toStdString() << " does not fit the screen ("
                << window->width() << "x" << window->height() << " at " << window->x() << ","
                << window->y() << ")\n";
      failed_ = true;
    }
    const QString file = QDir(folder_).filePath(name + ".png");
    QImage picture = window->grab().toImage();
    picture.setText("Version", HEXTANT_VERSION_TEXT);
    if (!picture.save(file)) {
      std::cerr << "hextant-screenshots: " << file.toStdString() << " was not written\n";
      failed_ = true;
    }
  }
  // Pictures the next modal window (a message box, the results dialog) and closes it; an empty
  // name closes it unpictured.
  void TakeModal(const QString& name) { modalNames_.push_back(name); }
  void WatchModals() {
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [this] {
      QWidget* modal = QApplication::activeModalWidget();
      if (modal == nullptr) {
        return;
      }
      if (modalNames_.empty()) {
        std::cerr << "hextant-screenshots: unexpected window \""
                  << modal->windowTitle().toStdString() << "\"\n";
        failed_ = true;
      } else {
        if (!modalNames_.front().isEmpty()) {
          Take(modal, modalNames_.front());
        }
        modalNames_.pop_front();
      }
      modal->close();
    });
    timer->start(100);
  }
  bool Failed() const { return failed_; }

 private:
  QString folder_;
  std::deque<QString> modalNames_;
  bool failed_ = false;
};

template <typename T>
T* Child(QWidget* window, const char* name) {
  T* child = window->findChild<T*>(name);
  if (child == nullptr) {
    std::cerr << "hextant-screenshots: no " << name << "\n";
    std::exit(1);
  }
  return child;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc != 3) {
    std::cerr << "Usage: hextant-screenshots SAMPLES_DIR OUTDIR\n";
    return 2;
  }
  // A fixed folder of our own, so that the pictures show the same path on every run.
  std::error_code ignored;
  const fs::path temp = fs::temp_directory_path(ignored);
  if (temp.empty()) {
    std::cerr << "hextant-screenshots: there is no temporary folder (TMPDIR)\n";
    return 1;
  }
  const fs::path work = temp / "hextant-screenshots";
  fs::remove_all(work, ignored);
  const fs::path folder = work / "Geoide";
  fs::create_directories(folder);
  const fs::path source = folder / "egm96_15.xyz";
  fs::copy_file(PathFromQString(QString::fromLocal8Bit(argv[1])) / "generic_egm96.xyz", source);

  QDir().mkpath(QString::fromLocal8Bit(argv[2]));
  Camera camera(QString::fromLocal8Bit(argv[2]));
  hextant::ui::QtMessageBoxes messages;
  ScriptedDialogs dialogs;
  dialogs.answers = {source, folder / "egm96_15.HDM"};
  hextant::ui::QtBeeper beeper;
  hextant::ui::QtEventLoop events;
  hextant::ui::QtResultsDialog results;
  hextant::ui::HextantApp app(
      {messages, dialogs, beeper, events, results},
      {HEXTANT_VERSION_MAJOR, HEXTANT_VERSION_MINOR, HEXTANT_VERSION_PATCH});
  QObject::connect(&app, &hextant::ui::HextantApp::pageShown, [&](QWidget* page) {
    messages.SetParent(page);
    results.SetParent(page);
  });
  camera.WatchModals();
  app.Start();
  QWidget& main = app.Main();
  QApplication::setActiveWindow(&main);
  Child<QPushButton>(&main, "Command_Change_file")->click();
  Child<QRadioButton>(&main, "Option_Angular_units(2)")->click();  // decimal degrees
  for (const char* box : {"Text_Spacing(0)", "Text_Spacing(1)"}) {
    auto* edit = Child<QLineEdit>(&main, box);
    edit->setFocus();
    edit->setText("0.25");
    emit edit->textEdited(edit->text());
    Child<QPushButton>(&main, "Command_Change_file")->setFocus();
  }
  camera.Take(&main, "main-window");

  Child<QPushButton>(&main, "Command_Read_File")->click();
  camera.Take(&app.Welcome(), "welcome");
  Child<QPushButton>(&app.Welcome(), "Command_Next")->click();
  Child<QRadioButton>(app.Layout(), "Option_Delimiter(3)")->click();  // "Space"
  camera.Take(app.Layout(), "layout-page");
  Child<QPushButton>(app.Layout(), "Command_Next")->click();

  hextant::ui::ColumnPage* columns = app.Columns();
  camera.TakeModal("message-box");  // no column has a role yet
  Child<QPushButton>(columns, "Command_Next")->click();
  for (std::int16_t role = 1; role <= 3; ++role) {
    columns->ChooseRole(role, role);
  }
  camera.Take(columns, "conversion-page");
  camera.TakeModal("results-dialog");
  Child<QPushButton>(columns, "Command_Next")->click();
  const bool written = fs::exists(folder / "egm96_15.HDM");
  if (!written) {
    std::cerr << "hextant-screenshots: the conversion wrote no model\n";
  }
  fs::remove_all(work, ignored);
  return camera.Failed() || !written ? 1 : 0;
}
