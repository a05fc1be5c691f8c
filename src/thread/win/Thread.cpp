#include "thread/win/Thread.h"

#include <chrono>
#include <condition_variable>
#include <utility>

#include "os/System.h"

namespace s::thread::win {

namespace {
constexpr int kNoPriority = -1000;  // below every real priority: none applied yet
}

// The request record shared by a Thread and its worker. Every field is
// guarded by `m`.
struct Thread::State {
  std::mutex m;
  std::condition_variable wake;     // the worker parks and pauses here
  std::condition_variable changed;  // waiters for start, idle and finish
  std::thread::id osId;
  std::uint32_t threadId = 0;
  bool started = false;  // the loop runs (id published)
  std::uint32_t startDelay = 0;
  ITask* task = nullptr;
  std::int32_t runsLeft = 0;  // -1: without end
  PauseMode pauseMode = PauseMode::kNone;
  std::uint32_t pause = 0;
  bool idle = true;
  bool stopRequested = false;
  bool finished = false;
  bool abandoned = false;      // replaced by a fresh worker; waiters let go
  bool held = false;           // suspend(): park at the next safe point
  std::uint64_t resumes = 0;   // counts resume(): ends a park
  std::uint64_t requests = 0;  // counts requests and cancels: ends a pause
  int priority = 0;

  // Parks until the next resume() or a stop request. The decision to park
  // and the wait happen under `m`, so no wake-up can slip in between.
  void park(std::unique_lock<std::mutex>& lk) {
    const std::uint64_t seen = resumes;
    wake.wait(lk, [&] { return resumes != seen || stopRequested; });
  }

  // Waits `ms` unless a new request, a cancel or a stop comes first.
  void pauseFor(std::unique_lock<std::mutex>& lk, std::uint64_t ms) {
    const std::uint64_t seen = requests;
    wake.wait_for(lk, std::chrono::milliseconds(ms),
                  [&] { return requests != seen || stopRequested; });
  }

  // Stops the loop after the current run and wakes it. Under `m`.
  void stopLocked() {
    stopRequested = true;
    held = false;
    ++requests;
    ++resumes;
    wake.notify_all();
  }

  bool acceptsRequests() const { return started && !stopRequested && !finished && !abandoned; }
};

// ---- pool -------------------------------------------------------------

s::thread::EasyPooler& Thread::pool() {
  return s::thread::classPool<Thread, kPoolCap>();
}

Thread* Thread::create() {
  return static_cast<Thread*>(pool().take());
}

void Thread::release() {
  // A running task must finish before the pool resets this object; waiting
  // here keeps the pool's lock free meanwhile. From the worker itself only
  // the pending runs can be dropped.
  if (onWorker()) {
    cancelRuns();
  } else {
    cancelRunsAndWait();
  }
  pool().giveBack(static_cast<void*>(this));
}

// ---- life -------------------------------------------------------------

Thread::Thread() {
  std::lock_guard<std::mutex> guard(control_);
  startWorker();
}

Thread::~Thread() {
  std::shared_ptr<State> st;
  std::thread os;
  {
    std::lock_guard<std::mutex> guard(control_);
    st = std::move(state_);
    os = std::move(os_);
  }
  if (st != nullptr) {
    std::lock_guard<std::mutex> lk(st->m);
    st->stopLocked();
  }
  if (os.joinable()) {
    if (os.get_id() == std::this_thread::get_id()) {
      os.detach();  // a task that ended its own Thread: the loop ends by itself
    } else {
      os.join();
    }
  }
}

// Makes a new worker record and its operating-system thread. control_ held.
void Thread::startWorker() {
  auto st = std::make_shared<State>();
  st->priority = priority_.load();
  std::thread os;
  if (s::os::system().startThread([st] { workerLoop(st); }, os)) {
    std::unique_lock<std::mutex> lk(st->m);
    st->changed.wait(lk, [&] { return st->started; });
  } else {
    st->finished = true;  // nothing will ever run; every wait returns
  }
  state_ = std::move(st);
  os_ = std::move(os);
}

std::shared_ptr<Thread::State> Thread::state() {
  std::lock_guard<std::mutex> guard(control_);
  return state_;
}

bool Thread::onWorker() {
  auto st = state();
  std::lock_guard<std::mutex> lk(st->m);
  return st->started && st->osId == std::this_thread::get_id();
}

// ---- the worker loop ----------------------------------------------------

void Thread::workerLoop(std::shared_ptr<State> st) {
  // The platform layer is looked up at each use: a test may install and
  // remove a wrapper while this worker lives.
  std::unique_lock<std::mutex> lk(st->m);
  st->osId = std::this_thread::get_id();
  st->threadId = s::os::system().currentThreadId();
  st->started = true;
  st->changed.notify_all();
  int applied = kNoPriority;
  while (!st->stopRequested) {
    if (st->priority != applied) {
      applied = st->priority;
      lk.unlock();
      s::os::system().setCurrentThreadPriority(applied);
      lk.lock();
    } else if (st->held) {
      st->park(lk);
    } else if (st->startDelay != 0) {
      st->pauseFor(lk, std::exchange(st->startDelay, 0));
    } else if (st->runsLeft != 0) {
      if (st->runsLeft != -1) --st->runsLeft;
      ITask* task = st->task;
      const PauseMode mode = st->pauseMode;
      const std::uint64_t pause = st->pause;
      const bool more = st->runsLeft != 0;
      lk.unlock();
      const std::uint64_t begun = s::os::system().millis();
      if (task != nullptr) {
        try {
          task->run();
        } catch (...) {
          // A task must not throw; one that does ends only its run.
        }
      }
      std::uint64_t wait = 0;
      if (more && mode == PauseMode::kPause) wait = pause;
      if (more && mode == PauseMode::kRate) {
        const std::uint64_t now = s::os::system().millis();
        wait = begun + pause > now ? begun + pause - now : 0;
      }
      lk.lock();
      if (wait != 0) st->pauseFor(lk, wait);
    } else {
      st->idle = true;
      st->changed.notify_all();
      st->park(lk);
    }
  }
  st->idle = true;
  st->finished = true;
  st->changed.notify_all();
}

// ---- requests -----------------------------------------------------------

bool Thread::request(ITask* task, std::int32_t runs, PauseMode mode, std::uint32_t pause) {
  auto st = state();
  {
    std::lock_guard<std::mutex> lk(st->m);
    if (!st->acceptsRequests()) return false;
    st->task = task;
    st->runsLeft = runs;
    st->pauseMode = mode;
    st->pause = pause;
    st->startDelay = 0;
    st->idle = false;
    ++st->requests;
  }
  resume();
  return true;
}

bool Thread::runOnce(ITask* task) {
  return request(task, 1, PauseMode::kNone, 0);
}

bool Thread::runTimes(ITask* task, std::int32_t count) {
  return count >= 0 && request(task, count, PauseMode::kNone, 0);
}

bool Thread::runTimesWithPause(ITask* task, std::int32_t count, std::uint32_t pause) {
  return count >= 0 && request(task, count, PauseMode::kPause, pause);
}

bool Thread::runTimesAtRate(ITask* task, std::int32_t count, std::uint32_t period) {
  return count >= 0 && request(task, count, PauseMode::kRate, period);
}

bool Thread::runForever(ITask* task) {
  return request(task, -1, PauseMode::kNone, 0);
}

bool Thread::runForeverWithPause(ITask* task, std::uint32_t pause) {
  return request(task, -1, PauseMode::kPause, pause);
}

bool Thread::runForeverAtRate(ITask* task, std::uint32_t period) {
  return request(task, -1, PauseMode::kRate, period);
}

void Thread::cancelRuns() {
  auto st = state();
  {
    std::lock_guard<std::mutex> lk(st->m);
    st->runsLeft = 0;
    ++st->requests;
  }
  resume();
}

void Thread::requestStop() {
  auto st = state();
  std::lock_guard<std::mutex> lk(st->m);
  st->stopLocked();
}

void Thread::setStartDelay(std::uint32_t ms) {
  auto st = state();
  std::lock_guard<std::mutex> lk(st->m);
  st->startDelay = ms;
}

void Thread::resume() {
  auto st = state();
  std::lock_guard<std::mutex> lk(st->m);
  st->held = false;
  ++st->resumes;
  st->wake.notify_all();
}

void Thread::suspend() {
  auto st = state();
  std::lock_guard<std::mutex> lk(st->m);
  st->held = true;
}

// ---- waiting ------------------------------------------------------------

bool Thread::isIdle() {
  auto st = state();
  std::lock_guard<std::mutex> lk(st->m);
  return st->idle;
}

void Thread::waitIdle() {
  auto st = state();
  std::unique_lock<std::mutex> lk(st->m);
  st->changed.wait(lk, [&] { return st->idle || st->abandoned; });
}

void Thread::cancelRunsAndWait() {
  cancelRuns();
  waitIdle();
}

bool Thread::waitIdleOrRestart(std::uint32_t timeout) {
  auto st = state();
  {
    std::unique_lock<std::mutex> lk(st->m);
    if (st->changed.wait_for(lk, std::chrono::milliseconds(timeout),
                             [&] { return st->idle || st->abandoned; })) {
      return st->idle;
    }
  }
  std::lock_guard<std::mutex> guard(control_);
  if (state_ != st) return false;  // someone else replaced it meanwhile
  {
    std::lock_guard<std::mutex> lk(st->m);
    if (st->idle) return true;
    st->abandoned = true;
    st->stopLocked();
    st->changed.notify_all();
  }
  // The stuck thread keeps its own reference to its record and ends by
  // itself once its run returns.
  if (os_.joinable()) os_.detach();
  startWorker();
  return false;
}

void Thread::waitFinished() {
  auto st = state();
  {
    std::unique_lock<std::mutex> lk(st->m);
    st->changed.wait(lk, [&] { return st->finished || st->abandoned; });
  }
  std::lock_guard<std::mutex> guard(control_);
  if (state_ == st && os_.joinable() && os_.get_id() != std::this_thread::get_id()) {
    os_.join();
  }
}

void Thread::stopAndWait() {
  requestStop();
  waitFinished();
}

// ---- settings -----------------------------------------------------------

std::uint32_t Thread::getThreadId() {
  auto st = state();
  std::lock_guard<std::mutex> lk(st->m);
  return st->threadId;
}

int Thread::getPriority() {
  return priority_.load();
}

void Thread::setPriority(int priority) {
  priority_.store(priority);
  auto st = state();
  std::lock_guard<std::mutex> lk(st->m);
  st->priority = priority;
}

void Thread::setFunction(void (*function)()) {
  function_.store(function);
}

bool Thread::isStarted() {
  auto st = state();
  std::lock_guard<std::mutex> lk(st->m);
  return st->acceptsRequests();
}

void Thread::run() {
  const Function function = function_.load();
  if (function != nullptr) function();
}

// ---- pool reset ---------------------------------------------------------

void Thread::reset() {
  if (onWorker()) {
    cancelRuns();
  } else {
    cancelRunsAndWait();
  }
  setPriority(0);
  setFunction(nullptr);
  auto st = state();
  bool dead = false;
  {
    std::lock_guard<std::mutex> lk(st->m);
    st->task = nullptr;
    st->startDelay = 0;
    st->idle = true;
    dead = !st->acceptsRequests();
  }
  suspend();
  if (dead) {
    // A stopped worker (or one that never started) cannot serve the next
    // owner: make a fresh one.
    std::lock_guard<std::mutex> guard(control_);
    if (os_.joinable() && os_.get_id() != std::this_thread::get_id()) os_.join();
    if (os_.joinable()) os_.detach();
    startWorker();
  }
}

}  // namespace s::thread::win
