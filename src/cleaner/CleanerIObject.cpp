#include "cleaner/CleanerIObject.h"

#include "base/IObject.h"

namespace s::cleaner {

CleanerIObject& CleanerIObject::instance() {
  // Never deleted: stateless, and usable by whatever still disposes of
  // objects while the process ends.
  static CleanerIObject* const cleaner = new CleanerIObject();
  return *cleaner;
}

void CleanerIObject::destroy(void** slot) {
  if (slot == nullptr || *slot == nullptr) return;
  delete static_cast<s::base::IObject*>(*slot);
  *slot = nullptr;
}

}  // namespace s::cleaner
