#pragma once

// The windowed tool: the main window, the import wizard and the conversion page, shown and hidden
// as the user goes forward and back, with one conversion run started from the conversion page.

#include <QObject>
#include <memory>

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

  void Start();

  MainWindow& Main() { return *mainWindow_; }
  WelcomePage& Welcome() { return *welcome_; }
  LayoutPage* Layout() { return layout_.get(); }
  ColumnPage* Columns() { return columns_.get(); }
  ConversionSettings& Settings() { return settings_; }

 signals:
  /// The program ends: after a successful conversion, or on Cancel.
  void finished();

 private:
  void OnRead(NextPage next);
  void OpenLayoutPage();
  void OpenColumnPage();
  void StartConversion();
  void GoBackFromColumns();
  void Cancel();

  AppPlatform platform_;
  ConversionSettings settings_;
  MainWindowModel mainModel_;
  std::unique_ptr<MainWindow> mainWindow_;
  std::unique_ptr<WelcomePage> welcome_;
  std::unique_ptr<LayoutPageModel> layoutModel_;
  std::unique_ptr<LayoutPage> layout_;
  ColumnPageModel columnModel_;
  std::unique_ptr<ColumnPage> columns_;
  bool running_ = false;
};

}  // namespace hextant::ui
