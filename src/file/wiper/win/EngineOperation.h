#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "os/FileSystem.h"

namespace s::file::wiper::win {

// What one operation of the drive wipe engine works with: the drive's root
// (with its trailing separator), the operation's progress value (0.0 to 1.0,
// read by the caller's thread) and its skip flag, which doubles as its
// cancel flag (set by the caller's thread). Used on the engine's thread only.
class EngineOperation {
 public:
  EngineOperation(std::u16string_view root, std::atomic<float>& progress,
                  const std::atomic<std::uint8_t>& skip)
      : root_(root), progress_(progress), skip_(skip) {}

  const std::u16string& root() const { return root_; }

  // root + `name`: a temporary entry in the drive's root folder.
  std::u16string inRoot(std::u16string_view name) const { return root_ + std::u16string(name); }

  // `folder` + separator + `name`.
  static std::u16string join(std::u16string_view folder, std::u16string_view name) {
    std::u16string path(folder);
    path += s::os::fileSystem().separator();
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

 private:
  std::u16string root_;
  std::atomic<float>& progress_;
  const std::atomic<std::uint8_t>& skip_;
};

}  // namespace s::file::wiper::win
