#include "os/linux/ProcessStamp.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace s::os::linux_fs {

namespace {

// The state (field 3 of /proc/<pid>/stat) and start time (field 22) of
// process `pid`; false when they cannot be read. The name field may hold
// spaces and parentheses, so the fields are counted from its closing
// parenthesis.
bool statOf(long pid, char& state, std::uint64_t& start) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(in, line)) return false;
  const auto close = line.rfind(')');
  if (close == std::string::npos) return false;
  std::istringstream fields(line.substr(close + 1));
  fields >> state;
  std::string skipped;
  for (int field = 4; field < 22; ++field) fields >> skipped;
  fields >> start;
  return !fields.fail();
}

}  // namespace

ProcessStamp ProcessStamp::of(long pid) {
  ProcessStamp stamp;
  char state = 0;
  stamp.pid = pid;
  statOf(pid, state, stamp.startTicks);
  return stamp;
}

ProcessStamp ProcessStamp::self() {
  static const ProcessStamp stamp = of(static_cast<long>(::getpid()));
  // A child made by fork() is another process than the one that read it.
  return stamp.pid == static_cast<long>(::getpid()) ? stamp : of(static_cast<long>(::getpid()));
}

bool ProcessStamp::running() const {
  if (pid <= 0) return false;
  if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno != EPERM) return false;
  char state = 0;
  std::uint64_t started = 0;
  if (!statOf(pid, state, started)) return true;
  // A zombie has ended; only its exit status waits to be collected.
  return (startTicks == kAnyStart || started == startTicks) && state != 'Z' && state != 'X';
}

bool ProcessStamp::isSelf() const {
  return *this == self();
}

std::string ProcessStamp::text() const {
  return std::to_string(pid) + ':' + std::to_string(startTicks);
}

bool ProcessStamp::parse(const std::string& text, ProcessStamp& out) {
  const auto colon = text.find(':');
  if (colon == std::string::npos || colon == 0 || colon + 1 == text.size()) return false;
  char* end = nullptr;
  const std::string pid = text.substr(0, colon);
  out.pid = std::strtol(pid.c_str(), &end, 10);
  if (*end != '\0' || out.pid <= 0) return false;
  const std::string ticks = text.substr(colon + 1);
  out.startTicks = std::strtoull(ticks.c_str(), &end, 10);
  return *end == '\0' && ticks[0] != '-';
}

}  // namespace s::os::linux_fs
