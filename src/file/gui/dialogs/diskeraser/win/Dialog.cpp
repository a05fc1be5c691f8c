#include "file/gui/dialogs/diskeraser/win/Dialog.h"

#include <string>

#include "app/IAppBase.h"
#include "app/IAppWindow.h"
#include "app/win/AppWindow.h"
#include "file/gui/dialogs/diskeraser/win/DriveList.h"
#include "file/gui/dialogs/diskeraser/win/Heartbeat.h"
#include "file/gui/dialogs/diskeraser/win/MainMenus.h"
#include "file/wiper/ntfs/TraceAudit.h"
#include "file/wiper/ntfs/TracesLeft.h"
#include "file/wiper/win/RootProbe.h"
#include "gui/dialogs/About3.h"
#include "gui/win/Button.h"
#include "gui/win/CheckBox.h"
#include "gui/win/ComboBox.h"
#include "gui/win/Label.h"
#include "gui/win/MenuEx.h"
#include "gui/win/ProgressBar.h"
#include "gui/win/Window.h"
#include "lang/Localizer.h"
#include "map/IMappedData.h"
#include "os/FileSystem.h"
#include "os/Instances.h"
#include "os/System.h"
#include "os/gui/Desktop.h"
#include "os/gui/Ui.h"
#include "str/strbuffer/StrBuffer.h"
#include "thread/win/Thread.h"

namespace s::file::gui::dialogs::diskeraser::win {

using s::file::wiper::win::DiskWiper;
using s::file::wiper::win::RunTexts;

namespace {

constexpr const char16_t* kViewGroup = u"MainWindow\\View";
constexpr const char16_t* kProcessNames[Dialog::kOperations] = {
    u"Process_TrashBin", u"Process_DiskSpace", u"Process_MFTSpace", u"Process_CluterTips",
    u"Process_FileEntries"};

// Entry ids.
constexpr std::int32_t kAskCancel = 1001200;
constexpr std::int32_t kReady = 609450;
constexpr std::int32_t kDone = 609460;
constexpr std::int32_t kMakerSite = 101000;
constexpr std::int32_t kPhaseTexts[Dialog::kOperations] = {1008101, 1008201, 1008301, -1, 1008501};

constexpr std::uint32_t kPollMillis = 100;
constexpr std::uint32_t kRelayoutTimer = 0x524C;
constexpr std::uint32_t kRelayoutDelayMs = 150;
constexpr std::uint32_t kDoneMillis = 5000;

// The phase events, by operation.
constexpr const char16_t* kPhaseEvents[Dialog::kOperations] = {
    Dialog::kStatusTrashBin, Dialog::kStatusDiskSpace, Dialog::kStatusMFTSpace,
    Dialog::kStatusCluterTips, Dialog::kStatusFileEntries};

template <class Component>
bool is(s::base::IObject* sender, Component* component) {
  return component != nullptr && sender == static_cast<s::base::IObject*>(component);
}

}  // namespace

Dialog::Dialog() {
  for (int op = 0; op < kOperations; ++op) {
    process_[op].store(false);
    progress_[op].store(0);
  }
  worker_ = s::thread::win::Thread::create();
  worker_->setPriority(-1);
}

Dialog::~Dialog() {
  reset();
  worker_->release();
}

void Dialog::reset() {
  cancelRequested_.store(true);
  worker_->waitIdle();
  cancelRequested_.store(false);
  record_ = nullptr;
}

// --- building ---------------------------------------------------------------------

bool Dialog::build() {
  if (record_ == nullptr || window_ != nullptr) return false;
  makeWindow();
  record_->checkForUpdate(window_);
  waitForClose();
  waitAndGiveBack();
  return true;
}

void Dialog::makeWindow() {
  scale_ = record_->getScale();
  s::app::IAppBase* app = record_->getApp();
  settings_ = app != nullptr ? app->getSettings() : nullptr;
  languages_ = record_->getLanguageTable();
  window_ = s::gui::win::Window::create();
  s::os::gui::ui().call([this] {
    window_->setResizable(true);
    window_->bindWindowState(record_, false);
    bool ticked[kOperations];
    readTicks(ticked);
    view_.make(scale_, ticked);
    menus_ = std::make_unique<MainMenus>(record_, window_, languages_, [this] { showVersion(); });
    menus_->build(view_.menuBar);
    view_.attach(window_);
    drives_ = std::make_unique<DriveList>(view_.driveList, languages_, settings_);
    drives_->fill();
    drives_->selectLastWiped();
    enableBoxFive();
    view_.eraseButton->setEnabled(drives_->size() > 0);
    heartbeat_ = std::make_unique<Heartbeat>(window_);
    listen();
    showWindow();
  });
}

// The ticks of boxes 1 to 4 as stored (ticked when never stored); box 5
// always starts unticked.
void Dialog::readTicks(bool ticked[kOperations]) {
  for (int op = 0; op < kOperations; ++op) {
    ticked[op] = op < 4 &&
                 (settings_ == nullptr || settings_->getValue(kViewGroup, kProcessNames[op], true));
    process_[op].store(ticked[op]);
  }
}

void Dialog::listen() {
  view_.driveList->addSelectionListener(this);
  view_.refreshButton->addClickListener(this);
  view_.eraseButton->addClickListener(this);
  view_.cancelButton->addClickListener(this);
  view_.linkLabel->addClickListener(this);
  for (s::gui::win::CheckBox* box : view_.opCheck) {
    box->addCheckedListener(this);
    box->addUncheckedListener(this);
  }
  view_.menuBar->addCommandListener(this);
  window_->addCloseListener(this);
  window_->addUserEventListener(this);
  window_->addActivateListener(this);
  window_->addDeactivateListener(this);
  window_->addLanguageListener(this);
  window_->addTimerListener(this);
}

void Dialog::showWindow() {
  window_->layout();
  window_->layout();
  window_->fitHeight();
  window_->ensureMinimumSize();
  window_->keepInsideScreen();
  window_->show(true, true);
  shown_.store(window_);
}

void Dialog::waitForClose() {
  // A later start of the program asks this window to come forward.
  s::app::IAppBase* app = record_->getApp();
  s::os::Instances& instances = s::os::instances();
  s::gui::win::Window* window = window_;
  const bool listening =
      app != nullptr &&
      instances.listen(app->getProgramPath(), [window](s::os::Instances::Message message) {
        if (message == s::os::Instances::kActivate) window->activate();
        if (message == s::os::Instances::kSecondMessage) window->instanceMessage();
      });
  window_->waitUntilClosed();
  if (listening) instances.stopListening();
}

// After the window closed: a run still going is cancelled and waited for,
// then the tree and the window go back.
void Dialog::waitAndGiveBack() {
  cancelRequested_.store(true);
  worker_->waitIdle();
  cancelRequested_.store(false);
  s::os::gui::ui().call([this] {
    heartbeat_->stop();
    window_->stopTimer(kRelayoutTimer);
    view_.release();
  });
  if (about_ != nullptr) {
    about_->release();
    aboutRecord_->release();
    about_ = nullptr;
    aboutRecord_ = nullptr;
  }
  shown_.store(nullptr);
  window_->release();
  window_ = nullptr;
  // The window's listeners go after the window: none is called any more.
  heartbeat_.reset();
  menus_.reset();
  drives_.reset();
}

// --- reactions --------------------------------------------------------------------

void Dialog::onEvent(s::base::IObject* sender, std::int32_t code) {
  if (sender == static_cast<s::base::IObject*>(window_)) return onWindowEvent(code);
  for (int op = 0; op < kOperations; ++op) {
    if (is(sender, view_.opCheck[op])) return onTicked(op, code == 1);
  }
  if (is(sender, view_.driveList)) return onDriveSelected();
  if (is(sender, view_.refreshButton)) return refresh();
  if (is(sender, view_.eraseButton)) return erase();
  if (is(sender, view_.cancelButton)) return cancel();
  if (is(sender, view_.linkLabel)) {
    if (record_->getApp() != nullptr) record_->getApp()->openUrl(text(kMakerSite));
    return;
  }
  if (is(sender, view_.menuBar)) menus_->onCommand(view_.menuBar->getLastCommand());
}

void Dialog::onWindowEvent(std::int32_t code) {
  switch (code) {
    case s::gui::IWindow::kClose:
      if (running_.load() && !window_->askBox(text(kAskCancel))) {
        window_->cancelClose();
        return;
      }
      cancelRequested_.store(true);
      return;
    case s::gui::IWindow::kUserEvent:
      return onStatusEvent(window_->getEventName());
    case s::gui::IWindow::kActivate:
    case s::gui::IWindow::kDeactivate:
      active_.store(code == s::gui::IWindow::kActivate);
      return;
    case s::gui::IWindow::kLanguageChanged:
      // The components hear of the change after the window and measure
      // their new texts then: lay out once they are done.
      drives_->retext();
      window_->startTimer(kRelayoutTimer, kRelayoutDelayMs);
      return;
    case s::gui::IWindow::kTimer:
      if (window_->getLastTimer() == kRelayoutTimer) relayout();
      return;
    default:
      return;
  }
}

// Lays the window out again after its texts changed, growing it where they
// got longer.
void Dialog::relayout() {
  window_->stopTimer(kRelayoutTimer);
  window_->layout();
  window_->layout();
  window_->ensureMinimumSize();
  window_->keepInsideScreen();
}

void Dialog::onTicked(int op, bool ticked) {
  process_[op].store(ticked);
  if (settings_ != nullptr) settings_->setValue(kViewGroup, kProcessNames[op], ticked);
}

void Dialog::onDriveSelected() {
  drives_->storeSelection();
  enableBoxFive();
}

void Dialog::enableBoxFive() {
  view_.opCheck[4]->setEnabled(drives_->selectedIsNtfs());
}

void Dialog::refresh() {
  drives_->refill();
  onDriveSelected();
  view_.eraseButton->setEnabled(!running_.load() && drives_->size() > 0);
  for (int op = 0; op < kOperations; ++op) {
    progress_[op].store(0);
    view_.opProgress[op]->setPosition(0);
  }
}

void Dialog::erase() {
  if (running_.load() || drives_->size() == 0) return;
  selectedRoot_ = drives_->selectedRoot();
  RunTexts texts([this](std::int32_t id) { return text(id); });
  if (!s::file::wiper::win::RootProbe::mayCreateIn(selectedRoot_)) {
    window_->errorBox(texts.cannotWrite(selectedRoot_));
    return;
  }
  const bool boxFive = view_.opCheck[4]->isEnabled();
  everything_ = process_[1].load() && process_[2].load() && process_[3].load() &&
                process_[4].load() && boxFive;
  if (!window_->askBox(texts.askToStart(everything_, selectedRoot_))) return;
  if (process_[0].load() && !process_[1].load() && !window_->askBox(texts.askRecycleOnly())) {
    return;
  }
  running_.store(true);  // a second Erase before the task starts does nothing
  if (!worker_->runOnce(this)) running_.store(false);
}

void Dialog::cancel() {
  if (running_.load() && window_->askBox(text(kAskCancel))) cancelRequested_.store(true);
}

void Dialog::onStatusEvent(const char16_t* name) {
  if (name == kStatusStart) return runStarted();
  for (int op = 0; op < kOperations; ++op) {
    if (name == kPhaseEvents[op]) return phaseEntered(op);
  }
  if (name == kStatusCluterTips2) {
    std::lock_guard<std::mutex> hold(fileLock_);
    view_.statusLabel->setText(currentFile_, false);
    return;
  }
  if (name == kStatusUpdate) return showProgress();
  if (name == kStatusEnd) runEnded();
}

void Dialog::runStarted() {
  view_.driveList->setEnabled(false);
  view_.eraseButton->setEnabled(false);
  if (!view_.opCheck[4]->isEnabled()) process_[4].store(false);
  for (int op = 0; op < kOperations; ++op) {
    progress_[op].store(0);
    view_.opProgress[op]->setPosition(0);
  }
  view_.cancelButton->setEnabled(true);
  heartbeat_->start();
}

// The run entered operation `op`: the earlier boxes can no longer change
// anything; file names cannot be cancelled part-way.
void Dialog::phaseEntered(int op) {
  const int lastDisabled = op == 4 ? kOperations : op;
  for (int k = 0; k < lastDisabled; ++k) view_.opCheck[k]->setEnabled(false);
  if (kPhaseTexts[op] >= 0) view_.statusLabel->setText(text(kPhaseTexts[op]), false);
  if (op == 4) view_.cancelButton->setEnabled(false);
}

void Dialog::showProgress() {
  std::int32_t sum = 0;
  std::int32_t counted = 0;
  for (int op = 0; op < kOperations; ++op) {
    const std::int32_t percent = progress_[op].load();
    view_.opProgress[op]->setPosition(percent);
    if (!process_[op].load() && percent == 0) continue;
    sum += percent;
    ++counted;
  }
  const std::int32_t overall = counted > 0 ? sum / counted : 0;
  std::u16string title;
  for (const char digit : std::to_string(overall)) title += char16_t(digit);
  window_->setTitle(title + u"% - " + text(record_->getEntryBase()));
}

void Dialog::runEnded() {
  heartbeat_->stop();
  view_.cancelButton->setEnabled(false);
  view_.statusLabel->setText(text(kReady), false);
  view_.statusLabel->setTextFor(text(kDone), kDoneMillis);
  window_->setTitleId(record_->getEntryBase(), -1);
  if (!window_->isClosed()) {
    window_->bringToFront(true);
    window_->infoBox(endMessage());
  }
  view_.driveList->setEnabled(true);
  view_.eraseButton->setEnabled(drives_->size() > 0);
  for (int op = 0; op < 4; ++op) view_.opCheck[op]->setEnabled(true);
  enableBoxFive();
  for (int op = 0; op < kOperations; ++op) {
    progress_[op].store(0);
    view_.opProgress[op]->setPosition(0);
  }
}

// How the last run ended, in words: the end message of the run's result,
// with the reasons of every operation that fell short.
std::u16string Dialog::endMessage() {
  RunTexts texts([this](std::int32_t id) { return text(id); });
  if (result_.load() == kUnsupported) {
    s::os::VolumeInfo volume;
    const bool unreadable =
        s::os::fileSystem().volumeOf(selectedRoot_, volume) && !volume.sourceReadable;
    return texts.unsupported(selectedRoot_, unreadable);
  }
  const DiskWiper::Outcome outcome =
      result_.load() == kCancelled ? DiskWiper::Outcome::Cancelled : outcome_;
  if (!audited_) return texts.ended(outcome, everything_, reports_);
  return texts.endedWithTraces(outcome, everything_, reports_,
                               texts.tracesLeft(traces_, asked_.data()));
}

void Dialog::countTracesLeft() {
  for (int op = 0; op < kOperations; ++op) asked_[op] = reports_[op].asked;
  audited_ = result_.load() != kCancelled && result_.load() != kUnsupported &&
             s::file::wiper::ntfs::TracesLeft::worthAuditing(asked_.data());
  if (!audited_) return;
  s::file::wiper::ntfs::TraceAudit audit(0, nullptr, false);
  for (const s::file::wiper::OperationReport& report : reports_)
    audit.ignoreEntries(report.ownEntries);
  traces_ = audit.run(selectedRoot_);
}

// The version window and its record are made on first use and kept.
void Dialog::showVersion() {
  if (about_ == nullptr) {
    aboutRecord_ = s::app::win::AppWindow::create();
    aboutRecord_->init(record_->getApp(), scale_,
                       {u"AboutWindow", 340, 285, true, true, u"ThinWindow", u"Classic LG"});
    about_ = s::gui::dialogs::About3::create();
    about_->bind(aboutRecord_);
  }
  about_->show(window_);
}

std::u16string Dialog::text(std::int32_t id) {
  return languages_ != nullptr ? std::u16string(languages_->text(id)) : std::u16string();
}

// --- the task ---------------------------------------------------------------------

void Dialog::run() {
  cancelRequested_.store(false);
  running_.store(true);
  s::os::gui::desktop().keepAwake(u"Making deleted data on a drive unrecoverable");
  send(kStatusStart);
  DiskWiper* engine = DiskWiper::create();
  engine->init();
  engine->setDrive(selectedRoot_.c_str());
  const bool supported = engine->isSupported();
  if (supported) drive(*engine);
  endRun(*engine, supported);
}

void Dialog::drive(DiskWiper& engine) {
  bool local[kOperations];
  bool seen[kOperations] = {false, false, false, false, false};
  for (int op = 0; op < kOperations; ++op) local[op] = process_[op].load();
  engine.setProcessTrashBin(local[0]);
  engine.setProcessDiskSpace(local[1]);
  engine.setProcessMFTSpace(local[2]);
  engine.setProcessCluterTips(local[3]);
  engine.setProcessFileEntries(local[4]);
  if (!engine.start()) return;
  while (engine.isRunning()) {
    s::os::system().sleepMillis(kPollMillis);
    if (poll(engine, local, seen)) send(kStatusUpdate);
    if (cancelRequested_.load()) engine.stop(true);
  }
}

// One look at the engine: passes changed ticks on, reads the percentages and
// sends the phase events. True when a percentage changed.
bool Dialog::poll(DiskWiper& engine, bool local[kOperations], bool seen[kOperations]) {
  using Setter = void (DiskWiper::*)(bool);
  static constexpr Setter kSetters[kOperations] = {
      &DiskWiper::setProcessTrashBin, &DiskWiper::setProcessDiskSpace,
      &DiskWiper::setProcessMFTSpace, &DiskWiper::setProcessCluterTips,
      &DiskWiper::setProcessFileEntries};
  const std::int32_t percents[kOperations] = {
      engine.getProgressTrashBin(), engine.getProgressDiskSpace(), engine.getProgressMFTSpace(),
      engine.getProgressCluterTips(), engine.getProgressFileEntries()};
  const bool phases[kOperations] = {engine.isProcessingTrashBin(), engine.isProcessingDiskSpace(),
                                    engine.isProcessingMFTSpace(), engine.isProcessingCluterTips(),
                                    engine.isProcessingFileEntries()};
  bool changed = false;
  for (int op = 0; op < kOperations; ++op) {
    const bool wanted = process_[op].load();
    if (wanted != local[op]) (engine.*kSetters[op])(local[op] = wanted);
    if (progress_[op].exchange(percents[op]) != percents[op]) changed = true;
  }
  for (int op = 0; op < kOperations; ++op) {
    if (!phases[op]) continue;
    if (!seen[op]) send(kPhaseEvents[op]);
    seen[op] = true;
    if (op == DiskWiper::kCluterTips) {
      s::str::strbuffer::StrBuffer file;
      engine.getCurrentFile(&file);
      {
        std::lock_guard<std::mutex> hold(fileLock_);
        currentFile_ = file.view();
      }
      send(kStatusCluterTips2);
    }
    break;
  }
  return changed;
}

void Dialog::endRun(DiskWiper& engine, bool supported) {
  const std::int32_t percents[kOperations] = {
      engine.getProgressTrashBin(), engine.getProgressDiskSpace(), engine.getProgressMFTSpace(),
      engine.getProgressCluterTips(), engine.getProgressFileEntries()};
  for (int op = 0; op < kOperations; ++op) progress_[op].store(percents[op]);
  outcome_ = engine.outcome();
  reports_ = engine.reports();
  if (cancelRequested_.load()) {
    result_.store(kCancelled);
  } else if (!supported) {
    result_.store(kUnsupported);
  } else {
    result_.store(outcome_ == DiskWiper::Outcome::Complete ? kComplete : kIncomplete);
  }
  countTracesLeft();
  send(kStatusUpdate);
  engine.release();
  s::os::gui::desktop().allowSleep();
  if (!active_.load()) tellDesktop();
  send(kStatusEnd);
  cancelRequested_.store(false);
  running_.store(false);
}

// The run ended while the window was in the background: a desktop
// notification says how.
void Dialog::tellDesktop() {
  std::u16string title;
  std::u16string message;
  s::os::gui::ui().call([&] {
    title = text(record_->getEntryBase());
    message = endMessage();
  });
  s::os::gui::desktop().notify(title, message);
}

void Dialog::send(const char16_t* event) {
  window_->sendEvent(event, 0, 0, 0);
}

}  // namespace s::file::gui::dialogs::diskeraser::win
