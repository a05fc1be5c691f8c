#include "comp/CompU08.h"

#include <cstdint>

#include "comp/ElementOrder.h"

namespace s::comp {

CompU08& CompU08::instance() {
  static CompU08* const comparator = new CompU08();
  return *comparator;
}

int CompU08::compare(const void* a, const void* b) const {
  return compareElements<std::uint8_t>(a, b);
}

}  // namespace s::comp
