#include "hextant_app.h"

#include <cstdlib>

#include "main_window.h"
#include "wizard_pages.h"

namespace hextant::ui {

HextantApp::HextantApp(AppPlatform platform, ProgramVersion version)
    : platform_(platform),
      mainModel_(settings_, platform.Messages, platform.Dialogs, platform.Beep, version),
      mainWindow_(std::make_unique<MainWindow>(mainModel_)),
      welcome_(std::make_unique<WelcomePage>()),
      columnModel_(settings_) {
  connect(mainWindow_.get(), &MainWindow::readAccepted, this, &HextantApp::OnRead);
  connect(mainWindow_.get(), &MainWindow::cancelled, this, &HextantApp::Cancel);
  connect(welcome_.get(), &WizardPage::next, this, [this] {
    welcome_->hide();
    OpenLayoutPage();
  });
  connect(welcome_.get(), &WizardPage::back, this, [this] {
    welcome_->hide();
    mainModel_.Show();
    mainWindow_->Refresh();
    mainWindow_->show();
  });
  connect(welcome_.get(), &WizardPage::cancelled, this, &HextantApp::Cancel);
}

HextantApp::~HextantApp() = default;

void HextantApp::Start() {
  mainWindow_->show();
}

void HextantApp::OnRead(NextPage next) {
  mainWindow_->hide();
  if (next == NextPage::ImportWizard) {
    welcome_->show();
    return;
  }
  columnModel_.Load();
  columnModel_.Visible = true;
  OpenColumnPage();
}

void HextantApp::OpenLayoutPage() {
  // The page is created anew on every visit: Back from it discards its choices.
  layout_.reset();
  layoutModel_ = std::make_unique<LayoutPageModel>(settings_);
  layout_ = std::make_unique<LayoutPage>(*layoutModel_);
  connect(layout_.get(), &WizardPage::next, this, [this] {
    layoutModel_->Next(columnModel_);
    layout_->hide();
    OpenColumnPage();
  });
  connect(layout_.get(), &WizardPage::back, this, [this] {
    layout_->hide();
    welcome_->show();
  });
  connect(layout_.get(), &WizardPage::cancelled, this, &HextantApp::Cancel);
  layout_->show();
}

void HextantApp::OpenColumnPage() {
  if (!columns_) {
    columns_ = std::make_unique<ColumnPage>(columnModel_);
    connect(columns_.get(), &WizardPage::next, this, &HextantApp::StartConversion);
    connect(columns_.get(), &WizardPage::back, this, &HextantApp::GoBackFromColumns);
    connect(columns_.get(), &WizardPage::cancelled, this, &HextantApp::Cancel);
  }
  columns_->Refresh();
  columns_->show();
}

void HextantApp::StartConversion() {
  if (running_) {
    return;  // a second press while a run is under way
  }
  running_ = true;
  ConversionRun run(settings_, RunServices{platform_.Messages, platform_.Dialogs, *columns_,
                                           platform_.Events, platform_.Results});
  const RunReport report = run.Run();
  running_ = false;
  switch (report.Outcome) {
    case RunOutcome::Completed:
    case RunOutcome::SettingsFileFailed:
      emit finished();  // a successful conversion is the last thing the program does
      break;
    case RunOutcome::IrregularGrid:
      columns_->hide();
      mainModel_.Show();
      mainWindow_->Refresh();
      mainWindow_->show();
      break;
    case RunOutcome::StoppedByUser:
      columns_->hide();
      layout_->show();
      break;
    default:
      break;
  }
}

void HextantApp::GoBackFromColumns() {
  switch (columnModel_.Back()) {
    case BackTarget::StayWhileReading:
      return;  // the read stops at its next line and leads back itself
    case BackTarget::LayoutPage:
      columns_->hide();
      layout_->show();
      return;
    case BackTarget::MainWindow:
      columns_->hide();
      mainModel_.Show();
      mainWindow_->Refresh();
      mainWindow_->show();
      return;
  }
}

void HextantApp::Cancel() {
  if (running_) {
    std::exit(0);  // ends the program at once, also during a read; the system closes the source
  }
  emit finished();
}

}  // namespace hextant::ui
