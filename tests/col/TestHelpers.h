#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "base/IDestructor.h"
#include "col/_array/ArrayBase.h"

namespace vonq::test {

// A disposer that only counts: how often each pointer was handed to it.
class CountingDisposer : public s::base::IDestructor {
 public:
  void destroy(void** slot) override {
    if (slot == nullptr || *slot == nullptr) return;
    ++calls[*slot];
    *slot = nullptr;
  }
  int total() const {
    int n = 0;
    for (const auto& [p, c] : calls) n += c;
    return n;
  }
  std::map<void*, int> calls;
};

// The elements of a typed array as a vector.
template <class T>
std::vector<T> contents(const s::col::_array::ArrayBase& a) {
  std::vector<T> out(a.length());
  a.copyOut(out.data(), 0, 0);
  return out;
}

// UTF-16 text as a byte string for readable failure messages.
inline std::string narrow(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

}  // namespace vonq::test
