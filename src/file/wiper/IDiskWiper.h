#pragma once

#include <cstdint>

#include "base/IObject.h"

namespace s::str::strarray {
class StrArray;
}
namespace s::str::strbuffer {
class StrBuffer;
}

namespace s::file::wiper {

// The drive wipe engine: probes one drive and runs up to five operations on
// it, always in this order, on a worker thread of its own:
//   1. TrashBin    empty the drive's recycle bin
//   2. DiskSpace   fill the free space with pseudorandom data, then destroy it
//   3. MFTSpace    NTFS: fill the drive, then the free MFT records, then clean up
//   4. CluterTips  overwrite the unused tail of every file's last cluster
//   5. FileEntries NTFS: overwrite old names in the MFT with long-named files
// It shows nothing and posts no events: its caller polls the flags and
// percentages below (every 100 ms). There is no pause; a run is cancelled as
// a whole (stop) or one operation at a time (setProcess...(false)). It
// writes only to temporary files and folders of its own in the drive's root,
// except the cluster-tip wipe, which writes only past the end of each file's
// data and restores its length, times and attributes.
//
// Expected calling order (the caller's thread): init, setDrive, isSupported;
// if supported: the five setProcess... calls, start, then poll while
// isRunning (push changed enable flags, read the percentages and phases,
// getCurrentFile during CluterTips, stop(true) on cancel); release.
//
// Every operation may be called from any thread except the engine's own;
// none of them throws.
class IDiskWiper : public virtual s::base::IObject {
 public:
  ~IDiskWiper() override = default;

  // Marks the engine initialised and returns true.
  virtual bool init() = 0;

  // Back to the fresh state: nothing probed (no root, no file system, no
  // geometry, not supported), every progress 0, every phase and skip flag
  // clear (all five operations enabled), no current file, no messages, not
  // initialised. Not while a run is going on.
  virtual void uninit() = 0;

  // Enables (false clears the skip flag) or disables (sets it) one
  // operation. May be called during a run: disabling the running operation
  // ends it at its next test; disabling a later one keeps it from starting.
  virtual void setProcessTrashBin(bool enabled) = 0;
  virtual void setProcessDiskSpace(bool enabled) = 0;
  virtual void setProcessMFTSpace(bool enabled) = 0;
  virtual void setProcessCluterTips(bool enabled) = 0;
  virtual void setProcessFileEntries(bool enabled) = 0;

  // Whether the operation is the one running now (at most one is).
  virtual bool isProcessingTrashBin() = 0;
  virtual bool isProcessingDiskSpace() = 0;
  virtual bool isProcessingMFTSpace() = 0;
  virtual bool isProcessingCluterTips() = 0;
  virtual bool isProcessingFileEntries() = 0;

  // Keeps `rootPath` (the drive's root with its trailing separator: "C:\",
  // "/media/usb/"; null counts as empty) and probes the drive: its
  // file-system name ("NTFS", "FAT32", "FAT", anything else unknown) and
  // its geometry. A path that is not the root of a mounted volume probes as
  // unreadable. Not while a run is going on.
  virtual void setDrive(const char16_t* rootPath) = 0;

  // True when the last probe found NTFS, FAT32 or FAT with a known cluster
  // size: only then does a run do anything.
  virtual bool isSupported() = 0;

  // Starts a run on the engine's thread. A run being stopped without
  // waiting (stop(false)) is first waited for (up to 5000 ms). Returns true
  // when a run was started; false when it refused (a run is going on, also
  // one that outlived stop(true)'s wait, or the engine's thread cannot run
  // it): nothing then happens and no operation counts as done. Caller's
  // thread.
  virtual bool start() = 0;

  // True from start() until the run has really ended.
  virtual bool isRunning() = 0;

  // Disables all five operations, so that the running one ends at its next
  // test and no later one starts. With `wait`, returns when the run has
  // ended or after 5000 ms, whichever comes first.
  virtual void stop(bool wait) = 0;

  // The operation's progress in percent: the fraction done × 100, truncated
  // toward zero and clamped to 0..100. An operation that ran to its end
  // reads 100; one that failed or was cancelled keeps the fraction it
  // reached.
  virtual std::int32_t getProgressTrashBin() = 0;
  virtual std::int32_t getProgressDiskSpace() = 0;
  virtual std::int32_t getProgressMFTSpace() = 0;
  virtual std::int32_t getProgressCluterTips() = 0;
  virtual std::int32_t getProgressFileEntries() = 0;

  // Empties `out` and appends the path of the file the cluster-tip wipe is
  // working on. Nothing when `out` is null.
  virtual void getCurrentFile(s::str::strbuffer::StrBuffer* out) = 0;

  // Appends a copy of `text` (zero-terminated; null is ignored) to the
  // message list. The engine itself adds none.
  virtual void addMessage(const char16_t* text) = 0;

  // A new list (from its pool, owned by the caller) holding copies of the
  // messages.
  virtual s::str::strarray::StrArray* getMessages() = 0;
};

}  // namespace s::file::wiper
