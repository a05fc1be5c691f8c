#pragma once

#include "file/wiper/IMethod.h"
#include "thread/Pooled.h"

namespace s::file::wiper::win {

// The fill method that writes nothing: for files whose data is already
// random or does not matter, when only the later truncation, renaming and
// deletion steps are wanted. Pooled (cap 1000); no state.
class Method_None : public s::file::wiper::IMethod, public virtual s::thread::IPoolable {
  VONQ_POOLED(Method_None, s::thread::kPoolCap)
 public:
  Method_None() = default;

  // Returns true at once; touches neither the file nor `progress`.
  bool write(s::os::File& file, std::uint64_t end, std::uint8_t* buffer, std::int32_t bufferSize,
             float progressFrom, float progressTo, std::atomic<float>* progress,
             const std::atomic<std::uint8_t>* stopFlag, std::uint64_t start) override;

  void reset() override {}
  const char16_t* getClassName() const override { return u"s_file_wiper_win_Method_None"; }
};

}  // namespace s::file::wiper::win
