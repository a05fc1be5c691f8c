#pragma once

namespace s::os::gui {

// A native window or child control of the platform's windowing. The
// platform's own classes derive from it; portable code only keeps pointers to
// hand back to the platform layer (as the parent of a new child, the owner of
// a message box). Destroyed only through its owner's destroy operation, on
// the interface thread.
class NativeView {
 public:
  virtual ~NativeView() = default;
};

}  // namespace s::os::gui
