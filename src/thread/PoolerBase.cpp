#include "thread/PoolerBase.h"

#include <new>

namespace s::thread {

std::uint32_t PoolerBase::sizeOf(void*) {
  return 1024;
}

bool PoolerBase::mayKeep(std::uint32_t size) const {
  // The count rule lets the list reach one above the cap (it is checked
  // before the append).
  if (freeList_.size() > maxCount_) return false;
  if (!sizeTracking_) return true;
  return size <= maxItemSize_ && std::uint64_t{totalSize_} + size <= std::uint64_t{maxTotalSize_};
}

void PoolerBase::giveBack(void* object, std::int64_t size) {
  if (object == nullptr) return;
  {
    ObjLocker::Guard guard(lock_);
    std::uint32_t counted = 0;
    if (sizeTracking_) {
      counted = size < 0 ? sizeOf(object)
                         : static_cast<std::uint32_t>(std::min<std::int64_t>(size, UINT32_MAX));
    }
    if (mayKeep(counted)) {
      resetObject(object);
      try {
        sizes_.push_back(counted);
      } catch (const std::bad_alloc&) {
        sizes_.resize(freeList_.size());
      }
      if (sizes_.size() == freeList_.size() + 1 && freeList_.push(object)) {
        if (sizeTracking_) totalSize_ += counted;
        return;
      }
      sizes_.resize(freeList_.size());
    }
  }
  destroyObject(&object);
}

void* PoolerBase::take() {
  {
    ObjLocker::Guard guard(lock_);
    if (!freeList_.empty()) {
      const std::uint32_t counted = sizes_.back();
      sizes_.pop_back();
      totalSize_ -= std::min(counted, totalSize_);
      return freeList_.pop();
    }
  }
  return generate();
}

void PoolerBase::destroy(void** slot) {
  if (slot == nullptr || *slot == nullptr) return;
  giveBack(*slot, -1);
  *slot = nullptr;
}

void PoolerBase::setMaxCount(std::uint32_t maxCount) {
  ObjLocker::Guard guard(lock_);
  maxCount_ = maxCount;
}

void PoolerBase::setMaxItemSize(std::uint32_t maxItemSize) {
  ObjLocker::Guard guard(lock_);
  maxItemSize_ = maxItemSize;
}

void PoolerBase::setMaxTotalSize(std::uint32_t maxTotalSize) {
  ObjLocker::Guard guard(lock_);
  maxTotalSize_ = maxTotalSize;
}

void PoolerBase::setSizeTracking(bool on) {
  ObjLocker::Guard guard(lock_);
  sizeTracking_ = on;
}

std::uint32_t PoolerBase::getTotalSize() {
  ObjLocker::Guard guard(lock_);
  return totalSize_;
}

std::size_t PoolerBase::getKeptCount() {
  ObjLocker::Guard guard(lock_);
  return freeList_.size();
}

void PoolerBase::clear() {
  PointerStack kept;
  {
    ObjLocker::Guard guard(lock_);
    kept.swap(freeList_);
    sizes_.clear();
    totalSize_ = 0;
  }
  for (std::size_t i = 0; i < kept.size(); ++i) {
    void* object = kept.at(i);
    destroyObject(&object);
  }
}

}  // namespace s::thread
