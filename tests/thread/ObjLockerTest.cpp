#include <gtest/gtest.h>

#include <cstdlib>
#include <future>
#include <mutex>

#include "base/IDestructor.h"
#include "thread/ObjLocker.h"

namespace {

using s::thread::ObjLocker;

bool lockableElsewhere(ObjLocker& locker) {
  return std::async(std::launch::async,
                    [&] {
                      if (!locker.tryLock()) return false;
                      locker.unlock();
                      return true;
                    })
      .get();
}

TEST(ObjLocker, IsReentrantAndExcludesOtherThreads) {
  ObjLocker locker;
  locker.lock();
  {
    std::lock_guard<ObjLocker> again(locker);  // same thread: enters again
    EXPECT_FALSE(lockableElsewhere(locker));
  }
  EXPECT_FALSE(lockableElsewhere(locker));  // one unlock still owed
  locker.unlock();
  EXPECT_TRUE(lockableElsewhere(locker));
  EXPECT_EQ(std::u16string(locker.getClassName()), u"s_thread_ObjLocker");
}

int deleterCalls = 0;
void countingDeleter(void* p) {
  ++deleterCalls;
  std::free(p);
}

class CountingDisposer : public s::base::IDestructor {
 public:
  void destroy(void** slot) override {
    ++calls;
    std::free(*slot);
    *slot = nullptr;
  }
  int calls = 0;
};

TEST(ObjLocker, DisposesOfTheHeldObjectByItsRule) {
  deleterCalls = 0;
  CountingDisposer disposer;
  { ObjLocker nothing; }
  { ObjLocker withDeleter(std::malloc(8), &countingDeleter); }
  EXPECT_EQ(deleterCalls, 1);
  { ObjLocker withDisposer(std::malloc(8), &disposer); }
  EXPECT_EQ(disposer.calls, 1);
  {
    ObjLocker plain(std::malloc(8), static_cast<ObjLocker::Deleter>(nullptr));
    // Neither deleter nor disposer: the memory is freed (the leak checker
    // would report it otherwise).
  }
  {
    ObjLocker replaced(std::malloc(8), &countingDeleter);
    replaced.setHeld(std::malloc(8), &disposer);  // the first object goes now
    EXPECT_EQ(deleterCalls, 2);
    EXPECT_NE(replaced.getHeld(), nullptr);
  }
  EXPECT_EQ(disposer.calls, 2);
  EXPECT_EQ(deleterCalls, 2);
}

}  // namespace
