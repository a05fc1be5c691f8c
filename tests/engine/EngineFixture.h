#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

#include "file/wiper/win/DiskWiper.h"
#include "os/FileSystemWrapper.h"
#include "os/FileTimes.h"
#include "os/System.h"
#include "support/Env.h"
#include "support/ScratchNtfs.h"

namespace vonq::engine_test {

using s::file::wiper::win::DiskWiper;

// Skips (or fails under CI) when scratch NTFS volumes cannot be made here.
#define VONQ_REQUIRE_SCRATCH_NTFS()                                    \
  do {                                                                 \
    std::string reason_;                                               \
    const bool capable_ = ::vonq::test::ScratchNtfs::capable(reason_); \
    VONQ_REQUIRE_CAPABILITY(capable_, reason_);                        \
  } while (0)

// One live file as the user sees it.
struct LiveFile {
  std::string sha256;
  std::uint64_t size = 0;
  s::os::FileTimes times;
  bool operator==(const LiveFile& o) const {
    return sha256 == o.sha256 && size == o.size && times.creation == o.times.creation &&
           times.lastAccess == o.times.lastAccess && times.lastWrite == o.times.lastWrite;
  }
};
// How a test failure shows a live file.
void PrintTo(const LiveFile& file, std::ostream* out);
using LiveFiles = std::map<std::string, LiveFile>;

// Puts a handful of live files on the volume: empty, smaller than a
// cluster, exactly a cluster, a few clusters and a bit, in a subfolder,
// with a name that is not UTF-8.
void populate(const vonq::test::ScratchNtfs& volume);

// Every regular file under `mount` (recycle bins left out) with its hash,
// size and times; read without touching the access times.
LiveFiles snapshot(const std::string& mount);

// Names in the root of `mount` that the engine's temporary entries use.
std::vector<std::string> engineLeftovers(const std::string& mount);

// Whether `name` has the shape of the MFT operation's small files.
bool isSmallFileName(const std::string& name);

// statvfs free bytes (all of them).
std::uint64_t freeBytesOf(const std::string& mount);

// Polls `condition` every 5 ms until true or `timeout`.
bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout);

// An engine from the pool for `root`, initialised and probed, with only
// `enabled` operations enabled. Released when the holder ends.
class Engine {
 public:
  Engine(const std::u16string& root, std::initializer_list<int> enabled);
  ~Engine() { engine_->release(); }
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;
  DiskWiper* operator->() const { return engine_; }
  DiskWiper& operator*() const { return *engine_; }

  // Starts the run and waits for its end; false when it did not end in time.
  bool runToEnd(std::chrono::milliseconds timeout = std::chrono::minutes(3));
  // The five percentages in operation order.
  std::vector<int> percentages() const;

 private:
  DiskWiper* engine_;
};

// A file-system wrapper that records what the engine does at the
// file-system boundary and can slow it down or fake what a small volume
// cannot give. Switches may be flipped from any thread.
class HookedFileSystem : public s::os::FileSystemWrapper {
 public:
  HookedFileSystem() : FileSystemWrapper(s::os::platformFileSystem()) {}

  // "open NAME", "open-failed NAME", "schedule NAME", "size NAME N",
  // "write NAME N", "volume-data N" - NAME is the last part of the path.
  std::vector<std::string> events();
  int count(const std::string& prefix);
  void add(std::string event);

  // Writes to (and opens of) files whose name this accepts sleep first.
  // Set before the engine starts.
  std::function<bool(const std::string& name)> slowName;
  std::atomic<int> writeDelayMs{0};
  // Called with the name before each file is opened (set before the work
  // starts): a test kills the process there, at a known point.
  std::function<void(const std::string& name)> beforeOpen;
  std::atomic<int> openDelayMs{0};
  // How many slowed writes and opens have started.
  std::atomic<int> slowWrites{0};
  std::atomic<int> slowOpens{0};

  // Fake large files: when >= 0, the volume reports this many free bytes
  // less what the two large temporary files were sized to, and those files
  // only pretend to grow and to be written; every other file's writes fail
  // as on a full volume.
  std::atomic<std::int64_t> fakeFreeBytes{-1};
  // The large files' first this-many size changes fail (NoSpace).
  std::atomic<int> failSizing{0};
  // Called after each size change of a large file with its name; may
  // change the fake free bytes.
  std::function<void(const std::string&)> afterSizing;
  // Called with its name before a large file is closed.
  std::function<void(const std::string&)> beforeClose;
  // The file-system name volumeOf reports instead of the real one (set
  // before the engine probes the drive).
  std::u16string fakeFileSystem;
  // ntfsVolumeData fails as on a volume whose source cannot be read.
  std::atomic<bool> denyVolumeData{false};
  // Free bytes (real) seen right after the second large file was first
  // given a size.
  std::atomic<std::int64_t> freeAfterSecondSized{-1};
  // Free bytes (real) seen when the second large file was first closed.
  std::atomic<std::int64_t> freeAtSecondClose{-1};

  std::unique_ptr<s::os::File> openFile(std::u16string_view path,
                                        const s::os::OpenMode& mode) override;
  std::uint64_t freeBytes(std::u16string_view path) override;
  bool volumeOf(std::u16string_view path, s::os::VolumeInfo& out) override;
  bool ntfsVolumeData(std::u16string_view root, s::os::NtfsVolumeData& out) override;
  bool scheduleDeletion(std::u16string_view path) override;

  // Used by the files it opened.
  std::uint64_t fakeSizeOf(const std::string& name);
  void setFakeSize(const std::string& name, std::uint64_t size);
  std::u16string rootOf(std::u16string_view path) const;

 private:
  std::mutex lock_;
  std::vector<std::string> events_;
  std::map<std::string, std::uint64_t> fakeSizes_;
};

// A System whose sleeps last at most 2 ms and are counted by length.
class QuickSystem : public s::os::System {
 public:
  std::uint64_t millis() override { return s::os::platformSystem().millis(); }
  void sleepMillis(std::uint32_t ms) override;
  std::uint32_t currentThreadId() override { return s::os::platformSystem().currentThreadId(); }
  bool setCurrentThreadPriority(int p) override {
    return s::os::platformSystem().setCurrentThreadPriority(p);
  }
  int sleepsOf(std::uint32_t ms);

 private:
  std::mutex lock_;
  std::map<std::uint32_t, int> sleeps_;
};

// Installs a System for one scope.
class InstalledSystem {
 public:
  explicit InstalledSystem(s::os::System& system) : previous_(s::os::setSystem(&system)) {}
  ~InstalledSystem() { s::os::setSystem(previous_); }
  InstalledSystem(const InstalledSystem&) = delete;
  InstalledSystem& operator=(const InstalledSystem&) = delete;

 private:
  s::os::System* previous_;
};

}  // namespace vonq::engine_test
