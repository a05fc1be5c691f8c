#pragma once

#include "base/IObject.h"
#include "thread/IPoolable.h"
#include "thread/Pooled.h"

namespace s::app {
class IAppWindow;
}
namespace s::gui::win {
class Window;
}

namespace s::file::gui::dialogs::diskeraser::win {

// The disk eraser window's controller: builds the main window bound to the
// window-state record, shows it, and returns once the user closed it. While
// the window is open, another start of the program brings it to the front.
// Pooled: create(), bind(), run() on the main thread, release().
class Dialog final : public virtual s::base::IObject, public virtual s::thread::IPoolable {
  VONQ_POOLED(Dialog, s::thread::kPoolCap)
 public:
  Dialog() = default;
  ~Dialog() override;
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // The record (not owned) the window takes its language, settings and
  // geometry from.
  void bind(s::app::IAppWindow* record) { record_ = record; }
  // Builds the main window and shows it; no-op when built already. False
  // when there is no record.
  bool build();
  // build(), then waits until the window has been closed. Main thread.
  void run();
  // The main window (null before build()).
  s::gui::win::Window* window() const { return window_; }

  const char16_t* getClassName() const override {
    return u"s_file_gui_dialogs_diskeraser_win_Dialog";
  }
  // Ends the window and forgets the record.
  void reset() override;

 private:
  s::app::IAppWindow* record_ = nullptr;
  s::gui::win::Window* window_ = nullptr;
};

}  // namespace s::file::gui::dialogs::diskeraser::win
