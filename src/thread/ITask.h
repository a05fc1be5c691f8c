#pragma once

namespace s::thread {

// A piece of background work that a worker Thread runs once per run.
class ITask {
 public:
  virtual ~ITask() = default;

  // Does the work once. Runs on the worker thread that was asked to run the
  // task; it should return in reasonable time, polling its own cancel flags
  // for long work (a run is never interrupted from outside). Must not throw.
  virtual void run() = 0;
};

}  // namespace s::thread
