#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "base/IDestructor.h"
#include "col/_array/ArrayP.h"
#include "map/Map.h"
#include "map/MapTable.h"
#include "str/strbuffer/StrBuffer.h"

namespace {

using s::map::Map;
using s::map::MapTable;
using s::str::strbuffer::StrBuffer;

// Counts what it is handed, and gives strings back to their pool so that
// nothing leaks.
class CountingStrDisposer : public s::base::IDestructor {
 public:
  void destroy(void** slot) override {
    if (slot == nullptr || *slot == nullptr) return;
    ++calls[*slot];
    static_cast<StrBuffer*>(*slot)->release();
    *slot = nullptr;
  }
  int total() const {
    int n = 0;
    for (const auto& [p, c] : calls) n += c;
    return n;
  }
  std::map<void*, int> calls;
};

// Strings "k0", "k1", ... owned by the fixture.
class Keys {
 public:
  explicit Keys(int n) {
    for (int i = 0; i < n; ++i) {
      keys_.push_back(StrBuffer::fromText(std::u16string(u"k" + toU16(i)).c_str()));
    }
  }
  ~Keys() {
    for (StrBuffer* k : keys_) k->release();
  }
  StrBuffer* operator[](int i) const { return keys_[i]; }

 private:
  static std::u16string toU16(int i) {
    std::u16string out;
    for (char c : std::to_string(i)) out += static_cast<char16_t>(c);
    return out;
  }
  std::vector<StrBuffer*> keys_;
};

TEST(MapTableGrowth, The106thPutGrowsTo431AndEveryKeyIsStillFound) {
  Keys keys(300);
  MapTable* table = MapTable::create();
  EXPECT_EQ(table->bucketCount(), 0u);
  ASSERT_TRUE(table->put(keys[0], keys[0]));
  EXPECT_EQ(table->bucketCount(), 211u);
  for (int i = 1; i < 105; ++i) ASSERT_TRUE(table->put(keys[i], keys[i]));
  EXPECT_EQ(table->bucketCount(), 211u);  // 105 entries: not yet
  ASSERT_TRUE(table->put(keys[105], keys[105]));
  EXPECT_EQ(table->bucketCount(), 431u);
  EXPECT_EQ(table->sizeClass(), 1u);
  for (int i = 106; i < 300; ++i) ASSERT_TRUE(table->put(keys[i], keys[i]));
  EXPECT_EQ(table->bucketCount(), 863u);  // 215 entries reached half of 431
  EXPECT_EQ(table->size(), 300u);
  for (int i = 0; i < 300; ++i) {
    MapTable::Entry** slot = table->findSlot(keys[i]->hashCode(), keys[i]);
    ASSERT_NE(slot, nullptr);
    ASSERT_NE(*slot, nullptr) << i;
    EXPECT_EQ((*slot)->value, keys[i]) << i;
  }
  table->release();  // no disposers: the keys stay the fixture's
}

TEST(MapTableGrowth, EntriesListEveryEntryAndChainsKeepInsertionOrder) {
  Keys keys(203);
  MapTable* table = MapTable::create();
  // Three keys forced into one bucket by their hash: the chain keeps the
  // order in which they were put, through growth as well.
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(table->put(7u, keys[i], nullptr));
  for (int i = 3; i < 203; ++i) ASSERT_TRUE(table->put(keys[i], nullptr));
  ASSERT_EQ(table->bucketCount(), 431u);
  s::col::_array::ArrayP* list = table->entries();
  ASSERT_EQ(list->length(), 203u);
  std::vector<s::base::IObject*> sharedBucket;
  for (std::uint32_t i = 0; i < list->length(); ++i) {
    const auto* e = list->getAs<MapTable::Entry>(i);
    if (e->hash == 7u) sharedBucket.push_back(e->key);
  }
  EXPECT_EQ(sharedBucket, (std::vector<s::base::IObject*>{keys[0], keys[1], keys[2]}));
  list->release();
  table->release();
}

TEST(MapTableKeys, DuplicatesAreRefusedAndCaseFoldingIsOptional) {
  StrBuffer* upper = StrBuffer::fromText(u"Key");
  StrBuffer* lower = StrBuffer::fromText(u"KEY");
  int first = 1, second = 2;
  const struct {
    bool ignoreCase;
    bool secondAdded;
  } cases[] = {{false, true}, {true, false}};
  for (const auto& c : cases) {
    MapTable* table = MapTable::create();
    table->setIgnoreCase(c.ignoreCase);
    ASSERT_TRUE(table->put(upper, &first));
    EXPECT_FALSE(table->put(upper, &second));  // same key: the first value stays
    EXPECT_EQ(table->get(upper), &first);
    EXPECT_EQ(table->put(lower, &second), c.secondAdded);
    EXPECT_EQ(table->get(lower), c.secondAdded ? &second : &first);
    EXPECT_EQ(table->size(), c.secondAdded ? 2u : 1u);
    table->release();

    Map* set = Map::create();
    set->setIgnoreCase(c.ignoreCase);
    ASSERT_TRUE(set->add(upper));
    EXPECT_FALSE(set->add(upper));
    EXPECT_EQ(set->add(lower), c.secondAdded);
    EXPECT_TRUE(set->contains(lower));
    set->release();
  }
  MapTable* empty = MapTable::create();
  EXPECT_EQ(empty->findSlot(0, upper), nullptr);  // no buckets yet
  EXPECT_EQ(empty->get(upper), nullptr);
  EXPECT_FALSE(empty->put(static_cast<StrBuffer*>(nullptr), &first));
  empty->release();
  upper->release();
  lower->release();
}

TEST(MapTableDisposal, ClearEntriesLeavesKeysAndValuesAlone) {
  CountingStrDisposer disposer;
  MapTable* table = MapTable::create();
  table->setDisposers(&disposer, &disposer, &disposer, &disposer);
  Keys keys(150);
  for (int i = 0; i < 150; ++i) table->put(keys[i], nullptr);
  const std::uint32_t buckets = table->bucketCount();
  table->clearEntries();
  EXPECT_EQ(disposer.total(), 0);
  EXPECT_EQ(table->size(), 0u);
  EXPECT_EQ(table->bucketCount(), buckets);
  for (int i = 0; i < 150; ++i) {
    MapTable::Entry** slot = table->findSlot(keys[i]->hashCode(), keys[i]);
    ASSERT_NE(slot, nullptr);
    EXPECT_EQ(*slot, nullptr);
  }
  EXPECT_EQ(keys[149]->view(), u"k149");  // still alive
  table->release();
}

// Reset uses the reset disposers, destruction the destruction disposers;
// each key and value goes through its disposer exactly once.
TEST(MapTableDisposal, ResetAndDestructionUseTheirOwnDisposers) {
  CountingStrDisposer onReset, onDestroy;
  auto fill = [](auto& table, int n) {
    for (int i = 0; i < n; ++i) {
      const char16_t name[] = {u'k', static_cast<char16_t>(u'0' + i), 0};
      table.put(StrBuffer::fromText(name), StrBuffer::fromText(u"value"));
    }
  };
  MapTable* pooled = MapTable::create();
  pooled->setDisposers(&onReset, &onDestroy, &onReset, &onDestroy);
  fill(*pooled, 3);
  pooled->release();
  EXPECT_EQ(onReset.total(), 6);
  EXPECT_EQ(onReset.calls.size(), 6u);
  EXPECT_EQ(onDestroy.total(), 0);

  MapTable* again = MapTable::create();  // comes back without disposers
  again->put(StrBuffer::fromText(u"x"), nullptr);
  s::col::_array::ArrayP* list = again->entries();
  void* key = list->getAs<MapTable::Entry>(0)->keyPtr;
  list->release();
  again->release();
  EXPECT_EQ(onReset.total(), 6);
  static_cast<StrBuffer*>(key)->release();

  {
    MapTable local(&onReset, &onDestroy, &onReset, &onDestroy);
    fill(local, 2);
  }
  EXPECT_EQ(onDestroy.total(), 4);
  EXPECT_EQ(onReset.total(), 6);

  {
    Map set(&onReset, &onDestroy);
    set.add(StrBuffer::fromText(u"a"));
    set.add(StrBuffer::fromText(u"b"));
  }
  EXPECT_EQ(onDestroy.total(), 6);
}

}  // namespace
