#include "comp/CompS32.h"

#include <cstdint>

#include "comp/ElementOrder.h"

namespace s::comp {

CompS32& CompS32::instance() {
  static CompS32* const comparator = new CompS32();
  return *comparator;
}

int CompS32::compare(const void* a, const void* b) const {
  return compareElements<std::int32_t>(a, b);
}

}  // namespace s::comp
