#pragma once

#include <cstdint>

#include "col/_array/ArrayBase.h"
#include "thread/Pooled.h"

namespace s::base {
class IDestructor;
}

namespace s::col::_array {

// An array of pointers (void*, each the owner's own pointer kind converted
// to void*). With a disposer it owns its elements: the elements it drops
// (dropLast, dropFirst, removeRange), those left in it when it is reset,
// its storage is freed or it is destroyed, go through the disposer exactly
// once. clear(), setLength(), writeAt(), truncateHere() and the operations that hand
// elements to the caller (removeAt, popLast, popFirst, takeRange) dispose of
// nothing.
//
// Pooled (cap 1000): ArrayP::create() / release(). A pooled array comes back
// empty, without storage and without a disposer.
class ArrayP : public ArrayBase {
  VONQ_POOLED(ArrayP, s::thread::kPoolCap)

 public:
  // Sort order of two elements: negative, zero or positive.
  using SortFn = int (*)(void* a, void* b, void* userData);
  // Class name of an element for the debug text.
  using NameFn = const char16_t* (*)(const void* element);

  ArrayP();
  ~ArrayP() override;

  // The disposer of the elements (null: the array owns none). Set it while
  // the array is empty, or when its elements are already of that kind.
  void setDisposer(s::base::IDestructor* disposer) { disposer_ = disposer; }
  s::base::IDestructor* getDisposer() const { return disposer_; }

  // How the debug text names an element: without a namer only the address
  // is shown (the elements' kind is the owner's business).
  void setElementNamer(NameFn namer) { namer_ = namer; }

  // Appends one pointer (fast path). False when storage could not be had;
  // the element then still belongs to the caller.
  bool add(void* element) { return addValue<void*>(element); }
  // Element i; null when i is not below the length.
  void* get(std::uint32_t i) const { return valueAt<void*>(i); }
  template <class T>
  T* getAs(std::uint32_t i) const {
    return static_cast<T*>(get(i));
  }
  // Removes element i and returns it, not disposed of (the caller owns it
  // now); null when i is not below the length.
  void* removeAt(std::uint32_t i) { return removeValueAt<void*>(i); }
  // Removes the last element into `out` (not disposed of); false when empty.
  bool popLast(void*& out) { return popLastValue<void*>(out); }
  using ArrayBase::popLast;
  // Linear search for the exact pointer; outIndex -1 when absent.
  bool indexOf(const void* element, std::int64_t& outIndex) const {
    return indexOfValue<void*>(const_cast<void*>(element), outIndex);
  }
  // The storage as pointers (null before any exists).
  void** items() { return static_cast<void**>(data()); }

  // Stable merge sort of the elements (ties keep their order). False when
  // the scratch buffer could not be had (the order is then unchanged).
  bool sort(SortFn compare, void* userData = nullptr, bool descending = false);

  // Stable merge sort of `count` pointers in place, through a scratch copy.
  // Ranges of up to 6 are sorted by insertion; halves already in order are
  // copied as they are. False (nothing changed) when the scratch buffer
  // could not be had or an argument is null. Any thread (no shared state).
  static bool sortPointers(void** array, std::uint32_t count, SortFn compare, void* userData,
                           bool descending);

  const char16_t* getClassName() const override { return u"s_col__array_ArrayP"; }
  std::uint32_t typeCode() const override { return 5; }
  std::uint32_t typeDescriptor() const override;
  // "<class name>(<address in decimal>)"; without a namer "(<address>)".
  void appendElementText(s::str::IStr& out, const void* element) const override;
  // Pointers have no XML form: nothing is written.
  void appendElementXml(s::str::IStr& out, const void* element) const override;
  const s::base::IComparator* getComparator() const override;

  // Disposes of every element, frees the storage, forgets disposer and namer.
  void reset() override;

 protected:
  void disposeRange(std::uint32_t at, std::uint32_t count) override;

 private:
  s::base::IDestructor* disposer_ = nullptr;
  NameFn namer_ = nullptr;
};

}  // namespace s::col::_array
