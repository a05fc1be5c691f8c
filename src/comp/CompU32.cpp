#include "comp/CompU32.h"

#include <cstdint>

#include "comp/ElementOrder.h"

namespace s::comp {

CompU32& CompU32::instance() {
  static CompU32* const comparator = new CompU32();
  return *comparator;
}

int CompU32::compare(const void* a, const void* b) const {
  return compareElements<std::uint32_t>(a, b);
}

}  // namespace s::comp
