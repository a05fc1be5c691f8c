#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "os/System.h"
#include "thread/ITask.h"
#include "thread/win/Thread.h"

namespace {

using s::thread::ITask;
using s::thread::win::Thread;

std::uint64_t now() {
  return s::os::system().millis();
}

// A task that notes when each run began and ended and on which thread; it
// can take a while and can be held at its start until let go.
class Recorder : public ITask {
 public:
  explicit Recorder(std::uint32_t runMs = 0) : runMs_(runMs) {}

  void run() override {
    {
      std::unique_lock<std::mutex> lk(m_);
      starts_.push_back(now());
      threads_.push_back(s::os::system().currentThreadId());
      cv_.notify_all();
      cv_.wait(lk, [&] { return !held_; });
    }
    if (runMs_ != 0) s::os::system().sleepMillis(runMs_);
    std::lock_guard<std::mutex> lk(m_);
    ends_.push_back(now());
    cv_.notify_all();
  }

  void hold() { setHeld(true); }
  void letGo() { setHeld(false); }

  // Waits until `n` runs have begun.
  void waitStarts(std::size_t n) {
    std::unique_lock<std::mutex> lk(m_);
    cv_.wait(lk, [&] { return starts_.size() >= n; });
  }

  std::size_t runs() {
    std::lock_guard<std::mutex> lk(m_);
    return starts_.size();
  }
  std::size_t finishedRuns() {
    std::lock_guard<std::mutex> lk(m_);
    return ends_.size();
  }
  std::vector<std::uint64_t> starts() {
    std::lock_guard<std::mutex> lk(m_);
    return starts_;
  }
  std::vector<std::uint64_t> ends() {
    std::lock_guard<std::mutex> lk(m_);
    return ends_;
  }
  std::vector<std::uint32_t> threads() {
    std::lock_guard<std::mutex> lk(m_);
    return threads_;
  }

 private:
  void setHeld(bool held) {
    std::lock_guard<std::mutex> lk(m_);
    held_ = held;
    cv_.notify_all();
  }

  std::uint32_t runMs_;
  std::mutex m_;
  std::condition_variable cv_;
  bool held_ = false;
  std::vector<std::uint64_t> starts_, ends_;
  std::vector<std::uint32_t> threads_;
};

struct Counter : ITask {
  std::atomic<int> runs{0};
  void run() override { ++runs; }
};

// The platform's System, with thread creation that can be made to fail and
// a record of the priorities that threads applied to themselves.
class RecordingSystem : public s::os::System {
 public:
  std::uint64_t millis() override { return real().millis(); }
  void sleepMillis(std::uint32_t ms) override { real().sleepMillis(ms); }
  std::uint32_t currentThreadId() override { return real().currentThreadId(); }
  bool setCurrentThreadPriority(int priority) override {
    std::lock_guard<std::mutex> lk(m);
    applied.emplace_back(real().currentThreadId(), priority);
    return real().setCurrentThreadPriority(priority);
  }
  bool startThread(std::function<void()> body, std::thread& out) override {
    if (failStart) return false;
    return real().startThread(std::move(body), out);
  }

  bool appliedOn(std::uint32_t threadId, int priority) {
    std::lock_guard<std::mutex> lk(m);
    return std::find(applied.begin(), applied.end(), std::make_pair(threadId, priority)) !=
           applied.end();
  }

  std::atomic<bool> failStart{false};
  std::mutex m;
  std::vector<std::pair<std::uint32_t, int>> applied;

 private:
  static s::os::System& real() { return s::os::platformSystem(); }
};

// Installs the RecordingSystem for one test. The wrapper is one object for
// the whole program and never deleted: workers made during a test may still
// call it afterwards.
class WithRecordingSystem : public ::testing::Test {
 protected:
  void SetUp() override {
    recording().failStart = false;
    previous_ = s::os::setSystem(&recording());
  }
  void TearDown() override { s::os::setSystem(previous_); }
  static RecordingSystem& recording() {
    static RecordingSystem* const instance = new RecordingSystem();
    return *instance;
  }

 private:
  s::os::System* previous_ = nullptr;
};

// A Thread from the pool, given back at the end of the scope.
struct PooledThread {
  Thread* t = Thread::create();
  ~PooledThread() { t->release(); }
  Thread* operator->() { return t; }
};

TEST(Thread, RunOnceRunsOnTheWorkerThenIdles) {
  PooledThread t;
  ASSERT_TRUE(t->isStarted());
  EXPECT_TRUE(t->isIdle());
  Recorder task;
  ASSERT_TRUE(t->runOnce(&task));
  t->waitIdle();
  EXPECT_TRUE(t->isIdle());
  ASSERT_EQ(task.runs(), 1u);
  EXPECT_EQ(task.threads()[0], t->getThreadId());
  EXPECT_NE(task.threads()[0], s::os::system().currentThreadId());
  EXPECT_EQ(std::u16string(t->getClassName()), u"s_thread_win_Thread");
}

// Gaps between runs and after the last one, measured with the clock.
TEST(Thread, CountedSeriesPauseOnlyBetweenRuns) {
  enum Gap { kEndToStart, kStartToStart };
  struct Case {
    const char* name;
    std::function<bool(Thread*, ITask*)> request;
    std::uint32_t runMs;
    std::size_t runs;
    Gap gap;
    std::uint64_t minGap, maxGap;
  };
  const Case cases[] = {
      {"back to back", [](Thread* t, ITask* k) { return t->runTimes(k, 3); }, 0, 3, kEndToStart, 0,
       40},
      {"pause 50", [](Thread* t, ITask* k) { return t->runTimesWithPause(k, 3, 50); }, 0, 3,
       kEndToStart, 49, 300},
      {"rate 100, short runs", [](Thread* t, ITask* k) { return t->runTimesAtRate(k, 3, 100); }, 30,
       3, kStartToStart, 99, 300},
      {"rate 100, long runs", [](Thread* t, ITask* k) { return t->runTimesAtRate(k, 2, 100); }, 150,
       2, kEndToStart, 0, 40},
      {"none", [](Thread* t, ITask* k) { return t->runTimes(k, 0); }, 0, 0, kEndToStart, 0, 0},
  };
  PooledThread t;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Recorder task(c.runMs);
    ASSERT_TRUE(c.request(t.t, &task));
    t->waitIdle();
    const std::uint64_t idleAt = now();
    const auto starts = task.starts();
    const auto ends = task.ends();
    ASSERT_EQ(starts.size(), c.runs);
    ASSERT_EQ(ends.size(), c.runs);
    for (std::size_t i = 1; i < c.runs; ++i) {
      const std::uint64_t gap = starts[i] - (c.gap == kEndToStart ? ends[i - 1] : starts[i - 1]);
      EXPECT_GE(gap, c.minGap) << "before run " << i;
      EXPECT_LE(gap, c.maxGap) << "before run " << i;
    }
    if (c.runs != 0) {
      EXPECT_LT(idleAt - ends.back(), 40u) << "no pause after the last run";
    }
  }
}

TEST(Thread, RunForeverUntilCancelledCompletesTheRunInProgress) {
  PooledThread t;
  Recorder task(10);
  ASSERT_TRUE(t->runForever(&task));
  task.waitStarts(3);
  t->cancelRunsAndWait();
  const std::size_t runs = task.runs();
  EXPECT_EQ(task.finishedRuns(), runs);
  s::os::system().sleepMillis(50);
  EXPECT_EQ(task.runs(), runs);
}

TEST(Thread, CancelOnAnIdleThreadReturnsAtOnce) {
  PooledThread t;
  const std::uint64_t before = now();
  t->cancelRunsAndWait();
  EXPECT_LT(now() - before, 15u);
  EXPECT_TRUE(t->isIdle());
}

TEST(Thread, StartDelayPostponesTheNextRun) {
  PooledThread t;
  Recorder task;
  task.hold();
  ASSERT_TRUE(t->runTimes(&task, 2));
  task.waitStarts(1);
  t->setStartDelay(150);
  task.letGo();
  t->waitIdle();
  ASSERT_EQ(task.runs(), 2u);
  EXPECT_GE(task.starts()[1] - task.ends()[0], 149u);
}

TEST_F(WithRecordingSystem, StuckWorkerIsReplacedAfterTheTimeout) {
  PooledThread t;
  t->setPriority(-1);
  Recorder stuck;
  stuck.hold();
  ASSERT_TRUE(t->runOnce(&stuck));
  stuck.waitStarts(1);
  const std::uint32_t oldId = t->getThreadId();
  EXPECT_TRUE(recording().appliedOn(oldId, -1));

  const std::uint64_t before = now();
  EXPECT_FALSE(t->waitIdleOrRestart(300));
  const std::uint64_t waited = now() - before;
  EXPECT_GE(waited, 290u);
  EXPECT_LT(waited, 2000u);

  EXPECT_TRUE(t->isIdle());
  EXPECT_TRUE(t->isStarted());
  EXPECT_EQ(t->getPriority(), -1);
  const std::uint32_t newId = t->getThreadId();
  EXPECT_NE(newId, oldId);

  Recorder next;
  ASSERT_TRUE(t->runOnce(&next));
  EXPECT_TRUE(t->waitIdleOrRestart(5000));
  ASSERT_EQ(next.runs(), 1u);
  EXPECT_EQ(next.threads()[0], newId);
  EXPECT_TRUE(recording().appliedOn(newId, -1));

  // The abandoned run ends when let go and runs nothing more.
  stuck.letGo();
  s::os::system().sleepMillis(30);
  EXPECT_EQ(stuck.runs(), 1u);
  EXPECT_EQ(stuck.finishedRuns(), 1u);
}

int functionCalls = 0;
void countCall() {
  ++functionCalls;
}

TEST(Thread, ReusedFromThePoolIsIdleNormalAndForgetsItsTask) {
  Counter old;
  Thread* t = Thread::create();
  t->setPriority(-1);
  t->setFunction(&countCall);
  ASSERT_TRUE(t->runForeverWithPause(&old, 5));
  while (old.runs < 2) s::os::system().sleepMillis(1);
  t->release();

  Thread* again = Thread::create();
  ASSERT_EQ(again, t);  // the pool hands back the object just released
  EXPECT_TRUE(again->isIdle());
  EXPECT_EQ(again->getPriority(), 0);
  const int runs = old.runs;
  s::os::system().sleepMillis(60);
  EXPECT_EQ(old.runs, runs);
  functionCalls = 0;
  again->run();  // the function was cleared
  EXPECT_EQ(functionCalls, 0);

  again->setFunction(&countCall);  // and can be given itself as its task
  ASSERT_TRUE(again->runOnce(again));
  again->waitIdle();
  EXPECT_EQ(functionCalls, 1);
  again->release();
}

TEST(Thread, RequestsMadeAsTheWorkerParksAreNeverLost) {
  PooledThread t;
  Counter task;
  for (int i = 0; i < 3000; ++i) {
    ASSERT_TRUE(t->runOnce(&task));
    // Lost request: the worker would never become idle again.
    ASSERT_TRUE(t->waitIdleOrRestart(5000)) << "request " << i << " lost";
    ASSERT_EQ(task.runs, i + 1);
  }
}

TEST_F(WithRecordingSystem, WithoutAnOsThreadNothingWaits) {
  recording().failStart = true;
  auto t = std::make_unique<Thread>();
  EXPECT_FALSE(t->isStarted());
  EXPECT_EQ(t->getThreadId(), 0u);
  Counter task;
  EXPECT_FALSE(t->runOnce(&task));
  EXPECT_FALSE(t->runForever(&task));
  EXPECT_TRUE(t->isIdle());
  t->waitIdle();
  t->cancelRunsAndWait();
  EXPECT_TRUE(t->waitIdleOrRestart(50));
  t->stopAndWait();
  EXPECT_EQ(task.runs, 0);

  recording().failStart = false;
  t->reset();  // a Thread that comes back from the pool gets a fresh worker
  EXPECT_TRUE(t->isStarted());
  ASSERT_TRUE(t->runOnce(&task));
  t->waitIdle();
  EXPECT_EQ(task.runs, 1);
}

TEST(Thread, StoppedWorkerRefusesRequestsUntilRecycled) {
  Thread* t = Thread::create();
  t->stopAndWait();
  EXPECT_FALSE(t->isStarted());
  Counter task;
  EXPECT_FALSE(t->runOnce(&task));
  t->waitIdle();
  t->waitFinished();
  t->release();
  Thread* again = Thread::create();
  EXPECT_TRUE(again->isStarted());
  ASSERT_TRUE(again->runOnce(&task));
  again->waitIdle();
  EXPECT_EQ(task.runs, 1);
  again->release();
}

// A task that gives its own Thread back to the pool.
struct ReleasesItsThread : ITask {
  Thread* thread = nullptr;
  std::atomic<bool> done{false};
  void run() override {
    thread->release();
    done = true;
  }
};

TEST(Thread, TaskMayReleaseItsOwnThread) {
  ReleasesItsThread task;
  task.thread = Thread::create();
  ASSERT_TRUE(task.thread->runOnce(&task));
  while (!task.done) s::os::system().sleepMillis(1);
  PooledThread again;
  Counter next;
  ASSERT_TRUE(again->runOnce(&next));
  EXPECT_TRUE(again->waitIdleOrRestart(5000));
  EXPECT_EQ(next.runs, 1);
}

TEST(Thread, PoolServesEightThreadsAtOnce) {
  Counter task;
  std::vector<std::thread> users;
  for (int u = 0; u < 8; ++u) {
    users.emplace_back([&task] {
      for (int i = 0; i < 40; ++i) {
        Thread* t = Thread::create();
        if (t->runTimes(&task, 2)) t->waitIdle();
        t->release();
      }
    });
  }
  for (auto& u : users) u.join();
  EXPECT_EQ(task.runs, 8 * 40 * 2);
}

}  // namespace
