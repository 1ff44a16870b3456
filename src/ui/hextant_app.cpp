#include "hextant_app.h"

#include <QCoreApplication>
#include <QEvent>
#include <QScreen>
#include <algorithm>
#include <cstdlib>

#include "main_window.h"
#include "platform/interruption.h"
#include "wizard_pages.h"

namespace hextant::ui {
namespace {

// Room kept for a window manager's title bar and borders before a window has frames of its own.
constexpr QSize kFrameAllowance(16, 48);

// Keeps `page` within the screen's free area, title bar and frame included, so that its buttons
// can always be reached; `frame` is the size the frame adds around the page.
void KeepOnScreen(QWidget* page, QSize frame, bool move) {
  const QScreen* screen = page->screen();
  if (screen == nullptr) {
    return;
  }
  const QRect room = screen->availableGeometry();
  page->resize(page->size().boundedTo(room.size() - frame));
  if (move) {
    const int right = std::max(room.left(), room.right() + 1 - page->width() - frame.width());
    const int bottom = std::max(room.top(), room.bottom() + 1 - page->height() - frame.height());
    page->move(std::clamp(page->x(), room.left(), right),
               std::clamp(page->y(), room.top(), bottom));
  }
}

}  // namespace

HextantApp::HextantApp(AppPlatform platform, ProgramVersion version)
    : platform_(platform),
      mainModel_(settings_, platform.Messages, platform.Dialogs, platform.Beep, version),
      mainWindow_(std::make_unique<MainWindow>(mainModel_)),
      welcome_(std::make_unique<WelcomePage>()),
      columnModel_(settings_) {
  connect(mainWindow_.get(), &MainWindow::readAccepted, this, &HextantApp::OnRead);
  connect(mainWindow_.get(), &MainWindow::cancelled, this, &HextantApp::Cancel);
  connect(welcome_.get(), &WizardPage::next, this, &HextantApp::OpenLayoutPage);
  connect(welcome_.get(), &WizardPage::back, this, &HextantApp::ShowMainWindow);
  connect(welcome_.get(), &WizardPage::cancelled, this, &HextantApp::Cancel);
}

HextantApp::~HextantApp() = default;

void HextantApp::Start() {
  ShowPage(mainWindow_.get());
}

ActionResult HextantApp::Preselect(
    const std::filesystem::path& source,
    const std::vector<std::function<ActionResult(MainWindowModel&)>>& actions) {
  ActionResult result = ActionResult::Ok();
  if (!source.empty()) {
    result = mainModel_.ChooseFile(source);
  }
  for (std::size_t i = 0; i < actions.size() && result.Accepted; ++i) {
    result = actions[i](mainModel_);
  }
  mainWindow_->Refresh();
  if (!source.empty() && result.Accepted) {
    mainWindow_->FocusRead();  // the file is chosen: Enter reads it
  }
  return result;
}

void HextantApp::ShowPage(QWidget* page) {
  QWidget* previous = current_ != page ? current_ : nullptr;
  current_ = page;
  const bool sized = page->testAttribute(Qt::WA_Resized);
  QSize frame = kFrameAllowance;
  if (previous != nullptr) {
    // The next page takes the place of the previous one, and its size too within the wizard.
    if (const QSize around = previous->frameGeometry().size() - previous->size();
        !around.isEmpty()) {
      frame = around;
    }
    page->move(previous->pos());
  }
  emit pageShown(page);
  page->show();
  // A page's size hints hold only once it is shown and its layouts have taken in the captions.
  for (int round = 0; round < 3; ++round) {  // inner layouts first, then the ones around them
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
  }
  const bool wizard =
      previous != nullptr && previous != mainWindow_.get() && page != mainWindow_.get();
  if (wizard) {
    page->resize(previous->size().expandedTo(page->minimumSizeHint()));
  } else if (!sized) {
    page->resize(page->sizeHint());
  }
  KeepOnScreen(page, frame, previous != nullptr);  // the window manager places the first window
  if (previous != nullptr) {
    previous->hide();
  }
  page->raise();
  page->activateWindow();
}

void HextantApp::ShowMainWindow() {
  mainModel_.Show();
  mainWindow_->Refresh();
  ShowPage(mainWindow_.get());
}

void HextantApp::OnRead(NextPage next) {
  if (next == NextPage::ImportWizard) {
    ShowPage(welcome_.get());
    return;
  }
  columnModel_.Load();
  columnModel_.StartVisit();
  columnModel_.Visible = true;
  OpenColumnPage();
}

void HextantApp::OpenLayoutPage() {
  // The page is created anew on every visit: Back from it discards its choices.
  if (current_ == layout_.get()) {
    current_ = nullptr;
  }
  layout_.reset();
  layoutModel_ = std::make_unique<LayoutPageModel>(settings_);
  layout_ = std::make_unique<LayoutPage>(*layoutModel_);
  connect(layout_.get(), &WizardPage::next, this, [this] {
    layoutModel_->Next(columnModel_);
    OpenColumnPage();
  });
  connect(layout_.get(), &WizardPage::back, this, [this] { ShowPage(welcome_.get()); });
  connect(layout_.get(), &WizardPage::cancelled, this, &HextantApp::Cancel);
  ShowPage(layout_.get());
}

void HextantApp::OpenColumnPage() {
  if (!columns_) {
    columns_ = std::make_unique<ColumnPage>(columnModel_);
    connect(columns_.get(), &WizardPage::next, this, &HextantApp::StartConversion);
    connect(columns_.get(), &WizardPage::back, this, &HextantApp::GoBackFromColumns);
    connect(columns_.get(), &WizardPage::cancelled, this, &HextantApp::Cancel);
  }
  columns_->Refresh();
  ShowPage(columns_.get());
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
      ShowMainWindow();
      break;
    case RunOutcome::StoppedByUser:
      ShowPage(layout_.get());
      break;
    case RunOutcome::StoppedBeforeWriting:
    case RunOutcome::WriterFailed:
      columnModel_.ShowNothingWritten();
      columns_->Refresh();
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
      ShowPage(layout_.get());
      return;
    case BackTarget::MainWindow:
      ShowMainWindow();
      return;
  }
}

void HextantApp::Cancel() {
  if (running_) {
    // Ends the program at once, also during a read or a wait for the output's folder; the
    // system closes the source, and what the run had created goes first.
    RemoveInterruptedFiles();
    std::exit(0);
  }
  emit finished();
}

}  // namespace hextant::ui
