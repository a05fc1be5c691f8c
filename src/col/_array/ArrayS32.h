#pragma once

#include <cstdint>

#include "col/_array/NumberArray.h"
#include "thread/Pooled.h"

namespace s::col::_array {

// A growable array of std::int32_t (see ArrayBase for the rules every operation
// keeps). Pooled (cap 1000): ArrayS32::create() / release().
class ArrayS32 : public NumberArray<std::int32_t> {
  VONQ_POOLED(ArrayS32, s::thread::kPoolCap)

 public:
  ArrayS32() = default;

  const char16_t* getClassName() const override { return u"s_col__array_ArrayS32"; }
  // The process-wide s::comp::CompS32.
  const s::base::IComparator* getComparator() const override;
};

}  // namespace s::col::_array
