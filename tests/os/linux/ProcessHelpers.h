#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

extern char** environ;

namespace vonq::test::fs {

// A child process that opens `path` (blocking) and keeps it open until
// finish(). Only async-signal-safe calls run in the child.
class Holder {
 public:
  explicit Holder(const std::string& path) {
    if (::pipe(toChild_) != 0 || ::pipe(fromChild_) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      const int fd = ::open(path.c_str(), O_RDONLY);
      const char ok = fd >= 0 ? 'o' : 'e';
      if (::write(fromChild_[1], &ok, 1) != 1) ::_exit(3);
      char c;
      if (::read(toChild_[0], &c, 1) != 1) ::_exit(4);
      ::_exit(fd >= 0 ? 0 : 2);
    }
  }
  // Waits until the child has the file open (or failed to); true when open.
  bool opened() {
    char c = 0;
    return pid_ > 0 && ::read(fromChild_[0], &c, 1) == 1 && c == 'o';
  }
  // Lets the child close the file and end; its exit status (0 = opened).
  int finish() {
    if (pid_ <= 0) return -1;
    const char c = 'x';
    if (::write(toChild_[1], &c, 1) != 1) return -1;
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  ~Holder() {
    if (pid_ > 0) finish();
    for (int fd : {toChild_[0], toChild_[1], fromChild_[0], fromChild_[1]}) {
      if (fd >= 0) ::close(fd);
    }
  }
  Holder(const Holder&) = delete;
  Holder& operator=(const Holder&) = delete;

 private:
  pid_t pid_ = -1;
  int toChild_[2] = {-1, -1};
  int fromChild_[2] = {-1, -1};
};

// Runs this test program again as a new process with `filter` (disabled tests
// included) and returns its exit status.
inline int runSelf(const std::string& filter) {
  const std::string filterArg = "--gtest_filter=" + filter;
  std::vector<char*> argv = {const_cast<char*>("/proc/self/exe"),
                             const_cast<char*>(filterArg.c_str()),
                             const_cast<char*>("--gtest_also_run_disabled_tests"), nullptr};
  pid_t pid = -1;
  if (posix_spawn(&pid, "/proc/self/exe", nullptr, nullptr, argv.data(), environ) != 0) return -1;
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace vonq::test::fs
