#pragma once

#include <cstdint>

#include "base/IObject.h"
#include "thread/IPoolable.h"

namespace s::col {

// A position in a sequence of elements: an index that is -1 before the first
// element and the length after the last. next() and previous() return
// pointers to elements in the container's storage (valid until the
// container changes). Pooled: release() gives the iterator back.
//
// An iterator is used by one thread at a time, the one that owns its
// container. Nothing here throws, and nothing reads outside the container:
// moves past either end are refused (next/previous return null) or clamped
// (skip, setIndex).
class IteratorBase : public virtual s::base::IObject, public virtual s::thread::IPoolable {
 public:
  ~IteratorBase() override = default;

  // The current index: -1 before the first element, length() after the last.
  virtual std::int64_t getIndex() const = 0;

  // Moves the index, clamped to [-1, length].
  virtual void setIndex(std::int64_t i) = 0;

  // True when next() would return an element (index < length - 1).
  virtual bool hasNext() const = 0;

  // True when previous() would return an element (index > 0).
  virtual bool hasPrevious() const = 0;

  // Move the index by `n` elements, clamped to [-1, length].
  virtual void skipForward(std::uint32_t n) = 0;
  virtual void skipBack(std::uint32_t n) = 0;

  // Advances to the next element and returns a pointer to it; null (and no
  // move) when there is none.
  virtual void* next() = 0;

  // Steps back to the previous element and returns a pointer to it; null
  // (and no move) when there is none.
  virtual void* previous() = 0;
};

}  // namespace s::col
