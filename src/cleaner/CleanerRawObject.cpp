#include "cleaner/CleanerRawObject.h"

#include <cstdlib>

namespace s::cleaner {

CleanerRawObject& CleanerRawObject::instance() {
  // Never deleted: stateless, and usable by whatever still disposes of
  // objects while the process ends.
  static CleanerRawObject* const cleaner = new CleanerRawObject();
  return *cleaner;
}

void CleanerRawObject::destroy(void** slot) {
  if (slot == nullptr || *slot == nullptr) return;
  std::free(*slot);
  *slot = nullptr;
}

}  // namespace s::cleaner
