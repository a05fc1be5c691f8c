#include "thread/ObjLocker.h"

#include <cstdlib>

#include "base/IDestructor.h"

namespace s::thread {

ObjLocker::~ObjLocker() {
  disposeHeld();
}

void ObjLocker::setHeld(void* held, Deleter deleter) {
  disposeHeld();
  held_ = held;
  deleter_ = deleter;
}

void ObjLocker::setHeld(void* held, s::base::IDestructor* disposer) {
  disposeHeld();
  held_ = held;
  disposer_ = disposer;
}

void ObjLocker::disposeHeld() {
  if (held_ != nullptr) {
    if (deleter_ != nullptr) {
      deleter_(held_);
    } else if (disposer_ != nullptr) {
      disposer_->destroy(&held_);
    } else {
      std::free(held_);
    }
  }
  held_ = nullptr;
  deleter_ = nullptr;
  disposer_ = nullptr;
}

}  // namespace s::thread
