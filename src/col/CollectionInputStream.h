#pragma once

#include <cstdint>

#include "base/IObject.h"
#include "io/IInputStream.h"
#include "thread/Pooled.h"

namespace s::col::_array {
class ArrayBase;
}

namespace s::col {

// An input stream over the used bytes of an array, with a position of its
// own (the array's own stream position is not touched). It reads the array
// live and clamps its position to the array's current byte size, so it
// never reads outside the array even when the array shrinks. Pooled
// (cap 1000): ArrayBase::openInputStream() hands them out; release() gives
// one back. The array must outlive the stream. One thread at a time.
class CollectionInputStream : public virtual s::base::IObject, public s::io::IInputStream {
  VONQ_POOLED(CollectionInputStream, s::thread::kPoolCap)

 public:
  CollectionInputStream() = default;

  // Starts reading `array` (may be null: an empty stream) from byte 0.
  void open(const s::col::_array::ArrayBase* array);

  bool read(void* buffer, std::uint32_t count, std::uint32_t& outCount) override;
  // Detaches from the array: the stream is empty from then on.
  void close() override;
  std::uint64_t getPosition() override { return position_; }
  bool isSeekable() override { return true; }
  bool seekToStart() override;
  bool seekToEnd() override;
  bool seek(std::uint64_t position) override;
  bool seekFromEnd(std::uint64_t n) override;
  bool forward(std::uint64_t n) override;
  bool backward(std::uint64_t n) override;

  const char16_t* getClassName() const override { return u"s_col_CollectionInputStream"; }
  // No array, position 0.
  void reset() override;

 private:
  std::uint64_t size() const;
  bool moveTo(std::uint64_t position);

  const s::col::_array::ArrayBase* array_ = nullptr;
  std::uint64_t position_ = 0;
};

}  // namespace s::col
