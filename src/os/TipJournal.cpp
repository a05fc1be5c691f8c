#include "os/TipJournal.h"

#include <atomic>

namespace s::os {

namespace {
std::atomic<TipJournal*> installed{nullptr};
}  // namespace

// splitmix64: each 64-bit step gives eight bytes, low byte first.
void tipPattern(std::uint64_t seed, std::uint8_t* out, std::size_t count) {
  std::uint64_t state = seed;
  for (std::size_t i = 0; i < count; i += 8) {
    state += 0x9E3779B97F4A7C15ull;
    std::uint64_t z = state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    for (std::size_t k = 0; k < 8 && i + k < count; ++k) {
      out[i + k] = static_cast<std::uint8_t>(z >> (8 * k));
    }
  }
}

TipJournal& tipJournal() {
  TipJournal* current = installed.load(std::memory_order_acquire);
  return current != nullptr ? *current : platformTipJournal();
}

TipJournal* setTipJournal(TipJournal* replacement) {
  TipJournal* previous = installed.exchange(replacement, std::memory_order_acq_rel);
  return previous != nullptr ? previous : &platformTipJournal();
}

}  // namespace s::os
