#include "os/System.h"

#include <atomic>

namespace s::os {

namespace {
std::atomic<System*> installed{nullptr};
}

System& system() {
  System* current = installed.load(std::memory_order_acquire);
  return current != nullptr ? *current : platformSystem();
}

System* setSystem(System* replacement) {
  System* previous = installed.exchange(replacement, std::memory_order_acq_rel);
  return previous != nullptr ? previous : &platformSystem();
}

}  // namespace s::os
