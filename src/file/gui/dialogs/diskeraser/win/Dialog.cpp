#include "file/gui/dialogs/diskeraser/win/Dialog.h"

#include "app/IAppBase.h"
#include "app/IAppWindow.h"
#include "gui/win/Window.h"
#include "os/Instances.h"

namespace s::file::gui::dialogs::diskeraser::win {

Dialog::~Dialog() {
  reset();
}

void Dialog::reset() {
  if (window_ != nullptr) window_->release();
  window_ = nullptr;
  record_ = nullptr;
}

bool Dialog::build() {
  if (record_ == nullptr) return false;
  if (window_ != nullptr) return true;
  window_ = s::gui::win::Window::create();
  window_->bindWindowState(record_, false);
  window_->show(true, true);
  return true;
}

void Dialog::run() {
  if (!build()) return;
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

}  // namespace s::file::gui::dialogs::diskeraser::win
