#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

#include "os/System.h"
#include "os/linux/LocaleLanguage.h"

namespace s::os {

namespace {

// Linux has no per-thread priority classes; a thread's nice value stands in.
// The steps mirror the Windows priorities (-2 .. 2).
int niceFor(int priority) {
  switch (priority) {
    case -2:
      return 10;
    case -1:
      return 5;
    case 0:
      return 0;
    case 1:
      return -5;
    default:
      return priority > 1 ? -10 : 10;
  }
}

class LinuxSystem final : public System {
 public:
  std::uint64_t millis() override {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::uint64_t>(ts.tv_sec) * 1000u +
           static_cast<std::uint64_t>(ts.tv_nsec) / 1000000u;
  }

  void sleepMillis(std::uint32_t ms) override {
    if (ms == 0) {
      sched_yield();
      return;
    }
    timespec req{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
    while (nanosleep(&req, &req) != 0 && errno == EINTR) {
    }
  }

  std::uint32_t currentThreadId() override {
    return static_cast<std::uint32_t>(syscall(SYS_gettid));
  }

  bool setCurrentThreadPriority(int priority) override {
    const id_t tid = static_cast<id_t>(syscall(SYS_gettid));
    return setpriority(PRIO_PROCESS, tid, niceFor(priority)) == 0;
  }

  std::uint16_t userLanguageId() override { return linux_impl::userLanguageIdFromEnvironment(); }
  std::u16string systemFolder() override { return u"/"; }
};

}  // namespace

System& platformSystem() {
  // Never destroyed: workers and pools may still use it while the process
  // ends, after function-local statics made later are gone.
  static LinuxSystem* const instance = new LinuxSystem();
  return *instance;
}

}  // namespace s::os
