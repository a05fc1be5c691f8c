#pragma once

#include <cstdint>

namespace s::os {

// Clocks, sleeping and thread priority: the process and thread services that
// the portable code needs. One process-wide instance serves the platform being
// built (system()); a test may install a wrapper with setSystem().
class System {
 public:
  virtual ~System() = default;

  // Milliseconds from a monotonic clock with an arbitrary origin. Never goes
  // backwards, never fails. Any thread.
  virtual std::uint64_t millis() = 0;

  // Blocks the calling thread for about `ms` milliseconds (0 yields). Any thread.
  virtual void sleepMillis(std::uint32_t ms) = 0;

  // Identifier of the calling thread as the operating system numbers it
  // (the kernel thread id on Linux). Any thread.
  virtual std::uint32_t currentThreadId() = 0;

  // Applies a scheduling priority to the calling thread: -2 lowest, -1 below
  // normal, 0 normal, 1 above normal, 2 highest. Returns false when the system
  // refused (raising priority usually needs privileges); the thread then keeps
  // its priority. Never throws. Called by the thread itself.
  virtual bool setCurrentThreadPriority(int priority) = 0;
};

// The process-wide System. Never null. Any thread.
System& system();

// Installs `replacement` as the process-wide System (null restores the
// platform's own) and returns the previous one. Meant for tests; call it
// before other threads use system().
System* setSystem(System* replacement);

// The platform's own System, whatever is installed. Any thread.
System& platformSystem();

}  // namespace s::os
