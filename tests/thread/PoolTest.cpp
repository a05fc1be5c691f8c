#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "thread/EasyPooler.h"
#include "thread/Factory.h"
#include "thread/PointerStack.h"
#include "thread/Pooled.h"

namespace {

using s::thread::EasyPooler;

// Objects of a raw pool whose build, reset and disposal are counted.
struct Probe {
  int value = 0;
  std::atomic<bool> inUse{false};
};

struct Counters {
  std::atomic<int> built{0}, reset{0}, disposed{0};
};
Counters counters;

void* buildProbe() {
  ++counters.built;
  return new Probe();
}
void resetProbe(void* p) {
  ++counters.reset;
  static_cast<Probe*>(p)->value = 0;
}
void disposeProbe(void* p) {
  ++counters.disposed;
  delete static_cast<Probe*>(p);
}

class EasyPoolerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    counters.built = 0;
    counters.reset = 0;
    counters.disposed = 0;
  }
  static EasyPooler* makePool(int cap) {
    return new EasyPooler(cap, &buildProbe, &disposeProbe, &resetProbe);
  }
};

TEST_F(EasyPoolerTest, CapZeroNeverKeeps) {
  std::unique_ptr<EasyPooler> pool(makePool(0));
  for (int i = 0; i < 3; ++i) {
    void* p = pool->take();
    pool->giveBack(p);
  }
  EXPECT_EQ(counters.built, 3);
  EXPECT_EQ(counters.disposed, 3);
  EXPECT_EQ(counters.reset, 0);
  EXPECT_EQ(pool->getKeptCount(), 0u);
}

TEST_F(EasyPoolerTest, KeepsUpToCapAndHandsOutLastInFirstOut) {
  std::unique_ptr<EasyPooler> pool(makePool(1000));
  std::vector<void*> objects;
  for (int i = 0; i < 1001; ++i) objects.push_back(pool->take());
  for (int i = 0; i < 1001; ++i) {
    static_cast<Probe*>(objects[i])->value = i + 1;
    pool->giveBack(objects[i]);
  }
  EXPECT_EQ(pool->getKeptCount(), 1000u);
  EXPECT_EQ(counters.disposed, 1);  // the 1001st
  EXPECT_EQ(counters.reset, 1000);  // only kept objects are reset

  for (int i = 999; i >= 0; --i) {
    void* p = pool->take();
    ASSERT_EQ(p, objects[i]) << "take " << (999 - i);
    EXPECT_EQ(static_cast<Probe*>(p)->value, 0);  // reset on the way in
  }
  EXPECT_EQ(counters.built, 1001);
  void* fresh = pool->take();
  EXPECT_EQ(counters.built, 1002);
  EXPECT_EQ(counters.reset, 1000);  // nothing is reset on the way out
  objects.resize(1000);
  objects.push_back(fresh);
  for (void* p : objects) pool->giveBack(p);
  pool.reset();  // the destructor disposes of what is kept
  EXPECT_EQ(counters.disposed, counters.built);
}

TEST_F(EasyPoolerTest, DestroySlotAndNullGiveBack) {
  std::unique_ptr<EasyPooler> pool(makePool(10));
  void* slot = pool->generate();
  pool->destroy(&slot);
  EXPECT_EQ(slot, nullptr);
  EXPECT_EQ(pool->getKeptCount(), 1u);
  pool->destroy(&slot);  // empty slot
  pool->destroy(nullptr);
  pool->giveBack(nullptr);
  EXPECT_EQ(pool->getKeptCount(), 1u);
  EXPECT_EQ(counters.reset, 1);
}

TEST_F(EasyPoolerTest, CloseDisposesKeptAndStopsKeeping) {
  std::unique_ptr<EasyPooler> pool(makePool(10));
  void* a = pool->take();
  void* b = pool->take();
  pool->giveBack(a);
  pool->close();
  EXPECT_EQ(counters.disposed, 1);
  pool->giveBack(b);  // still usable after close: disposes at once
  EXPECT_EQ(counters.disposed, 2);
  EXPECT_EQ(pool->getMaxCount(), 0);
}

TEST_F(EasyPoolerTest, NewInstanceIsAnEmptyPoolOfTheSameKind) {
  std::unique_ptr<EasyPooler> pool(makePool(7));
  pool->giveBack(pool->take());
  std::unique_ptr<EasyPooler> copy(static_cast<EasyPooler*>(pool->newInstance()));
  EXPECT_EQ(copy->getMaxCount(), 7);
  EXPECT_EQ(copy->getKeptCount(), 0u);
  copy->giveBack(copy->take());
  EXPECT_EQ(counters.built, 2);
  EXPECT_EQ(std::u16string(copy->getClassName()), u"s_thread_EasyPooler");
}

// Pooled classes declared with the macro.
int nodesDeleted = 0;

class Node : public s::base::IObject, public virtual s::thread::IPoolable {
  VONQ_POOLED(Node, s::thread::kPoolCap)
 public:
  ~Node() override { ++nodesDeleted; }
  // Resetting gives the children back to the same pool, which enters the
  // pool's lock again on the same thread.
  void reset() override {
    for (Node*& child : children) {
      child->release();
      child = nullptr;
    }
    children.clear();
    text.clear();
  }
  const char16_t* getClassName() const override { return u"s_test_Node"; }
  std::vector<Node*> children;
  std::string text;
};

class Handle : public s::base::IObject, public s::thread::IPoolable {
  VONQ_POOLED(Handle, s::thread::kPoolCapNone)
 public:
  ~Handle() override { ++deleted; }
  void reset() override {}
  const char16_t* getClassName() const override { return u"s_test_Handle"; }
  static inline int deleted = 0;
};

TEST(Pooled, ReleaseResetsChildrenIntoTheSamePoolAndCreateReuses) {
  Node* root = Node::create();
  root->text = "root";
  for (int i = 0; i < 3; ++i) root->children.push_back(Node::create());
  const std::size_t keptBefore = Node::pool().getKeptCount();
  root->release();
  EXPECT_EQ(Node::pool().getKeptCount(), keptBefore + 4);
  Node* again = Node::create();
  EXPECT_EQ(again, root);  // last in, first out
  EXPECT_TRUE(again->text.empty());
  EXPECT_TRUE(again->children.empty());
  s::base::IObject* other = again->newInstance();
  ASSERT_NE(other, nullptr);
  EXPECT_EQ(std::u16string(other->getClassName()), u"s_test_Node");
  static_cast<Node*>(other)->release();
  again->release();
  EXPECT_EQ(nodesDeleted, 0);
}

TEST(Pooled, CapZeroClassIsDeletedAtRelease) {
  const int deletedBefore = Handle::deleted;
  Handle* h = Handle::create();
  h->release();
  EXPECT_EQ(Handle::deleted, deletedBefore + 1);
  EXPECT_EQ(Handle::pool().getKeptCount(), 0u);
}

TEST(Pooled, RecordPoolHandsOutZeroedRecords) {
  struct Tag {};
  auto& pool = s::thread::recordPool<Tag, 16>();
  EXPECT_EQ(pool.getMaxCount(), s::thread::kPoolCapRecords);
  auto* record = static_cast<unsigned char*>(pool.take());
  std::memset(record, 0xAB, 16);
  pool.giveBack(record);
  auto* again = static_cast<unsigned char*>(pool.take());
  ASSERT_EQ(again, record);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(again[i], 0) << i;
  pool.giveBack(again);
}

TEST_F(EasyPoolerTest, EightThreadsNeverShareAnObject) {
  std::unique_ptr<EasyPooler> pool(makePool(16));
  std::atomic<int> shared{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([&] {
      std::vector<Probe*> mine;
      for (int round = 0; round < 2000; ++round) {
        auto* p = static_cast<Probe*>(pool->take());
        if (p->inUse.exchange(true)) ++shared;
        mine.push_back(p);
        if (mine.size() == 4 || round % 7 == 0) {
          for (Probe* q : mine) {
            q->inUse = false;
            pool->giveBack(q);
          }
          mine.clear();
        }
      }
      for (Probe* q : mine) {
        q->inUse = false;
        pool->giveBack(q);
      }
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(shared, 0);
  EXPECT_LE(pool->getKeptCount(), 16u);
  EXPECT_EQ(counters.built - counters.disposed, static_cast<int>(pool->getKeptCount()));
}

// ---- PoolerBase through Factory -------------------------------------------

// Records are malloc'ed blocks whose first word says the size they count for.
class SizedFactory : public s::thread::Factory {
 public:
  ~SizedFactory() override { clear(); }
  s::base::IObject* newInstance() override { return new SizedFactory(); }
  void* generate() override {
    ++generated;
    return std::calloc(1, sizeof(std::uint32_t));
  }
  std::uint32_t sizeOf(void* object) override { return *static_cast<std::uint32_t*>(object); }
  void resetObject(void*) override { ++resets; }
  void destroyObject(void** slot) override {
    ++destroyed;
    std::free(*slot);
    *slot = nullptr;
  }
  void* make(std::uint32_t size) {
    void* p = take();
    *static_cast<std::uint32_t*>(p) = size;
    return p;
  }
  int generated = 0, resets = 0, destroyed = 0;
};

TEST(PoolerBase, WithoutSizeTrackingKeepsWhileAtMostTheCapBeforeAppending) {
  SizedFactory factory;
  factory.setMaxCount(2);
  std::vector<void*> held;
  for (int i = 0; i < 4; ++i) held.push_back(factory.make(5000));
  for (void* p : held) factory.giveBack(p);
  EXPECT_EQ(factory.getKeptCount(), 3u);
  EXPECT_EQ(factory.destroyed, 1);
  EXPECT_EQ(factory.getTotalSize(), 0u);
  EXPECT_EQ(std::u16string(factory.getClassName()), u"s_thread_Factory");
}

TEST(PoolerBase, SizeTrackingLimitsItemAndTotal) {
  struct Case {
    const char* name;
    std::uint32_t maxItemSize;
    std::vector<std::uint32_t> sizes;  // given back in this order, sizes asked from sizeOf
    std::size_t kept;
    std::uint32_t total;
  };
  const Case cases[] = {
      {"item at the limit", 1024, {1024}, 1, 1024},
      {"item above the limit", 1024, {1025}, 0, 0},
      {"total reaches the limit", 1024, std::vector<std::uint32_t>(101, 1024), 100, 102400},
      {"total would pass the limit", 102400, {102000, 1, 1000, 400, 1}, 3, 102002},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SizedFactory factory;
    factory.setSizeTracking(true);
    factory.setMaxItemSize(c.maxItemSize);
    std::vector<void*> held;
    for (std::uint32_t size : c.sizes) held.push_back(factory.make(size));
    for (void* p : held) factory.giveBack(p);
    EXPECT_EQ(factory.getKeptCount(), c.kept);
    EXPECT_EQ(factory.getTotalSize(), c.total);
    EXPECT_EQ(factory.destroyed, static_cast<int>(c.sizes.size() - c.kept));
  }
}

TEST(PoolerBase, TakeLowersTheTotalByTheSizeAnObjectWasKeptWith) {
  SizedFactory factory;
  factory.setSizeTracking(true);
  void* a = factory.make(100);
  void* b = factory.make(100);
  factory.giveBack(a);      // counted as sizeOf: 100
  factory.giveBack(b, 10);  // counted as the given 10
  EXPECT_EQ(factory.getTotalSize(), 110u);
  EXPECT_EQ(factory.take(), b);
  EXPECT_EQ(factory.getTotalSize(), 100u);
  void* slot = b;
  factory.destroy(&slot);  // IDestructor face: give back with sizeOf
  EXPECT_EQ(slot, nullptr);
  EXPECT_EQ(factory.getTotalSize(), 200u);
  std::free(factory.take());
  std::free(factory.take());
  EXPECT_EQ(factory.getTotalSize(), 0u);
  EXPECT_EQ(factory.resets, 3);
}

TEST(PointerStack, GrowsByTheArrayRule) {
  const std::pair<std::size_t, std::size_t> steps[] = {
      {0, 100},
      {99, 100},
      {100, 300},
      {9999999, 29999997},
      {10000000, 20000000},
      {49999999, 99999998},
      {50000000, 75000000},
      {99999999, 149999998},
      {100000000, 120000000},
  };
  for (const auto& [from, to] : steps) {
    EXPECT_EQ(s::thread::PointerStack::grownCapacity(from), to) << from;
  }
}

}  // namespace
