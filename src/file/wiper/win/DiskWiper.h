#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <string>

#include "file/wiper/IDiskWiper.h"
#include "file/wiper/OperationReport.h"
#include "thread/ITask.h"
#include "thread/ObjLocker.h"
#include "thread/Pooled.h"
#include "thread/RunGate.h"

namespace s::str::strarray {
class StrArray;
}
namespace s::str::strbuffer {
class StrBuffer;
}
namespace s::thread::win {
class Thread;
}
namespace s::file::wiper {
class IWiper;
}

namespace s::file::wiper::win {

class EngineOperation;

// The drive wipe engine (see IDiskWiper). Pooled (cap 1000); runs itself as
// the task of its own Thread (normal priority). Releasing it stops a run and
// brings it back to the fresh state.
//
// Every operation tests its skip flag in its loops, so stop(true) normally
// sees the run end in an orderly way (temporary files destroyed) well
// within its 5000 ms; a run that takes longer is left to finish on its own
// and clears isRunning() when it does. reset() (and so release()) and
// uninit() wait for such a run, so that an engine is never reused under a
// run's feet.
class DiskWiper : public s::file::wiper::IDiskWiper,
                  public virtual s::thread::IPoolable,
                  public s::thread::ITask {
  VONQ_POOLED(DiskWiper, s::thread::kPoolCap)
 public:
  // The operations, in the order a run takes them.
  enum Operation : int { kTrashBin = 0, kDiskSpace, kMFTSpace, kCluterTips, kFileEntries, kCount };

  // The file-system kinds; fileSystem() returns one of these pointers (or
  // null when the name could not be read) and is compared by identity.
  static const char16_t* const kFat32;
  static const char16_t* const kFat;
  static const char16_t* const kNtfs;
  static const char16_t* const kUnknown;

  DiskWiper();
  ~DiskWiper() override;
  DiskWiper(const DiskWiper&) = delete;
  DiskWiper& operator=(const DiskWiper&) = delete;

  // IDiskWiper (contracts there).
  bool init() override;
  void uninit() override;
  void setProcessTrashBin(bool enabled) override { enable(kTrashBin, enabled); }
  void setProcessDiskSpace(bool enabled) override { enable(kDiskSpace, enabled); }
  void setProcessMFTSpace(bool enabled) override { enable(kMFTSpace, enabled); }
  void setProcessCluterTips(bool enabled) override { enable(kCluterTips, enabled); }
  void setProcessFileEntries(bool enabled) override { enable(kFileEntries, enabled); }
  bool isProcessingTrashBin() override { return inPhase(kTrashBin); }
  bool isProcessingDiskSpace() override { return inPhase(kDiskSpace); }
  bool isProcessingMFTSpace() override { return inPhase(kMFTSpace); }
  bool isProcessingCluterTips() override { return inPhase(kCluterTips); }
  bool isProcessingFileEntries() override { return inPhase(kFileEntries); }
  void setDrive(const char16_t* rootPath) override;
  bool isSupported() override { return isSupportedNow(); }
  bool start() override;
  bool isRunning() override { return running_.load() != 0; }
  void stop(bool wait) override;
  std::int32_t getProgressTrashBin() override { return percent(kTrashBin); }
  std::int32_t getProgressDiskSpace() override { return percent(kDiskSpace); }
  std::int32_t getProgressMFTSpace() override { return percent(kMFTSpace); }
  std::int32_t getProgressCluterTips() override { return percent(kCluterTips); }
  std::int32_t getProgressFileEntries() override { return percent(kFileEntries); }
  void getCurrentFile(s::str::strbuffer::StrBuffer* out) override;
  void addMessage(const char16_t* text) override;
  s::str::strarray::StrArray* getMessages() override;

  // ITask: the run (on the engine's thread only).
  void run() override;

  // IPoolable: stop(true), wait for an abandoned run, clear the flags,
  // uninit().
  void reset() override;
  const char16_t* getClassName() const override { return u"s_file_wiper_win_DiskWiper"; }

  // How a run ended: Complete when every operation asked for did its work;
  // Cancelled when the user stopped one of them (the run, or an operation
  // unticked during it); Unsupported when the drive was not supported (so
  // nothing ran); else Incomplete, with the reasons in report(). Meant to be
  // read once isRunning() turned false; any thread.
  enum class Outcome { Complete, Incomplete, Cancelled, Unsupported };
  Outcome outcome() const;

  // What operation `op` did in the last run (asked for or not, why it fell
  // short, counts). Any thread; complete once isRunning() turned false.
  s::file::wiper::OperationReport report(int op) const;
  // report() of every operation, in engine order.
  std::array<s::file::wiper::OperationReport, kCount> reports() const;

  // A fraction done as a percentage: × 100, truncated toward zero, clamped
  // to 0..100 (0.999 gives 99, a negative value 0).
  static std::int32_t percentOf(float fraction);

  // Results of the probe (for the caller and for tests).
  const char16_t* fileSystem() const { return fileSystem_; }
  bool isNT() const { return isNT_ != 0; }
  std::uint32_t getBytesPerSector() const { return bytesPerSector_; }
  std::uint32_t getSectorsPerCluster() const { return sectorsPerCluster_; }
  std::uint32_t getClusterSize() const { return clusterSize_; }
  // All free bytes of the drive now (not only those open to this user); 0
  // when they cannot be read. Any thread.
  std::uint64_t getFreeBytes() const;
  // The drive's free bytes as read at the start of the last DiskSpace run.
  std::uint64_t freeBytesAtStart() const { return freeBytes_; }

 private:
  bool isSupportedNow() const { return supported_.load(std::memory_order_relaxed) != 0; }
  void enable(int op, bool enabled) { skip_[op].store(enabled ? 0 : 1, std::memory_order_relaxed); }
  bool inPhase(int op) const { return phase_[op].load(std::memory_order_relaxed) != 0; }
  bool skipped(int op) const { return skip_[op].load(std::memory_order_relaxed) != 0; }
  std::int32_t percent(int op) const {
    return percentOf(progress_[op].load(std::memory_order_relaxed));
  }
  void setPhase(int op);
  void setDone(int op) { progress_[op].store(1.0f, std::memory_order_relaxed); }
  bool onNtfs() const { return isNT_ != 0 && fileSystem_ == kNtfs; }
  EngineOperation operation(int op);
  void runOperations();
  void runTrashBin();
  void runDiskAndMftSpace();
  void runCluterTips();
  void runFileEntries();
  // Ends operation `op`: records `report` with `shortfall`, and sets the
  // progress to 1.0 when the work was done.
  void finish(int op, s::file::wiper::OperationReport report, s::file::wiper::Shortfall shortfall);
  // Records that `op`, asked for, never began because it was unticked or
  // the run was stopped before its turn.
  void skippedAtItsTurn(int op);
  void copyCurrentFile(s::file::wiper::IWiper& worker);

  mutable s::thread::ObjLocker lock_;               // guards currentFile_, messages_ and reports_
  s::str::strarray::StrArray* messages_ = nullptr;  // owned for the engine's life
  s::thread::win::Thread* thread_ = nullptr;        // owned for the engine's life
  std::atomic<std::uint8_t> running_{0};
  std::atomic<std::uint8_t> stopRequested_{0};
  std::atomic<std::uint8_t> initialised_{0};
  s::thread::RunGate gate_;  // a run (maybe an abandoned one) is inside run()
  s::str::strbuffer::StrBuffer* currentFile_ = nullptr;
  std::atomic<float> progress_[kCount];
  s::file::wiper::OperationReport reports_[kCount];
  std::atomic<std::uint8_t> skip_[kCount];
  std::atomic<std::uint8_t> phase_[kCount];
  std::atomic<std::uint8_t> supported_{0};
  std::u16string root_;
  const char16_t* fileSystem_ = nullptr;
  std::uint8_t isNT_ = 0;
  std::uint32_t bytesPerSector_ = 0;
  std::uint32_t sectorsPerCluster_ = 0;
  std::uint32_t clusterSize_ = 0;
  std::uint64_t freeBytes_ = 0;
};

}  // namespace s::file::wiper::win
