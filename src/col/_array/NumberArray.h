#pragma once

#include <cstdint>

#include "col/_array/ArrayBase.h"
#include "str/IStr.h"

namespace s::col::_array {

// The common part of the arrays of numbers (ArrayU08, ArrayS08, ArrayU32,
// ArrayS32): typed one-element operations, the decimal text form and the
// hexadecimal XML form of an element (two digits per byte, lower case).
template <class T>
class NumberArray : public ArrayBase {
  static_assert(sizeof(T) == 1 || sizeof(T) == 4, "bytes or 32-bit numbers");

 public:
  NumberArray() : ArrayBase(sizeof(T) == 1 ? 0 : 2) {}

  // Appends one value (fast path); false when storage could not be had.
  bool add(T value) { return addValue<T>(value); }
  // Element i; 0 when i is not below the length.
  T get(std::uint32_t i) const { return valueAt<T>(i); }
  // Removes element i and returns it; 0 when i is not below the length.
  T removeAt(std::uint32_t i) { return removeValueAt<T>(i); }
  // Removes the last element into `out`; false when empty.
  bool popLast(T& out) { return popLastValue<T>(out); }
  using ArrayBase::popLast;
  // Linear search for the exact value; outIndex -1 when absent.
  bool indexOf(T value, std::int64_t& outIndex) const { return indexOfValue<T>(value, outIndex); }
  // The storage as values (null before any exists).
  T* values() { return static_cast<T*>(data()); }
  const T* values() const { return static_cast<const T*>(data()); }

  std::uint32_t typeCode() const override { return 5; }
  std::uint32_t typeDescriptor() const override { return sizeof(T) | (T(-1) < T(0) ? 0x100u : 0u); }
  void appendElementText(s::str::IStr& out, const void* element) const override {
    out.appendNumber(*static_cast<const T*>(element));
  }
  void appendElementXml(s::str::IStr& out, const void* element) const override {
    out.appendHex(static_cast<const T*>(element), 1);
  }
};

}  // namespace s::col::_array
