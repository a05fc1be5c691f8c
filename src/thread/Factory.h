#pragma once

#include "thread/PoolerBase.h"

namespace s::thread {

// The PoolerBase that concrete record factories derive from; it differs
// only in its class name. Subclasses still call clear() in their destructor.
class Factory : public PoolerBase {
 public:
  const char16_t* getClassName() const override { return u"s_thread_Factory"; }
};

}  // namespace s::thread
