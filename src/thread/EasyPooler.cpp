#include "thread/EasyPooler.h"

#include <algorithm>

namespace s::thread {

EasyPooler::EasyPooler(std::int32_t maxCount, CreateFn createFn, DisposeFn disposeFn,
                       ResetFn resetFn)
    : maxCount_(maxCount), createFn_(createFn), disposeFn_(disposeFn), resetFn_(resetFn) {}

EasyPooler::~EasyPooler() {
  disposeAll(freeList_);
}

void* EasyPooler::take() {
  {
    ObjLocker::Guard guard(lock_);
    if (!freeList_.empty()) return freeList_.pop();
  }
  return createFn_ != nullptr ? createFn_() : nullptr;
}

void EasyPooler::giveBack(void* object) {
  if (object == nullptr) return;
  {
    ObjLocker::Guard guard(lock_);
    if (freeList_.size() < static_cast<std::size_t>(std::max(maxCount_, 0))) {
      if (resetFn_ != nullptr) resetFn_(object);
      // The reset may have given children back to this very pool; the cap
      // still holds for the object itself.
      if (freeList_.size() < static_cast<std::size_t>(std::max(maxCount_, 0)) &&
          freeList_.push(object)) {
        return;
      }
    }
  }
  if (disposeFn_ != nullptr) disposeFn_(object);
}

std::int32_t EasyPooler::getMaxCount() {
  ObjLocker::Guard guard(lock_);
  return maxCount_;
}

std::size_t EasyPooler::getKeptCount() {
  ObjLocker::Guard guard(lock_);
  return freeList_.size();
}

void EasyPooler::close() {
  PointerStack kept;
  {
    ObjLocker::Guard guard(lock_);
    maxCount_ = 0;
    kept.swap(freeList_);
  }
  disposeAll(kept);
}

s::base::IObject* EasyPooler::newInstance() {
  std::int32_t cap = getMaxCount();
  return new EasyPooler(cap, createFn_, disposeFn_, resetFn_);
}

void EasyPooler::destroy(void** slot) {
  if (slot == nullptr || *slot == nullptr) return;
  giveBack(*slot);
  *slot = nullptr;
}

void EasyPooler::disposeAll(PointerStack& objects) {
  if (disposeFn_ == nullptr) return;
  for (std::size_t i = 0; i < objects.size(); ++i) disposeFn_(objects.at(i));
}

}  // namespace s::thread
