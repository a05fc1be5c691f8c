#include "os/Http.h"

namespace s::os {

namespace {
std::atomic<Http*> installed{nullptr};
}  // namespace

Http& http() {
  Http* current = installed.load(std::memory_order_acquire);
  return current != nullptr ? *current : platformHttp();
}

Http* setHttp(Http* replacement) {
  Http* previous = installed.exchange(replacement, std::memory_order_acq_rel);
  return previous != nullptr ? previous : &platformHttp();
}

}  // namespace s::os
