#pragma once

#include <atomic>

namespace s::gui::win {

class Window;

// The interface thread of one window. On GTK every window shares the one GTK
// thread: a UIThread is a handle onto it that starts it for the first window
// and reports whether it runs; the window's native window is made and
// destroyed there.
class UIThread {
 public:
  UIThread() = default;
  UIThread(const UIThread&) = delete;
  UIThread& operator=(const UIThread&) = delete;

  // Starts (or joins) the interface thread for `window`. True when it runs;
  // false when there is no display (the window then has no native window).
  // The creating thread.
  bool begin(Window* window);
  // True between a successful begin() and stop(). Any thread.
  bool isRunning() const { return running_.load(); }
  // The window served (set by begin()).
  Window* window() const { return window_; }
  // Leaves the interface thread to the other windows; the window has
  // destroyed its native window before. The destroying thread.
  void stop() { running_.store(false); }

 private:
  Window* window_ = nullptr;
  std::atomic<bool> running_{false};
};

}  // namespace s::gui::win
