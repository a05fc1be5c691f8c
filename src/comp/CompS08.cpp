#include "comp/CompS08.h"

#include <cstdint>

#include "comp/ElementOrder.h"

namespace s::comp {

CompS08& CompS08::instance() {
  static CompS08* const comparator = new CompS08();
  return *comparator;
}

int CompS08::compare(const void* a, const void* b) const {
  return compareElements<std::int8_t>(a, b);
}

}  // namespace s::comp
