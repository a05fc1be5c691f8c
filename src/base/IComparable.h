#pragma once

#include <cstdint>

namespace s::base {

class IComparator;

// Ordering, equality and hashing shared by every framework object.
//
// Every operation takes an optional comparator; when one is given it decides
// alone, receiving (this, other) as its two IComparable pointers. Without
// one, the defaults below use identity: an object equals only itself.
// Classes with a value (strings, arrays) override them. Overrides keep the
// `= nullptr` default of the comparator argument. None of the operations
// throws; which thread may call them is the object's owner's rule (the
// defaults read nothing but addresses and are safe from any thread).
class IComparable {
 public:
  virtual ~IComparable() = default;

  // -1, 0 or 1. With a comparator: comparator->compare(this, other). Without
  // one: 0 for the same object, -1 when this object's address is lower than
  // other's (a null other is lower than every object), 1 otherwise.
  virtual int compareTo(const IComparable* other, const IComparator* comparator = nullptr) const;

  // With a comparator: comparator->compareIgnoreCase(this, other); without
  // one: compareTo(other, nullptr).
  virtual int compareToIgnoreCase(const IComparable* other,
                                  const IComparator* comparator = nullptr) const;

  // With a comparator: comparator->compare(this, other) == 0; without one:
  // compareTo(other, nullptr) == 0.
  virtual bool equals(const IComparable* other, const IComparator* comparator = nullptr) const;

  // With a comparator: comparator->compareIgnoreCase(this, other) == 0;
  // without one: compareToIgnoreCase(other, nullptr) == 0.
  virtual bool equalsIgnoreCase(const IComparable* other,
                                const IComparator* comparator = nullptr) const;

  // A 32-bit hash consistent with equals(other, nullptr). The default gives
  // one value per class (every object of a class without an override hashes
  // alike).
  virtual std::uint32_t hashCode() const;

  // A 32-bit hash consistent with equalsIgnoreCase; by default hashCode().
  virtual std::uint32_t hashCodeIgnoreCase() const { return hashCode(); }
};

}  // namespace s::base
