#include "os/System.h"

#include <atomic>
#include <new>
#include <system_error>
#include <utility>

namespace s::os {

namespace {
std::atomic<System*> installed{nullptr};
}

System& system() {
  System* current = installed.load(std::memory_order_acquire);
  return current != nullptr ? *current : platformSystem();
}

bool System::startThread(std::function<void()> body, std::thread& out) {
  try {
    out = std::thread(std::move(body));
    return true;
  } catch (const std::system_error&) {
    return false;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

std::uint16_t System::userLanguageId() {
  System& own = platformSystem();
  return this == &own ? 0x0409 : own.userLanguageId();
}

std::u16string System::systemFolder() {
  System& own = platformSystem();
  return this == &own ? std::u16string(u"/") : own.systemFolder();
}

System* setSystem(System* replacement) {
  System* previous = installed.exchange(replacement, std::memory_order_acq_rel);
  return previous != nullptr ? previous : &platformSystem();
}

}  // namespace s::os
