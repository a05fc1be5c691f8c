#include "gui/win/UIThread.h"

#include "os/gui/Ui.h"

namespace s::gui::win {

bool UIThread::begin(Window* window) {
  window_ = window;
  running_.store(s::os::gui::ui().start());
  return running_.load();
}

}  // namespace s::gui::win
