#pragma once

#include <cstdint>
#include <string>

namespace s::os::linux_fs {

// Names one process for as long as the system runs: its id and the moment
// it started (clock ticks after boot, field 22 of /proc/<pid>/stat). An id
// alone is handed to a new process once the old one has ended; the pair is
// not. The journals tag each record with the stamp of the process that wrote
// it, so that a replay never touches what a running process still uses. No
// state besides the two numbers; any thread.
struct ProcessStamp {
  // The start of a process recorded by its id alone (journal lines of an
  // older form): any process with that id counts as the one.
  static constexpr std::uint64_t kAnyStart = ~std::uint64_t{0};

  long pid = 0;  // 0: unknown (a record of an older form)
  std::uint64_t startTicks = 0;

  // The calling process (read once, then remembered).
  static ProcessStamp self();
  // The process with id `pid` as it is now (start 0 when it cannot be read).
  static ProcessStamp of(long pid);

  // Whether the process this stamp names is still running: a process with
  // that id exists and started at that moment. An unknown stamp (pid 0)
  // names no running process. When the start of a running process with that
  // id cannot be read, it is taken as running (a record is kept rather than
  // replayed too early).
  bool running() const;

  // Whether this is the calling process.
  bool isSelf() const;
  // Whether this is another process that is still running: its records are
  // its own, nobody else replays them.
  bool runningElsewhere() const { return !isSelf() && running(); }

  // "<pid>:<startTicks>", the form the journals store.
  std::string text() const;
  // Reads text(); false when `text` is not of that form.
  static bool parse(const std::string& text, ProcessStamp& out);

  bool operator==(const ProcessStamp& other) const = default;
};

}  // namespace s::os::linux_fs
