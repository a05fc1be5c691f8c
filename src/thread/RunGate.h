#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace s::thread {

// Counts the runs of one worker object that are inside their task, so that
// the object's owner can wait for them before the object is reused or
// destroyed. A run abandoned by a bounded stop (its thread replaced after the
// timeout) still counts until it returns. The run's thread calls enter() and
// leave(); any other thread may ask or wait.
class RunGate {
 public:
  // A run begins (its own thread, first thing).
  void enter();
  // A run ends (its own thread, last thing it does with its owner). Wakes
  // every waiter once no run is inside.
  void leave();

  // True when no run is inside. Never blocks beyond the gate's lock.
  bool idle() const;

  // Returns once no run is inside. Must not be called from a run's thread.
  void waitIdle() const;

  // As waitIdle, but returns after `millis` at most; true when idle.
  bool waitIdleFor(std::uint32_t millis) const;

 private:
  mutable std::mutex lock_;
  mutable std::condition_variable changed_;
  std::int32_t inside_ = 0;  // guarded by lock_
};

}  // namespace s::thread
