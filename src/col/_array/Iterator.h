#pragma once

#include <cstdint>

#include "col/IteratorBase.h"
#include "thread/Pooled.h"

namespace s::col::_array {

class ArrayBase;

// The iterator of the arrays (see IteratorBase). It reads the array live
// (its length and storage at each step), so the array may grow or shrink
// between steps without the iterator reading outside it. Pooled (cap 1000):
// the arrays' iterator factories hand them out; release() gives one back.
class Iterator : public IteratorBase {
  VONQ_POOLED(Iterator, s::thread::kPoolCap)

 public:
  Iterator() = default;

  // Points the iterator at `array` with the index `index` (clamped).
  void open(ArrayBase* array, std::int64_t index);
  ArrayBase* getArray() const { return array_; }

  // The index, clamped to the array's current length.
  std::int64_t getIndex() const override;
  void setIndex(std::int64_t i) override;
  bool hasNext() const override;
  bool hasPrevious() const override;
  void skipForward(std::uint32_t n) override;
  void skipBack(std::uint32_t n) override;
  void* next() override;
  void* previous() override;

  const char16_t* getClassName() const override { return u"s_col_array_Iterator"; }
  // Index -1, no array.
  void reset() override;

 private:
  std::int64_t length() const;

  ArrayBase* array_ = nullptr;
  std::int64_t index_ = -1;
};

}  // namespace s::col::_array
