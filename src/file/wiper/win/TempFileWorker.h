#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

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
  // false to stop the worker (waiting up to 5000 ms for it).
  using Poll = std::function<bool(std::int32_t percent)>;

  // Destroys `paths` in their order and returns when the worker has ended
  // (or was stopped through `poll`, which may be empty). Entries that are
  // gone already are skipped by the worker. Never throws. Engine's thread.
  static void destroy(const std::vector<std::u16string>& paths, const Counts& counts,
                      const Poll& poll);

  // The engine's polling period while it waits for a worker.
  static constexpr std::uint32_t kPollMillis = 100;
};

}  // namespace s::file::wiper::win
