#include "os/gui/Ui.h"

#include <atomic>

namespace s::os::gui {

namespace {
std::atomic<Ui*> installed{nullptr};
}  // namespace

Ui& ui() {
  Ui* current = installed.load(std::memory_order_acquire);
  return current != nullptr ? *current : platformUi();
}

Ui* setUi(Ui* replacement) {
  Ui* previous = installed.exchange(replacement, std::memory_order_acq_rel);
  return previous != nullptr ? previous : &platformUi();
}

}  // namespace s::os::gui
