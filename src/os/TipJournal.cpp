#include "os/TipJournal.h"

#include <atomic>

namespace s::os {

namespace {
std::atomic<TipJournal*> installed{nullptr};
}  // namespace

TipJournal& tipJournal() {
  TipJournal* current = installed.load(std::memory_order_acquire);
  return current != nullptr ? *current : platformTipJournal();
}

TipJournal* setTipJournal(TipJournal* replacement) {
  TipJournal* previous = installed.exchange(replacement, std::memory_order_acq_rel);
  return previous != nullptr ? previous : &platformTipJournal();
}

}  // namespace s::os
