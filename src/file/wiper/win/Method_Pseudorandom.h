#pragma once

#include "file/wiper/IMethod.h"
#include "thread/Pooled.h"

namespace s::file::wiper::win {

// The fill method that writes fresh pseudorandom bytes (s::file::wiper::Random)
// over the range, one pass, chunk by chunk: each chunk is generated right
// before it is written and the file is flushed after every chunk, so the
// data reaches the device before the next chunk is made. Pooled (cap 1000);
// no state.
class Method_Pseudorandom : public s::file::wiper::IMethod, public virtual s::thread::IPoolable {
  VONQ_POOLED(Method_Pseudorandom, s::thread::kPoolCap)
 public:
  Method_Pseudorandom() = default;

  // See IMethod::write. False when the stop flag was seen before the range
  // was complete, when a write or flush failed or was short, when the file
  // position could not be set, or when there is no buffer for a non-empty
  // range; `*progress` then keeps the fraction reached.
  bool write(s::os::File& file, std::uint64_t end, std::uint8_t* buffer, std::int32_t bufferSize,
             float progressFrom, float progressTo, std::atomic<float>* progress,
             const std::atomic<std::uint8_t>* stopFlag, std::uint64_t start) override;

  void reset() override {}
  const char16_t* getClassName() const override { return u"s_file_wiper_win_Method_Pseudorandom"; }
};

}  // namespace s::file::wiper::win
