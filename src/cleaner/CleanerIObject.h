#pragma once

#include "base/IDestructor.h"

namespace s::cleaner {

// Disposer for framework objects that are not pooled: deletes them through
// their virtual destructor. Stateless; one process-wide instance.
class CleanerIObject final : public s::base::IDestructor {
 public:
  // The process-wide instance, created on first use (safe under concurrent
  // first use). Any thread.
  static CleanerIObject& instance();

  // `*slot` holds an s::base::IObject* converted to void* (a pointer to the
  // IObject face, not to a derived class): deletes the object and nulls the
  // slot. An empty slot is left alone. Any thread.
  void destroy(void** slot) override;
};

}  // namespace s::cleaner
