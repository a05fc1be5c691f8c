#pragma once

#include <cstdint>

#include "col/_array/NumberArray.h"
#include "thread/Pooled.h"

namespace s::col::_array {

// A growable array of std::uint8_t (see ArrayBase for the rules every operation
// keeps). Pooled (cap 1000): ArrayU08::create() / release().
class ArrayU08 : public NumberArray<std::uint8_t> {
  VONQ_POOLED(ArrayU08, s::thread::kPoolCap)

 public:
  ArrayU08() = default;

  const char16_t* getClassName() const override { return u"s_col__array_ArrayU08"; }
  // The process-wide s::comp::CompU08.
  const s::base::IComparator* getComparator() const override;
};

}  // namespace s::col::_array
