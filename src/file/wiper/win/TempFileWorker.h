#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "file/wiper/Shortfall.h"

namespace s::file::wiper::win {

// Hands the engine's temporary files and folders to a temporary-file worker
// (Wiper with Method_None: their data is random already or does not
// matter) and waits for it on the calling thread.
class TempFileWorker {
 public:
  // How often the worker cuts, renames, scrambles the attributes of and
  // re-times each entry before deleting it.
  struct Counts {
    std::int32_t truncate = 2;
    std::int32_t rename = 2;
    std::int32_t attribute = 2;
    std::int32_t time = 2;
  };

  // Called after every 100 ms of waiting with the worker's percent; returns
  // false to stop the worker (waiting for it).
  using Poll = std::function<bool(std::int32_t percent)>;

  // Destroys `paths` in their order and returns when the worker has ended
  // (or was stopped through `poll`, which may be empty). Entries that are
  // gone already are skipped by the worker. Whatever the worker leaves -
  // also everything, when it refuses to start or cannot be had - is then
  // deleted plainly, so that nothing of the run stays on the drive.
  // Returns None when every path is gone, WorkerRefused when the worker
  // would not start (the paths were deleted plainly), LeftBehind when some
  // entry could not be deleted at all; `left` (may be null) receives how
  // many of `paths` are still there; `ids` (may be null) gets the file ids
  // of those that were there when it began (see
  // OperationReport::ownEntries). Never throws. Engine's thread.
  static Shortfall destroy(const std::vector<std::u16string>& paths, const Counts& counts,
                           const Poll& poll, std::uint64_t* left = nullptr,
                           std::vector<std::uint64_t>* ids = nullptr);

  // Deletes `path` (a folder with everything in it; a link itself) without
  // further ado. True when nothing of that name is left.
  static bool removePlainly(const std::u16string& path);

  // The engine's polling period while it waits for a worker.
  static constexpr std::uint32_t kPollMillis = 100;
};

}  // namespace s::file::wiper::win
