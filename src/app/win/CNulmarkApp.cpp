#include "app/win/CNulmarkApp.h"

#include "app/win/AppBase.h"
#include "app/win/AppWindow.h"
#include "file/gui/dialogs/diskeraser/win/Dialog.h"
#include "gui/Scale.h"
#include "lang/Localizer.h"
#include "os/FileSystem.h"
#include "os/TipJournal.h"
#include "os/gui/Ui.h"
#include "process/commandline/win/CommandLine.h"

namespace s::app::win {

using s::file::gui::dialogs::diskeraser::win::Dialog;

namespace {

// What an earlier run left behind (it was killed, or the system went down)
// is put right before the window appears: temporary files scheduled for
// deletion, and cluster tips being written.
void replayJournals(std::string& complaints) {
  s::os::fileSystem().replayScheduledDeletions();
  std::vector<std::u16string> changed;
  s::os::tipJournal().replay(changed);
  if (!changed.empty()) {
    complaints += std::to_string(changed.size()) +
                  " file(s) changed after an interrupted run worked on their cluster tips were "
                  "left as they are.\n";
  }
}

}  // namespace

bool CNulmarkApp::openPageOnPlainStart(IAppBase& app) {
  return app.getCommandLine()->getCount() == 0 && app.openPageAfterSilentInstall();
}

int CNulmarkApp::run(const std::vector<std::u16string>& arguments, std::string& complaints) {
  replayJournals(complaints);
  s::os::gui::Ui& ui = s::os::gui::ui();
  if (!ui.start()) {
    complaints += "cannot show the window: " + ui.displayError() +
                  ". Start it from a desktop session, or use vonq-scrub on the command line.\n";
    return kNoDisplay;
  }
  AppBase* app = AppBase::create();
  if (!app->init(arguments)) {
    app->release();
    complaints += "cannot start: out of memory.\n";
    return kCannotStart;
  }
  ui.setProgramName(app->getLanguageTable()->text(AppBase::kEntryBase));
  AppWindow* record = AppWindow::create();
  record->init(app, s::gui::Scale::factor());
  Dialog* dialog = nullptr;
  if (!app->activateOtherInstance(true, false, true)) {
    openPageOnPlainStart(*app);
    dialog = Dialog::create();
    dialog->bind(record);
    dialog->build();
  }
  if (dialog != nullptr) dialog->release();
  record->release();
  app->release();
  ui.stop();
  return kDone;
}

}  // namespace s::app::win
