#pragma once

#include "base/IDestructor.h"

namespace s::cleaner {

// Disposer for raw C-heap storage: frees the memory without running any
// destructor. Stateless; one process-wide instance.
class CleanerRawObject final : public s::base::IDestructor {
 public:
  // The process-wide instance, created on first use (safe under concurrent
  // first use). Any thread.
  static CleanerRawObject& instance();

  // `*slot` holds a block from malloc/calloc/realloc: frees it and nulls the
  // slot. An empty slot is left alone. Any thread.
  void destroy(void** slot) override;
};

}  // namespace s::cleaner
