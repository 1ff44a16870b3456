#pragma once

// The windowed tool: the main window, the import wizard and the conversion page, shown and hidden
// as the user goes forward and back, with one conversion run started from the conversion page.

#include <QObject>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "conversion/conversion_run.h"
#include "mainwindow/main_window_model.h"
#include "wizard/column_page_model.h"
#include "wizard/layout_page_model.h"

namespace hextant::ui {

class ColumnPage;
class LayoutPage;
class MainWindow;
class WelcomePage;

/// The platform the windows reach the user through; tests hand in scripted ones.
struct AppPlatform {
  MessageBoxes& Messages;
  FileDialogs& Dialogs;
  Beeper& Beep;
  EventLoop& Events;
  ResultsDialog& Results;
};

class HextantApp : public QObject {
  Q_OBJECT

 public:
  HextantApp(AppPlatform platform, ProgramVersion version);
  ~HextantApp() override;

  /// Shows the main window where the system places a new window.
  void Start();

  /// Chooses `source` as if through the open dialog and applies `actions` to the main window in
  /// order; the first refused action stops with its reason.
  ActionResult Preselect(const std::filesystem::path& source,
                         const std::vector<std::function<ActionResult(MainWindowModel&)>>& actions);

  MainWindow& Main() { return *mainWindow_; }
  WelcomePage& Welcome() { return *welcome_; }
  LayoutPage* Layout() { return layout_.get(); }
  ColumnPage* Columns() { return columns_.get(); }
  ConversionSettings& Settings() { return settings_; }
  /// The page on screen now; message boxes and dialogs open over it.
  QWidget* CurrentPage() const { return current_; }

 signals:
  /// The program ends: after a successful conversion, or on Cancel.
  void finished();
  /// `page` is now the page on screen.
  void pageShown(QWidget* page);

 private:
  void OnRead(NextPage next);
  void OpenLayoutPage();
  void OpenColumnPage();
  void StartConversion();
  void GoBackFromColumns();
  void Cancel();
  void ShowPage(QWidget* page);
  void ShowMainWindow();

  AppPlatform platform_;
  ConversionSettings settings_;
  MainWindowModel mainModel_;
  std::unique_ptr<MainWindow> mainWindow_;
  std::unique_ptr<WelcomePage> welcome_;
  std::unique_ptr<LayoutPageModel> layoutModel_;
  std::unique_ptr<LayoutPage> layout_;
  ColumnPageModel columnModel_;
  std::unique_ptr<ColumnPage> columns_;
  QWidget* current_ = nullptr;
  bool running_ = false;
};

}  // namespace hextant::ui
