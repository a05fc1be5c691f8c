#pragma once

#include <cstddef>

namespace s::thread {

// The free list of the pools: a plain array of pointers used as a stack (last
// in, first out), on the C heap, growing by the framework's array growth rule
// (a capacity below 100 becomes 100; then x3 below 10,000,000, x2 below
// 50,000,000, x1.5 below 100,000,000 and x1.2 from there on). No search, no
// allocation once grown. Not thread-safe: its owner locks around it.
class PointerStack {
 public:
  PointerStack() = default;
  ~PointerStack();
  PointerStack(const PointerStack&) = delete;
  PointerStack& operator=(const PointerStack&) = delete;

  std::size_t size() const { return count_; }
  bool empty() const { return count_ == 0; }

  // Element i (0 = the oldest). i must be below size().
  void* at(std::size_t i) const { return items_[i]; }

  // Appends `p`, growing when full. False (and nothing changes) when the
  // storage could not grow.
  bool push(void* p);

  // Removes and returns the last element; null when empty.
  void* pop();

  // Exchanges the contents of two stacks (used to take every element out
  // under a lock and dispose of them after it).
  void swap(PointerStack& other);

  // The capacity that follows `capacity` under the growth rule.
  static std::size_t grownCapacity(std::size_t capacity);

 private:
  void** items_ = nullptr;
  std::size_t count_ = 0;
  std::size_t capacity_ = 0;
};

}  // namespace s::thread
