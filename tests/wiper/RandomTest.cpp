#include "file/wiper/Random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {

using s::file::wiper::Random;

// A plain, step-by-step model of the generator to compare against.
struct Model {
  std::uint32_t state;
  std::uint32_t draw() {
    state = state * 214013u + 2531011u;
    return (state >> 16) & 0x7FFF;
  }
  std::uint64_t random64() {
    std::uint64_t v[6];
    for (auto& x : v) x = draw();
    const std::uint32_t high = static_cast<std::uint32_t>(v[0] << 30 | v[1] << 15 | v[2]);
    const std::uint32_t low = static_cast<std::uint32_t>(v[3] << 30 | v[4] << 15 | v[5]);
    return std::uint64_t{high} << 32 | low;
  }
  // Whole 15-byte blocks from eight draws, then one draw per remaining byte.
  std::vector<std::uint8_t> fill(std::uint32_t length, std::uint32_t* blocksOut = nullptr,
                                 std::uint32_t* singlesOut = nullptr) {
    std::vector<std::uint8_t> out;
    const std::uint32_t blocks = length >= 16 ? (length - 1) / 15 : 0;
    for (std::uint32_t b = 0; b < blocks; ++b) {
      std::uint8_t bits[120] = {};
      for (int j = 0; j < 8; ++j) {
        const std::uint32_t r = draw();
        for (int k = 0; k < 15; ++k) bits[j * 15 + k] = (r >> k) & 1;
      }
      for (int byte = 0; byte < 15; ++byte) {
        std::uint8_t v = 0;
        for (int k = 0; k < 8; ++k) v |= bits[byte * 8 + k] << k;
        out.push_back(v);
      }
    }
    std::uint32_t singles = 0;
    while (out.size() < length) {
      out.push_back(static_cast<std::uint8_t>(draw()));
      ++singles;
    }
    if (blocksOut) *blocksOut = blocks;
    if (singlesOut) *singlesOut = singles;
    return out;
  }
};

TEST(Random, Random15FollowsTheRecurrenceAndStaysIn15Bits) {
  Random::seedForTest(0xDEADBEEF);
  Model model{0xDEADBEEF};
  for (int i = 0; i < 1000; ++i) {
    const std::uint32_t v = Random::random15();
    ASSERT_EQ(v, model.draw()) << "draw " << i;
    ASSERT_LE(v, 32767u);
  }
  EXPECT_EQ(Random::stateForTest(), model.state);
}

TEST(Random, Random64PacksSixDrawsIntoTwoIndependentHalves) {
  // Among many seeds some low halves have bit 31 set; the high half must
  // still be exactly a<<30|b<<15|c cut to 32 bits, never polluted by the low.
  int lowWithBit31 = 0;
  for (std::uint32_t seed = 1; seed < 4000; seed += 7) {
    Random::seedForTest(seed);
    Model model{seed};
    const std::uint64_t got = Random::random64();
    ASSERT_EQ(got, model.random64()) << "seed " << seed;
    Model parts{seed};
    std::uint32_t d[6];
    for (auto& x : d) x = parts.draw();
    EXPECT_EQ(static_cast<std::uint32_t>(got >> 32), d[0] << 30 | d[1] << 15 | d[2]);
    lowWithBit31 += (got >> 31) & 1;
  }
  EXPECT_GT(lowWithBit31, 0) << "no case exercised a low half with bit 31 set";
}

TEST(Random, FillRandomSplitsIntoBlocksAndSingleDraws) {
  struct Case {
    std::uint32_t length;
    std::uint32_t blocks;
    std::uint32_t singles;
  };
  const Case cases[] = {
      {0, 0, 0},  {1, 0, 1},   {15, 0, 15}, {16, 1, 1},     {17, 1, 2},     {30, 1, 15},
      {31, 2, 1}, {45, 2, 15}, {46, 3, 1},  {4096, 273, 1}, {1000, 66, 10}, {10567680, 704511, 15},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.length);
    const std::uint32_t seed = 0x1234567u + c.length;
    Model model{seed};
    std::uint32_t blocks = 0;
    std::uint32_t singles = 0;
    const std::vector<std::uint8_t> expected = model.fill(c.length, &blocks, &singles);
    EXPECT_EQ(Random::blockCount(c.length), c.blocks);
    EXPECT_EQ(blocks, c.blocks);
    EXPECT_EQ(singles, c.singles);

    // Guard bytes on both sides must survive: the 16-byte stores of the
    // blocks must never pass the end of the requested length.
    const std::uint8_t guard = 0xA5;
    std::vector<std::uint8_t> buffer(c.length + 32, guard);
    Random::seedForTest(seed);
    Random::fillRandom(c.length, buffer.data() + 16);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), buffer.begin() + 16));
    EXPECT_TRUE(
        std::all_of(buffer.begin(), buffer.begin() + 16, [&](auto b) { return b == guard; }));
    EXPECT_TRUE(std::all_of(buffer.end() - 16, buffer.end(), [&](auto b) { return b == guard; }));
    EXPECT_EQ(Random::stateForTest(), model.state) << "steps taken differ";
  }
}

TEST(Random, FillRandomWithoutBufferAllocatesOne) {
  Random::seedForTest(99);
  Model model{99};
  std::uint8_t* made = Random::fillRandom(40, nullptr);
  ASSERT_NE(made, nullptr);
  const std::vector<std::uint8_t> expected = model.fill(40);
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), made));
  std::free(made);
}

TEST(Random, JumpAheadMatchesSteppingOneByOne) {
  for (std::uint64_t steps : {0ull, 1ull, 2ull, 8ull, 1000ull, 5636088ull}) {
    Model model{77};
    for (std::uint64_t i = 0; i < steps; ++i) model.draw();
    EXPECT_EQ(Random::advance(77, steps), model.state) << steps;
  }
}

// Two threads drawing at once: every step goes to exactly one caller. The
// draws of both together are the model's sequence (as a multiset) and the
// shared state moved by the sum of the steps taken.
TEST(Random, ConcurrentDrawsNeverShareAStep) {
  constexpr int kDraws = 200000;
  const std::uint32_t seed = 4242;
  Random::seedForTest(seed);
  std::vector<std::uint32_t> a;
  std::vector<std::uint32_t> b;
  auto drawInto = [](std::vector<std::uint32_t>* out) {
    out->reserve(kDraws);
    for (int i = 0; i < kDraws; ++i) out->push_back(Random::random15());
  };
  std::thread ta(drawInto, &a);
  std::thread tb(drawInto, &b);
  ta.join();
  tb.join();

  Model model{seed};
  std::vector<std::uint32_t> expected(2 * kDraws);
  for (auto& v : expected) v = model.draw();
  std::vector<std::uint32_t> got = a;
  got.insert(got.end(), b.begin(), b.end());
  std::sort(got.begin(), got.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(got, expected);
  EXPECT_EQ(Random::stateForTest(), model.state);
}

// Runs of many steps (fillRandom) taken concurrently with single draws: each
// run is a contiguous stretch of the sequence, and no two runs overlap.
TEST(Random, ConcurrentFillsTakeContiguousDisjointRuns) {
  constexpr int kFills = 300;
  constexpr std::uint32_t kLength = 31;  // two blocks and one single: 17 steps
  constexpr int kSingles = 2000;
  const std::uint32_t seed = 31337;
  Random::seedForTest(seed);
  std::vector<std::vector<std::uint8_t>> fills(kFills, std::vector<std::uint8_t>(kLength));
  std::thread filler([&] {
    for (auto& f : fills) Random::fillRandom(kLength, f.data());
  });
  std::thread drawer([] {
    for (int i = 0; i < kSingles; ++i) Random::random15();
  });
  filler.join();
  drawer.join();

  const std::uint64_t total = kFills * Random::stepCount(kLength) + kSingles;
  EXPECT_EQ(Random::stateForTest(), Random::advance(seed, total));

  // Locate each fill in the sequence by its starting step.
  std::vector<bool> used(total, false);
  for (const auto& f : fills) {
    bool found = false;
    for (std::uint64_t start = 0; start + Random::stepCount(kLength) <= total && !found; ++start) {
      Model model{Random::advance(seed, start)};
      if (model.fill(kLength) != f) continue;
      for (std::uint64_t k = start; k < start + Random::stepCount(kLength); ++k) {
        ASSERT_FALSE(used[k]) << "step " << k << " given twice";
        used[k] = true;
      }
      found = true;
    }
    ASSERT_TRUE(found) << "a fill is not a contiguous run of the sequence";
  }
}

}  // namespace
