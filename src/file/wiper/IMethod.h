#pragma once

#include <atomic>
#include <cstdint>

#include "base/IObject.h"

namespace s::os {
class File;
}

namespace s::file::wiper {

// A fill method: decides what is written into a range of a file being wiped.
class IMethod : public virtual s::base::IObject {
 public:
  // Size of the scratch buffer the callers hand to write(): a multiple of 15,
  // 512 and 4096.
  static constexpr std::int32_t kBufferSize = 10567680;

  ~IMethod() override = default;

  // Writes the range [start, end) of `file` (open with write access; the
  // file grows when `end` lies past its end, and the caller restores lengths
  // itself), chunk by chunk through the caller's scratch `buffer` of
  // `bufferSize` bytes. After each chunk `*progress` becomes
  // min(progressFrom + done / span × (progressTo − progressFrom), progressTo).
  // `*stopFlag` (non-zero: stop) is set by another thread to cancel; it is
  // read (relaxed) before and after each chunk. `progress` may be null. Returns true when the whole
  // range was written (an empty range is always true and touches nothing). Never allocates, never
  // throws. Runs on the calling (worker) thread.
  virtual bool write(s::os::File& file, std::uint64_t end, std::uint8_t* buffer,
                     std::int32_t bufferSize, float progressFrom, float progressTo,
                     std::atomic<float>* progress, const std::atomic<std::uint8_t>* stopFlag,
                     std::uint64_t start) = 0;
};

}  // namespace s::file::wiper
