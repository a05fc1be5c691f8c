#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "file/wiper/OperationReport.h"
#include "os/FileSystem.h"

namespace s::file::wiper::win {

// What one operation of the drive wipe engine works with: the drive's root
// (with its trailing separator), the largest file the volume holds, the
// operation's progress value (0.0 to 1.0, read by the caller's thread), its
// skip flag, which doubles as its cancel flag (set by the caller's thread),
// and the report the operation fills in. Used on the engine's thread only.
class EngineOperation {
 public:
  // No limit on a file's size.
  static constexpr std::uint64_t kNoSizeLimit = ~std::uint64_t{0};

  EngineOperation(std::u16string_view root, std::atomic<float>& progress,
                  const std::atomic<std::uint8_t>& skip, std::uint64_t maxFileSize = kNoSizeLimit)
      : root_(root), progress_(progress), skip_(skip), maxFileSize_(maxFileSize) {}

  const std::u16string& root() const { return root_; }

  // root + `name`: a temporary entry in the drive's root folder.
  std::u16string inRoot(std::u16string_view name) const { return root_ + std::u16string(name); }

  // `folder` + separator + `name` (no second separator after a root).
  static std::u16string join(std::u16string_view folder, std::u16string_view name) {
    std::u16string path(folder);
    if (path.empty() || path.back() != s::os::fileSystem().separator()) {
      path += s::os::fileSystem().separator();
    }
    path += name;
    return path;
  }

  // True once the caller disabled the operation or stopped the engine.
  bool cancelled() const { return skip_.load(std::memory_order_relaxed) != 0; }

  float progress() const { return progress_.load(std::memory_order_relaxed); }
  void setProgress(float value) { progress_.store(value, std::memory_order_relaxed); }
  std::atomic<float>& progressValue() { return progress_; }
  const std::atomic<std::uint8_t>& skipFlag() const { return skip_; }

  // All free bytes of the drive; 0 when they cannot be read.
  std::uint64_t freeBytes() const { return s::os::fileSystem().freeBytes(root_); }

  // The volume's NTFS facts (see FileSystem::ntfsVolumeData). A read that
  // meets the MFT while the driver rewrites it can come back torn, so a
  // failure other than a refusal (no permission, not NTFS) is tried again
  // a few times. False when they cannot be had.
  bool volumeData(s::os::NtfsVolumeData& out) const;

  // The largest size one file may have on the volume (4 GiB - 1 on FAT).
  std::uint64_t maxFileSize() const { return maxFileSize_; }

  // What the operation did; the engine publishes it when the operation ends.
  s::file::wiper::OperationReport& report() { return report_; }

 private:
  std::u16string root_;
  std::atomic<float>& progress_;
  const std::atomic<std::uint8_t>& skip_;
  std::uint64_t maxFileSize_;
  s::file::wiper::OperationReport report_;
};

}  // namespace s::file::wiper::win
