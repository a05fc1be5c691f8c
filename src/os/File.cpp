#include "os/File.h"

#include <algorithm>

#include "os/FsError.h"

namespace s::os {

namespace {

// The first step of a growth, and the smallest step tried before a full
// volume is accepted as full.
constexpr std::uint64_t kFirstReserveStep = 256u << 20;
constexpr std::uint64_t kLastReserveStep = 4096;

bool stopped(const std::atomic<std::uint8_t>* stop) {
  return stop != nullptr && stop->load(std::memory_order_relaxed) != 0;
}

}  // namespace

bool File::reserve(std::uint64_t length, const std::atomic<std::uint8_t>* stop,
                   std::uint64_t& reached) {
  reached = 0;
  if (!size(reached)) return false;
  std::uint64_t step = kFirstReserveStep;
  while (reached < length) {
    if (stopped(stop)) return false;
    const std::uint64_t next = reached + std::min(step, length - reached);
    if (setEndOfFile(next)) {
      reached = next;
    } else if (lastFsError() != FsError::NoSpace || step <= kLastReserveStep) {
      return false;
    } else {
      step /= 2;
    }
  }
  return true;
}

}  // namespace s::os
