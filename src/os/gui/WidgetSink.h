#pragma once

#include <cstdint>

#include "os/gui/WindowSink.h"

namespace s::os::gui {

class MemDC;

// What a native child control tells its component. Every call comes on the
// interface thread.
class WidgetSink {
 public:
  virtual ~WidgetSink() = default;

  // Paint the component into `dc`, a surface of the control's size (drawn
  // controls only); the surface reaches the screen afterwards in one copy.
  virtual void onPaint(MemDC& dc) = 0;
  // A mouse button was pressed or released over the control, at (x, y) in
  // its own coordinates. Returns true when the component handled it; false
  // lets the press reach the window (easy drag).
  virtual bool onMouseButton(MouseButton button, bool pressed, bool doubleClick, std::int32_t x,
                             std::int32_t y) = 0;
  // The native control was activated by the user (a button clicked, a check
  // box toggled, a selection made); `code` says which (the component's own
  // numbering).
  virtual void onActivated(std::int32_t code) = 0;
  // Timer `id` of the control is due.
  virtual void onTimer(std::uint32_t id) = 0;
  // The pointer moved over a drawn control, to (x, y) in its coordinates.
  virtual void onMouseMove(std::int32_t x, std::int32_t y) = 0;
  // The pointer entered (true) or left (false) the control.
  virtual void onHover(bool inside) = 0;
};

}  // namespace s::os::gui
