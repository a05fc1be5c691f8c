#pragma once

#include <memory>
#include <string>

#include "str/strbuffer/StrBuffer.h"

namespace vonq::test {

// Gives a pooled object back when the test is done with it.
struct Releaser {
  template <class T>
  void operator()(T* object) const {
    if (object != nullptr) object->release();
  }
};

template <class T>
using Owned = std::unique_ptr<T, Releaser>;

using Str = Owned<s::str::strbuffer::StrBuffer>;

inline Str makeStr(const char16_t* text = u"") {
  return Str(s::str::strbuffer::StrBuffer::fromText(text));
}

inline std::u16string textOf(const s::str::strbuffer::StrBuffer& s) {
  return std::u16string(s.view());
}

}  // namespace vonq::test
