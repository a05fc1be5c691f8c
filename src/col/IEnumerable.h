#pragma once

#include <cstdint>

namespace s::col {

class IteratorBase;

// Something whose elements can be walked with pooled iterators. Each
// iterator returned is new and owned by the caller, who gives it back with
// release(); it reads the container live, so the container must outlive it.
// Never null, never throws. The thread that owns the container.
class IEnumerable {
 public:
  virtual ~IEnumerable() = default;

  // Before the first element: next() returns element 0.
  virtual IteratorBase* iterator() = 0;

  // After the last element: previous() returns the last element.
  virtual IteratorBase* iteratorAtEnd() = 0;

  // So that next() returns element `i` (clamped to the length: beyond it the
  // iterator stands at the end).
  virtual IteratorBase* iteratorAt(std::uint32_t i) = 0;

  // So that previous() returns the element `n` places from the end (n = 1:
  // the last; n = 0: the same as iteratorAtEnd; beyond the length: before
  // the first element).
  virtual IteratorBase* iteratorFromEnd(std::uint32_t n) = 0;

  // Pointer to element `i` in the storage, or null when `i` is not below the
  // length. Valid until the container changes.
  virtual void* elementPointer(std::uint32_t i) = 0;
};

}  // namespace s::col
