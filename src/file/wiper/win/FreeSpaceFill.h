#pragma once

#include <cstdint>

namespace s::file::wiper::win {

class EngineOperation;

// The DiskSpace operation: takes up the drive's whole free space with the
// two large temporary files (LargeTempFiles), overwrites them with
// pseudorandom data, and has them destroyed by a temporary-file worker.
// Live files are never touched. Engine's thread only.
class FreeSpaceFill {
 public:
  // `freeBytes` is the engine's record of the drive's free bytes, read at
  // the start of the run.
  FreeSpaceFill(EngineOperation& operation, std::uint64_t& freeBytes)
      : operation_(operation), freeBytes_(freeBytes) {}

  // True when the whole free space was written (also when there was none,
  // in which case no file is made). False when a file could not be made,
  // sized or written (the disk filled, the drive went away), when no fill
  // buffer could be had, or when the operation was cancelled (its skip
  // flag: the running write stops at its next chunk, the second file is
  // then neither sized nor written). Whatever the result, every file made
  // is destroyed before it returns. The progress runs from 0.0 to 1.0 over
  // the bytes written and keeps the fraction reached on failure.
  bool run();

 private:
  bool fill(class LargeTempFiles& files, std::uint8_t* buffer);

  EngineOperation& operation_;
  std::uint64_t& freeBytes_;
};

}  // namespace s::file::wiper::win
