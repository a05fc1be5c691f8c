#pragma once

#include <cstdint>

#include "col/_array/NumberArray.h"
#include "thread/Pooled.h"

namespace s::col::_array {

// A growable array of std::uint32_t (see ArrayBase for the rules every operation
// keeps). Pooled (cap 1000): ArrayU32::create() / release().
class ArrayU32 : public NumberArray<std::uint32_t> {
  VONQ_POOLED(ArrayU32, s::thread::kPoolCap)

 public:
  ArrayU32() = default;

  const char16_t* getClassName() const override { return u"s_col__array_ArrayU32"; }
  // The process-wide s::comp::CompU32.
  const s::base::IComparator* getComparator() const override;
};

}  // namespace s::col::_array
