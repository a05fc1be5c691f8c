#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

#include "thread/IPoolable.h"
#include "thread/ITask.h"
#include "thread/IThread.h"
#include "thread/Pooled.h"

namespace s::thread::win {

// The worker thread: one operating-system thread (made through s::os) that
// runs the requests of IThread. Pooled (cap 1000); a Thread taken from the
// pool is idle, at normal priority, with no function and nothing pending.
//
// The worker's request fields live in a state record shared between this
// object and the operating-system thread, so that a worker abandoned by
// waitIdleOrRestart keeps a valid record until its stuck run returns, and
// then ends on its own without touching this object.
class Thread final : public s::thread::IThread,
                     public virtual s::thread::IPoolable,
                     public s::thread::ITask {
 public:
  using Function = void (*)();

  // Pool access (see thread/Pooled.h). release() first lets a running task
  // finish (outside the pool's lock), then gives the Thread back.
  static s::thread::EasyPooler& pool();
  static Thread* create();
  s::base::IObject* newInstance() override { return create(); }
  void release() override;

  // Makes the worker (idle, parked, priority 0). When the operating-system
  // thread cannot be made, isStarted() is false and the object stays usable
  // in the sense that nothing it does waits.
  Thread();

  // Stops the worker and waits for its loop to end (so a running task must
  // return first).
  ~Thread() override;

  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;

  const char16_t* getClassName() const override { return u"s_thread_win_Thread"; }

  // IThread (contracts there).
  std::uint32_t getThreadId() override;
  bool runOnce(ITask* task) override;
  bool runTimes(ITask* task, std::int32_t count) override;
  bool runTimesWithPause(ITask* task, std::int32_t count, std::uint32_t pause) override;
  bool runTimesAtRate(ITask* task, std::int32_t count, std::uint32_t period) override;
  bool runForever(ITask* task) override;
  bool runForeverWithPause(ITask* task, std::uint32_t pause) override;
  bool runForeverAtRate(ITask* task, std::uint32_t period) override;
  bool isIdle() override;
  void waitIdle() override;
  bool waitIdleOrRestart(std::uint32_t timeout) override;
  void cancelRuns() override;
  void cancelRunsAndWait() override;
  void waitFinished() override;
  void requestStop() override;
  void stopAndWait() override;
  void setStartDelay(std::uint32_t ms) override;
  void resume() override;
  void suspend() override;
  int getPriority() override;
  void setPriority(int priority) override;
  void setFunction(void (*function)()) override;
  bool isStarted() override;

  // ITask: calls the function given to setFunction (nothing when none).
  void run() override;

  // IPoolable: lets a running task finish (pending runs are dropped), sets
  // normal priority, clears the function, the task and the start delay, and
  // makes a fresh worker if the old one was stopped or never started.
  void reset() override;

 private:
  struct State;

  enum class PauseMode : std::uint8_t { kNone = 0, kPause = 1, kRate = 2 };

  std::shared_ptr<State> state();
  void startWorker();
  bool request(ITask* task, std::int32_t runs, PauseMode mode, std::uint32_t pause);
  bool onWorker();
  static void workerLoop(std::shared_ptr<State> state);

  std::mutex control_;            // guards state_ and os_
  std::shared_ptr<State> state_;  // the current worker's record
  std::thread os_;                // the current worker's thread (if made)
  std::atomic<int> priority_{0};
  std::atomic<Function> function_{nullptr};
};

}  // namespace s::thread::win
