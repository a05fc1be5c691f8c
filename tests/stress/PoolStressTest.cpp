#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

#include "col/_array/ArrayP.h"
#include "col/_array/ArrayU32.h"
#include "map/Map.h"
#include "map/MapTable.h"
#include "str/strarray/StrArray.h"
#include "str/strbuffer/StrBuffer.h"

namespace {

using s::col::_array::ArrayP;
using s::col::_array::ArrayU32;
using s::map::Map;
using s::map::MapTable;
using s::str::strarray::StrArray;
using s::str::strbuffer::StrBuffer;

constexpr int kThreads = 8;
constexpr int kRounds = 100'000;

// One round of one thread: takes strings, lists, arrays and table entries
// from the shared pools, marks them as its own, checks that nobody else
// touched them, and gives everything back. Returns false on the first
// sign of an object handed to two threads or coming back dirty.
bool oneRound(std::uint32_t mark) {
  StrBuffer* text = StrBuffer::create();
  StrArray* list = StrArray::create();
  ArrayU32* numbers = ArrayU32::create();
  ArrayP* pointers = ArrayP::create();
  MapTable* table = MapTable::create();
  Map* set = Map::create();
  bool clean = text->length() == 0 && list->length() == 0 && numbers->capacity() == 0 &&
               pointers->length() == 0 && pointers->getDisposer() == nullptr &&
               table->bucketCount() == 0 && set->size() == 0;

  text->appendNumber(mark);
  numbers->add(mark);
  numbers->add(~mark);
  pointers->add(numbers);
  list->add(text->clone());
  list->addText(u"x");
  clean = clean && table->put(text, numbers) && set->add(text) && set->add(list->get(1));

  clean = clean && numbers->get(0) == mark && numbers->get(1) == ~mark &&
          pointers->get(0) == numbers && table->get(text) == numbers && set->size() == 2 &&
          list->get(0)->equals(text) && list->length() == 2;

  set->release();    // gives its entry records back; keys stay ours
  table->release();  // likewise
  pointers->release();
  numbers->release();
  list->release();  // gives both of its strings back
  text->release();
  return clean;
}

TEST(PoolStress, EightThreadsTakeAndGiveBackWithoutMixUps) {
  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t, &failures] {
      for (int r = 0; r < kRounds; ++r) {
        if (!oneRound(static_cast<std::uint32_t>(t * kRounds + r))) {
          failures.fetch_add(1);
          return;
        }
      }
    });
  }
  for (std::thread& th : threads) th.join();
  EXPECT_EQ(failures.load(), 0);

  // The pools keep no more than their caps.
  EXPECT_LE(StrBuffer::pool().getKeptCount(), 1000u);
  EXPECT_LE(StrArray::pool().getKeptCount(), 1000u);
  EXPECT_LE(MapTable::pool().getKeptCount(), 1000u);
  EXPECT_GE(StrBuffer::pool().getKeptCount(), 3u);  // this test's strings came back
}

}  // namespace
