#pragma once

#include <atomic>
#include <cstdint>

#include "file/wiper/IWiper.h"
#include "thread/ITask.h"
#include "thread/ObjLocker.h"
#include "thread/Pooled.h"
#include "thread/RunGate.h"

namespace s::col::_array {
class ArrayP;
}
namespace s::os {
class File;
}
namespace s::thread::win {
class Thread;
}
namespace s::file::win {
class PathWin;
}

namespace s::file::wiper::win {

// The temporary-file worker (see IWiper). Pooled (cap 1000); runs itself as
// the task of its own Thread (normal priority). Releasing it stops a run
// and brings it back to the fresh state. A run that outlives the bounded
// wait of stop(true) still counts as running (isRunning() stays true) until
// it returns, and reset()/uninit() wait for it, so a worker is never reused
// or freed under a run's feet.
//
// Typical use: create(), init(), setMethod(...), the counts or the mode,
// addPath(...) for each path, start(), poll isRunning() every 100 ms (reading
// getProgress() / getCurrentFile()), release().
class Wiper : public s::file::wiper::IWiper,
              public virtual s::thread::IPoolable,
              public s::thread::ITask {
  VONQ_POOLED(Wiper, s::thread::kPoolCap)
 public:
  // Size of the fill buffer: a multiple of 15, 512 and 4096.
  static constexpr std::int32_t kFillBufferSize = 10567680;
  // One year in FILETIME units (100 ns).
  static constexpr std::uint64_t kYear = 315360000000000ull;

  Wiper();
  ~Wiper() override;
  Wiper(const Wiper&) = delete;
  Wiper& operator=(const Wiper&) = delete;

  // IWiper (contracts there).
  bool init() override;
  void uninit() override;
  void setMethod(IMethod* method) override;
  void setTruncateCount(std::int32_t n) override { truncateCount_ = n; }
  void setRenameCount(std::int32_t n) override { renameCount_ = n; }
  void setAttributeCount(std::int32_t n) override { attributeCount_ = n; }
  void setTimeCount(std::int32_t n) override { timeCount_ = n; }
  void setCluterTipMode(bool on) override { clusterTipMode_ = on; }
  void addPath(const char16_t* text) override;
  bool start() override;
  bool isRunning() override { return running_.load() != 0; }
  void stop(bool wait) override;
  std::int32_t getProgress() override;
  void getCurrentFile(s::str::strbuffer::StrBuffer* out) override;
  void addMessage(const char16_t* text) override;
  s::str::strarray::StrArray* getMessages() override;

  // ITask: the run (on the worker's thread only).
  void run() override;

  // IPoolable: stop(true), clear the flags, uninit().
  void reset() override;
  const char16_t* getClassName() const override { return u"s_file_wiper_win_Wiper"; }

  // The base of the random file times (FILETIME, taken at uninit).
  std::uint64_t getResetTime() const { return resetTime_; }

  // What cluster-tip mode did to the files since init: tips written, files
  // left alone (encrypted, compressed, sparse), held open by another
  // program, not opened, failed. Any thread; final once the run ended.
  struct TipTally {
    std::uint64_t written = 0;
    std::uint64_t leftAlone = 0;
    std::uint64_t inUse = 0;
    std::uint64_t notOpened = 0;
    std::uint64_t failed = 0;
  };
  TipTally tipTally() const;

 private:
  bool stopping() const { return stopRequested_.load() != 0; }
  void setCurrentFile(const char16_t* text);
  void setProgress(float value) { progress_.store(value, std::memory_order_relaxed); }

  // Temporary-file mode: destroys one entry (a folder with everything in it).
  // `journalled`: the entry is one the owner journalled for deletion (a
  // path it added), so each of its renames is journalled first.
  bool wipeAndDelete(s::file::win::PathWin& path, float from, float to, bool restoreAttributes,
                     bool journalled = false);
  bool wipeChildren(s::file::win::PathWin& folder, float from, float to, bool restoreAttributes);
  bool overwriteAndTruncate(s::file::win::PathWin& path, float to);
  void truncate(s::os::File& file, std::uint64_t size);
  void renameScrambleAndDelete(s::file::win::PathWin& path, bool& ok, bool journalled);
  void setRandomAttributes(s::file::win::PathWin& path);
  void setRandomTimes(s::file::win::PathWin& path);

  // Cluster-tip mode: the walk around the per-file tip write.
  bool wipeTip(s::file::win::PathWin& path, float from, float to);
  // The per-file tip write (see Wiper.cpp for its contract).
  bool wipeTipOfFile(s::file::win::PathWin& file, float to);

  // What one run works on (see run()).
  struct Job {
    s::col::_array::ArrayP* paths = nullptr;
    IMethod* method = nullptr;
    std::uint8_t* buffer = nullptr;
    std::int32_t truncateCount = kDefaultCount;
    std::int32_t renameCount = kDefaultCount;
    std::int32_t attributeCount = kDefaultCount;
    std::int32_t timeCount = kDefaultCount;
    bool clusterTipMode = false;
    std::uint64_t resetTime = 0;
  };

  s::thread::ObjLocker lock_;                       // guards currentFile_ and messages_
  s::str::strarray::StrArray* messages_ = nullptr;  // owned for the worker's life
  s::thread::win::Thread* thread_ = nullptr;        // owned for the worker's life
  std::atomic<std::uint8_t> running_{0};
  std::atomic<std::uint8_t> stopRequested_{0};
  std::atomic<std::uint8_t> initialised_{0};
  s::thread::RunGate gate_;  // a run (maybe an abandoned one) is inside run()
  std::uint8_t* fillBuffer_ = nullptr;
  IMethod* method_ = nullptr;
  s::col::_array::ArrayP* paths_ = nullptr;  // PathWin objects, given back to their pool
  s::str::strbuffer::StrBuffer* currentFile_ = nullptr;
  std::atomic<float> progress_{0.0f};
  std::uint64_t resetTime_ = 0;
  std::int32_t truncateCount_ = kDefaultCount;
  std::int32_t renameCount_ = kDefaultCount;
  std::int32_t attributeCount_ = kDefaultCount;
  std::int32_t timeCount_ = kDefaultCount;
  bool clusterTipMode_ = false;
  Job job_;                                  // written by the run at its start only
  std::atomic<std::uint64_t> tips_[6] = {};  // files per CluterTip::Result
};

}  // namespace s::file::wiper::win
