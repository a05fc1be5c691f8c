#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <thread>

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

  // Starts a new operating-system thread running `body`. On success moves
  // the running thread into `out` (which must not hold a thread) and returns
  // true; returns false, leaving `out` alone, when the system could not make
  // the thread (resources exhausted). Never throws. Any thread. The default
  // uses std::thread, which serves every platform.
  virtual bool startThread(std::function<void()> body, std::thread& out);

  // The user's interface language as a Windows language identifier (LANGID:
  // primary language in the low 10 bits, sublanguage above). Windows: the
  // user's default UI language. Linux: the first non-empty of LC_ALL,
  // LC_MESSAGES and LANG mapped through the Windows table ("de_DE.UTF-8"
  // 0x0407, "pt_BR" 0x0416, "pt_PT" 0x0816, "zh_CN" 0x0804, "zh_TW" 0x0404,
  // "sr_RS@latin" 0x241A); "C", "POSIX", nothing set or a language the table
  // lacks give English (0x0409). Read afresh on every call; never fails,
  // never throws. Any thread. The default passes the question on to the
  // platform's own System (so wrappers need not override it).
  virtual std::uint16_t userLanguageId();

  // The folder the operating system runs from: the Windows folder on
  // Windows ("C:\Windows"), "/" on Linux. Its volume is the system drive.
  // Never fails. Any thread. The default passes the question on to the
  // platform's own System.
  virtual std::u16string systemFolder();
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
