#include "comp/CompP.h"

#include <cstdint>

#include "comp/ElementOrder.h"

namespace s::comp {

CompP& CompP::instance() {
  static CompP* const comparator = new CompP();
  return *comparator;
}

int CompP::compare(const void* a, const void* b) const {
  return compareElements<std::uintptr_t>(a, b);
}

}  // namespace s::comp
