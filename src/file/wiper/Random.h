#pragma once

#include <cstdint>

namespace s::file::wiper {

// The process-wide pseudo-random generator shared by the fill methods, the
// temporary-file worker and the random renaming of paths.
//
// One 32-bit linear congruential state for the whole process (state = state ×
// 214013 + 2531011 mod 2^32; a draw is bits 16..30 of the new state), seeded
// from the wall clock in whole seconds at the first draw. Every call takes the
// steps it needs from the shared state in one serialised reservation, so two
// threads never receive the same step and a multi-draw result (random64, a
// fillRandom run) is made of consecutive steps. The values themselves are then
// computed outside the lock. Not for cryptographic use.
class Random {
 public:
  Random() = delete;

  // A value 0..32767 from one step. Any thread.
  static std::uint32_t random15();

  // A 64-bit value from six consecutive draws a..f: high half
  // (a << 30 | b << 15 | c) and low half (d << 30 | e << 15 | f), each half
  // cut to 32 bits. Any thread.
  static std::uint64_t random64();

  // Fills `length` bytes of `buffer` with pseudorandom bytes and returns
  // `buffer`. A null `buffer` makes a new C-heap block of `length` bytes
  // (freed by the caller with free(); null when that allocation fails or
  // `length` is 0). From 16 bytes on, whole 15-byte blocks come from eight
  // draws each (packed as one 120-bit little-endian number, first draw in
  // the lowest 15 bits); each remaining byte is the low 8 bits of one draw.
  // Never writes past `length`. Any thread.
  static std::uint8_t* fillRandom(std::uint32_t length, void* buffer);

  // Number of whole 15-byte blocks fillRandom writes for `length` bytes.
  static std::uint32_t blockCount(std::uint32_t length) {
    return length >= 16 ? (length - 1) / 15 : 0;
  }

  // Number of steps fillRandom takes for `length` bytes.
  static std::uint64_t stepCount(std::uint32_t length) {
    const std::uint32_t blocks = blockCount(length);
    return std::uint64_t{blocks} * 8 + (length - blocks * 15);
  }

  // Test support: sets the state and marks it seeded, so that a sequence can
  // be predicted. Call only while no other thread draws.
  static void seedForTest(std::uint32_t state);

  // Test support: the current state (seeding it first when needed).
  static std::uint32_t stateForTest();

  // The state `steps` steps after `state` (jump-ahead; O(log steps)).
  static std::uint32_t advance(std::uint32_t state, std::uint64_t steps);

  // The draw made by the step that leaves the generator in `state`.
  static std::uint32_t drawOf(std::uint32_t state) { return (state >> 16) & 0x7FFF; }

  static constexpr std::uint32_t kMultiplier = 214013;
  static constexpr std::uint32_t kIncrement = 2531011;

 private:
  // Reserves `steps` consecutive steps and returns the state before the first.
  static std::uint32_t reserve(std::uint64_t steps);
};

}  // namespace s::file::wiper
