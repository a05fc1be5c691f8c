#include "os/Shell.h"

#include <atomic>

namespace s::os {

namespace {
std::atomic<Shell*> installed{nullptr};
}  // namespace

Shell& shell() {
  Shell* current = installed.load(std::memory_order_acquire);
  return current != nullptr ? *current : platformShell();
}

Shell* setShell(Shell* replacement) {
  Shell* previous = installed.exchange(replacement, std::memory_order_acq_rel);
  return previous != nullptr ? previous : &platformShell();
}

}  // namespace s::os
