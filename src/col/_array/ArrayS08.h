#pragma once

#include <cstdint>

#include "col/_array/NumberArray.h"
#include "thread/Pooled.h"

namespace s::col::_array {

// A growable array of std::int8_t (see ArrayBase for the rules every operation
// keeps). Pooled (cap 1000): ArrayS08::create() / release().
class ArrayS08 : public NumberArray<std::int8_t> {
  VONQ_POOLED(ArrayS08, s::thread::kPoolCap)

 public:
  ArrayS08() = default;

  const char16_t* getClassName() const override { return u"s_col__array_ArrayS08"; }
  // The process-wide s::comp::CompS08.
  const s::base::IComparator* getComparator() const override;
};

}  // namespace s::col::_array
