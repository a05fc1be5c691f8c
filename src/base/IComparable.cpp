#include "base/IComparable.h"

#include <functional>
#include <typeinfo>

#include "base/IComparator.h"

namespace s::base {

int IComparable::compareTo(const IComparable* other, const IComparator* comparator) const {
  if (comparator != nullptr) return comparator->compare(this, other);
  if (other == this) return 0;
  return std::less<const IComparable*>()(this, other) ? -1 : 1;
}

int IComparable::compareToIgnoreCase(const IComparable* other,
                                     const IComparator* comparator) const {
  if (comparator != nullptr) return comparator->compareIgnoreCase(this, other);
  return compareTo(other, nullptr);
}

bool IComparable::equals(const IComparable* other, const IComparator* comparator) const {
  if (comparator != nullptr) return comparator->compare(this, other) == 0;
  return compareTo(other, nullptr) == 0;
}

bool IComparable::equalsIgnoreCase(const IComparable* other, const IComparator* comparator) const {
  if (comparator != nullptr) return comparator->compareIgnoreCase(this, other) == 0;
  return compareToIgnoreCase(other, nullptr) == 0;
}

std::uint32_t IComparable::hashCode() const {
  const std::size_t h = typeid(*this).hash_code();
  return static_cast<std::uint32_t>(h ^ (static_cast<std::uint64_t>(h) >> 32));
}

}  // namespace s::base
