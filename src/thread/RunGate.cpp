#include "thread/RunGate.h"

#include <chrono>

namespace s::thread {

void RunGate::enter() {
  std::lock_guard<std::mutex> guard(lock_);
  ++inside_;
}

void RunGate::leave() {
  std::lock_guard<std::mutex> guard(lock_);
  if (--inside_ == 0) changed_.notify_all();
}

bool RunGate::idle() const {
  std::lock_guard<std::mutex> guard(lock_);
  return inside_ == 0;
}

void RunGate::waitIdle() const {
  std::unique_lock<std::mutex> guard(lock_);
  changed_.wait(guard, [this] { return inside_ == 0; });
}

bool RunGate::waitIdleFor(std::uint32_t millis) const {
  std::unique_lock<std::mutex> guard(lock_);
  return changed_.wait_for(guard, std::chrono::milliseconds(millis),
                           [this] { return inside_ == 0; });
}

}  // namespace s::thread
