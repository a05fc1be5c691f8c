#pragma once

#include <cstring>

namespace s::comp {

// -1, 0, 1 comparing the values of type T that a and b point at (read with
// memcpy, so unaligned elements are fine); a null pointer orders before any
// value and two nulls are equal.
template <class T>
int compareElements(const void* a, const void* b) {
  if (a == nullptr || b == nullptr) return (a == nullptr ? 0 : 1) - (b == nullptr ? 0 : 1);
  T x;
  T y;
  std::memcpy(&x, a, sizeof(T));
  std::memcpy(&y, b, sizeof(T));
  return x < y ? -1 : (y < x ? 1 : 0);
}

}  // namespace s::comp
