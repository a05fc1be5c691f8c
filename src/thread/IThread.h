#pragma once

#include <cstdint>

#include "base/IObject.h"

namespace s::thread {

class ITask;

// A worker that runs tasks on an operating-system thread of its own: once, a
// number of times or without end, optionally pausing after each run or
// keeping a fixed start rate. The worker parks itself when it has nothing to
// do and wakes on the next request.
//
// Requests (run*, cancelRuns, requestStop, setStartDelay) may be made from
// any thread, also while a task runs; they take effect after the current
// run. A new run request replaces the pending one. The wait operations must
// not be called from the worker itself (from inside a task of this worker),
// which would wait for itself. Times are milliseconds. Nothing throws.
class IThread : public s::base::IObject {
 public:
  ~IThread() override = default;

  // The operating-system id of the worker thread (0 when none could be made).
  virtual std::uint32_t getThreadId() = 0;

  // The run requests. Each replaces the pending request with the task (null
  // is allowed: each run then does nothing), the number of runs and the pause
  // rule; clears the start delay and the idle flag, then wakes the worker.
  // They return false, and change nothing, when the worker cannot run
  // anything (its thread could not be made, or it was stopped) or when
  // `count` is negative.
  //
  // runOnce: one run. runTimes: `count` runs back to back (0: none).
  // runTimesWithPause: a pause of `pause` ms after every run but the last.
  // runTimesAtRate: runs start `period` ms apart (a run that takes longer
  // is followed at once by the next). The runForever* forms run until
  // cancelRuns() and pause after every run.
  virtual bool runOnce(ITask* task) = 0;
  virtual bool runTimes(ITask* task, std::int32_t count) = 0;
  virtual bool runTimesWithPause(ITask* task, std::int32_t count, std::uint32_t pause) = 0;
  virtual bool runTimesAtRate(ITask* task, std::int32_t count, std::uint32_t period) = 0;
  virtual bool runForever(ITask* task) = 0;
  virtual bool runForeverWithPause(ITask* task, std::uint32_t pause) = 0;
  virtual bool runForeverAtRate(ITask* task, std::uint32_t period) = 0;

  // True when the worker has nothing to do (set by the worker after its last
  // pending run; cleared by every run request). Any thread.
  virtual bool isIdle() = 0;

  // Returns once the worker is idle (at once when it already is, or when it
  // has no operating-system thread).
  virtual void waitIdle() = 0;

  // Waits up to `timeout` ms for the worker to become idle. If it does not,
  // the stuck worker is abandoned (it finishes its current run on its own
  // and then ends without touching this object) and a fresh, idle worker at
  // the remembered priority takes its place; the pending request is
  // dropped. Returns true when the worker became idle in time, false when it
  // was replaced (or could not be, see isStarted()).
  virtual bool waitIdleOrRestart(std::uint32_t timeout) = 0;

  // Drops the pending runs (the run in progress completes), then resume().
  virtual void cancelRuns() = 0;

  // cancelRuns(), then waitIdle(). Returns at once on an idle worker.
  virtual void cancelRunsAndWait() = 0;

  // Returns once the worker's loop has ended (after requestStop()); at once
  // when there is no operating-system thread.
  virtual void waitFinished() = 0;

  // Asks the worker loop to end after the current run; wakes the worker.
  // From then on run requests are refused.
  virtual void requestStop() = 0;

  // requestStop(), then waitFinished().
  virtual void stopAndWait() = 0;

  // Milliseconds to wait once before the next run (0 = none). Does not wake
  // the worker; a run request clears it.
  virtual void setStartDelay(std::uint32_t ms) = 0;

  // Wakes the worker (also from suspend()); it then looks for work and
  // parks again when there is none.
  virtual void resume() = 0;

  // Makes the worker park at its next safe point (never while it holds the
  // request lock, never in the middle of a run) until the next resume(),
  // which every run request implies.
  virtual void suspend() = 0;

  // The remembered priority (-2 lowest .. 2 highest, 0 normal).
  virtual int getPriority() = 0;

  // Remembers `priority` and has the worker apply it to itself before its
  // next run (and to any worker made later). A priority the operating system
  // refuses (raising usually needs privileges) is ignored.
  virtual void setPriority(int priority) = 0;

  // The plain function that this object's own run() calls (null: none), so
  // that the object can be given itself as its task.
  virtual void setFunction(void (*function)()) = 0;

  // True while the worker has an operating-system thread that can run
  // requests: false when the thread could not be made, and after the worker
  // was stopped.
  virtual bool isStarted() = 0;
};

}  // namespace s::thread
