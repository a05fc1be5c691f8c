#pragma once

namespace s::base {

// An ordering of objects kept outside the objects themselves. Comparators are
// usually process-wide singletons shared by every thread, so their operations
// are const and must not change shared state.
//
// What `a` and `b` point at is the caller's convention: an object's own
// compareTo/equals pass the two IComparable pointers (this, other); array
// sorting passes pointers to the two elements.
class IComparator {
 public:
  virtual ~IComparator() = default;

  // -1 when a orders before b, 0 when they are equal, 1 when a orders after b.
  // Never throws. Any thread.
  virtual int compare(const void* a, const void* b) const = 0;

  // The same ordering with letter case ignored; by default compare(a, b).
  // Never throws. Any thread.
  virtual int compareIgnoreCase(const void* a, const void* b) const { return compare(a, b); }
};

}  // namespace s::base
