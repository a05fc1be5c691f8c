#include "os/CodePage.h"

#include <atomic>

namespace s::os {

namespace {
std::atomic<CodePage*> installed{nullptr};
}

CodePage& codePage() {
  CodePage* current = installed.load(std::memory_order_acquire);
  return current != nullptr ? *current : platformCodePage();
}

CodePage* setCodePage(CodePage* replacement) {
  CodePage* previous = installed.exchange(replacement, std::memory_order_acq_rel);
  return previous != nullptr ? previous : &platformCodePage();
}

}  // namespace s::os
