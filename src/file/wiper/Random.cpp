#include "file/wiper/Random.h"

#include <bit>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "os/Cpu.h"

namespace s::file::wiper {

static_assert(std::endian::native == std::endian::little,
              "the 15-byte blocks are stored as little-endian words");

namespace {

struct SharedState {
  std::mutex lock;
  std::uint32_t state = 0;
  bool seeded = false;
};

SharedState& shared() {
  static SharedState instance;
  return instance;
}

// Seeds from the wall clock on first use. Called with the lock held.
void seedIfNeeded(SharedState& s) {
  if (s.seeded) return;
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  s.state =
      static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::seconds>(now).count());
  s.seeded = true;
}

// One step of the recurrence: x -> a·x + c (mod 2^32).
struct Affine {
  std::uint32_t a;
  std::uint32_t c;
  std::uint32_t apply(std::uint32_t x) const { return a * x + c; }
  // The map "first this, then `next`".
  Affine then(const Affine& next) const { return {next.a * a, next.a * c + next.c}; }
};

constexpr Affine kStep{Random::kMultiplier, Random::kIncrement};

Affine power(std::uint64_t steps) {
  Affine result{1, 0};
  Affine square = kStep;
  while (steps != 0) {
    if (steps & 1) result = result.then(square);
    square = square.then(square);
    steps >>= 1;
  }
  return result;
}

constexpr int kLanes = 8;  // draws per 15-byte block

// Writes `blocks` 15-byte blocks to `out` from the steps that follow `state`.
// Each block is stored as a 16-byte write whose last byte the next block (or
// the tail) overwrites, so the caller guarantees one spare byte after the
// last block. Lane j holds the state of draw j of the current block; the
// lanes move eight steps per block independently of each other, which lets
// the compiler run them side by side in vector registers.
[[gnu::always_inline]] inline void fillBlocksBody(std::uint8_t* out, std::uint32_t blocks,
                                                  std::uint32_t state, Affine jump) {
  std::uint32_t lane[kLanes];
  for (int j = 0; j < kLanes; ++j) {
    state = kStep.apply(state);
    lane[j] = state;
  }
  for (std::uint32_t b = 0; b < blocks; ++b) {
    std::uint64_t r[kLanes];
    for (int j = 0; j < kLanes; ++j) r[j] = Random::drawOf(lane[j]);
    const std::uint64_t low = r[0] | r[1] << 15 | r[2] << 30 | r[3] << 45 | r[4] << 60;
    const std::uint64_t high = r[4] >> 4 | r[5] << 11 | r[6] << 26 | r[7] << 41;
    std::memcpy(out, &low, 8);
    std::memcpy(out + 8, &high, 8);
    out += 15;
    for (int j = 0; j < kLanes; ++j) lane[j] = jump.apply(lane[j]);
  }
}

// The same loop built twice: for the baseline instruction set and for
// processors with AVX2, chosen at run time (the AVX2 build is about twice as
// fast on a full 10 MB chunk).
void fillBlocksBaseline(std::uint8_t* out, std::uint32_t blocks, std::uint32_t state, Affine jump) {
  fillBlocksBody(out, blocks, state, jump);
}

// Without an AVX2 build (VONQ_TARGET_AVX2 empty) cpuHasAvx2() is false and
// the baseline runs.
VONQ_TARGET_AVX2 void fillBlocksAvx2(std::uint8_t* out, std::uint32_t blocks, std::uint32_t state,
                                     Affine jump) {
  fillBlocksBody(out, blocks, state, jump);
}

void fillBlocks(std::uint8_t* out, std::uint32_t blocks, std::uint32_t state) {
  (s::os::cpuHasAvx2() ? fillBlocksAvx2 : fillBlocksBaseline)(out, blocks, state, power(kLanes));
}

}  // namespace

std::uint32_t Random::advance(std::uint32_t state, std::uint64_t steps) {
  return power(steps).apply(state);
}

std::uint32_t Random::reserve(std::uint64_t steps) {
  SharedState& s = shared();
  std::lock_guard<std::mutex> guard(s.lock);
  seedIfNeeded(s);
  const std::uint32_t before = s.state;
  s.state = steps == 1 ? kStep.apply(before) : advance(before, steps);
  return before;
}

std::uint32_t Random::random15() {
  return drawOf(kStep.apply(reserve(1)));
}

std::uint64_t Random::random64() {
  std::uint32_t state = reserve(6);
  std::uint32_t draw[6];
  for (std::uint32_t& d : draw) {
    state = kStep.apply(state);
    d = drawOf(state);
  }
  const std::uint32_t high = draw[0] << 30 | draw[1] << 15 | draw[2];
  const std::uint32_t low = draw[3] << 30 | draw[4] << 15 | draw[5];
  return std::uint64_t{high} << 32 | low;
}

std::uint8_t* Random::fillRandom(std::uint32_t length, void* buffer) {
  auto* out = static_cast<std::uint8_t*>(buffer);
  if (out == nullptr) {
    if (length == 0) return nullptr;
    out = static_cast<std::uint8_t*>(std::malloc(length));
    if (out == nullptr) return nullptr;
  }
  const std::uint32_t blocks = blockCount(length);
  std::uint32_t state = reserve(stepCount(length));
  fillBlocks(out, blocks, state);
  state = advance(state, std::uint64_t{blocks} * kLanes);
  for (std::uint32_t i = blocks * 15; i < length; ++i) {
    state = kStep.apply(state);
    out[i] = static_cast<std::uint8_t>(drawOf(state));
  }
  return out;
}

void Random::seedForTest(std::uint32_t state) {
  SharedState& s = shared();
  std::lock_guard<std::mutex> guard(s.lock);
  s.state = state;
  s.seeded = true;
}

std::uint32_t Random::stateForTest() {
  SharedState& s = shared();
  std::lock_guard<std::mutex> guard(s.lock);
  seedIfNeeded(s);
  return s.state;
}

}  // namespace s::file::wiper
