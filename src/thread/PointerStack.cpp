#include "thread/PointerStack.h"

#include <cstdlib>
#include <utility>

namespace s::thread {

PointerStack::~PointerStack() {
  std::free(items_);
}

std::size_t PointerStack::grownCapacity(std::size_t capacity) {
  if (capacity < 100) return 100;
  if (capacity < 10000000) return capacity * 3;
  if (capacity < 50000000) return capacity * 2;
  if (capacity < 100000000) return capacity + capacity / 2;
  return capacity + capacity / 5;
}

bool PointerStack::push(void* p) {
  if (count_ == capacity_) {
    const std::size_t grown = grownCapacity(capacity_);
    void* moved = std::realloc(items_, grown * sizeof(void*));
    if (moved == nullptr) return false;
    items_ = static_cast<void**>(moved);
    capacity_ = grown;
  }
  items_[count_++] = p;
  return true;
}

void* PointerStack::pop() {
  return count_ == 0 ? nullptr : items_[--count_];
}

void PointerStack::swap(PointerStack& other) {
  std::swap(items_, other.items_);
  std::swap(count_, other.count_);
  std::swap(capacity_, other.capacity_);
}

}  // namespace s::thread
