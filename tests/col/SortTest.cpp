#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "col/_array/ArrayP.h"

namespace {

using s::col::_array::ArrayP;

struct Item {
  int key;
  int seq;  // position before sorting
};

int byKey(void* a, void* b, void* calls) {
  ++*static_cast<int*>(calls);
  const int x = static_cast<Item*>(a)->key;
  const int y = static_cast<Item*>(b)->key;
  return x < y ? -1 : (x > y ? 1 : 0);
}

// Sorting must match std::stable_sort: equal keys keep their order, in both
// directions, on both sides of the insertion-sort threshold and across
// merges.
TEST(PointerSort, MatchesAStableSortForManySizesAndKeyRanges) {
  std::mt19937 random(12345);
  const struct {
    std::uint32_t size;
    int keys;  // keys drawn from [0, keys): few keys mean many ties
  } cases[] = {{0, 1}, {1, 1}, {2, 2}, {6, 3}, {7, 3}, {13, 4}, {100, 5}, {1000, 1000}, {4097, 7}};
  for (const auto& c : cases) {
    for (bool descending : {false, true}) {
      std::vector<Item> items(c.size);
      for (std::uint32_t i = 0; i < c.size; ++i) {
        items[i] = {static_cast<int>(random() % c.keys), static_cast<int>(i)};
      }
      ArrayP a;
      for (Item& it : items) a.add(&it);
      int calls = 0;
      ASSERT_TRUE(a.sort(&byKey, &calls, descending));

      std::vector<Item> expected = items;
      std::stable_sort(expected.begin(), expected.end(), [&](const Item& x, const Item& y) {
        return descending ? x.key > y.key : x.key < y.key;
      });
      ASSERT_EQ(a.length(), c.size);
      for (std::uint32_t i = 0; i < c.size; ++i) {
        const Item* got = a.getAs<Item>(i);
        ASSERT_EQ(got->key, expected[i].key) << "size " << c.size << " at " << i;
        ASSERT_EQ(got->seq, expected[i].seq) << "size " << c.size << " at " << i;
      }
    }
  }
}

TEST(PointerSort, SortedAndAllEqualInputsComeBackUnchanged) {
  for (bool allEqual : {false, true}) {
    std::vector<Item> items(500);
    for (int i = 0; i < 500; ++i) items[i] = {allEqual ? 3 : i, i};
    ArrayP a;
    for (Item& it : items) a.add(&it);
    int calls = 0;
    ASSERT_TRUE(a.sort(&byKey, &calls, false));
    for (std::uint32_t i = 0; i < 500; ++i) EXPECT_EQ(a.get(i), &items[i]);
    // Halves found in order are copied without merging: linear work.
    EXPECT_LT(calls, 1000) << (allEqual ? "all equal" : "sorted");
  }
}

TEST(PointerSort, RefusesMissingArguments) {
  void* one[2] = {nullptr, nullptr};
  int calls = 0;
  EXPECT_FALSE(ArrayP::sortPointers(nullptr, 2, &byKey, &calls, false));
  EXPECT_FALSE(ArrayP::sortPointers(one, 2, nullptr, &calls, false));
  EXPECT_TRUE(ArrayP::sortPointers(one, 1, nullptr, &calls, false));  // nothing to order
}

}  // namespace
