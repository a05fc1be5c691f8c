#pragma once

#include <cstdint>

namespace s::os::gui {

class MemDC;

// The mouse buttons a window reports.
enum class MouseButton : std::uint8_t { kLeft, kMiddle, kRight };

// What a native top-level window tells its owner (the toolkit's Window).
// Every call comes on the interface thread, while the platform handles the
// matching notification; none may block on a thread that waits for the
// interface thread.
class WindowSink {
 public:
  virtual ~WindowSink() = default;

  // The user (or the window manager, or the session) asked the window to
  // close. The native window stays; the owner decides what to do.
  virtual void onCloseRequest() = 0;
  // The window moved or was resized; the new frame position and size.
  virtual void onGeometry(std::int32_t x, std::int32_t y, std::int32_t width,
                          std::int32_t height) = 0;
  // The window was minimized, maximized or restored.
  virtual void onStateChange(bool minimized, bool maximized) = 0;
  // The window became (true) or stopped being (false) the active window.
  virtual void onActivation(bool active) = 0;
  // A mouse button was pressed (`pressed`) or released in the client area
  // (or over a child that let it through) at (x, y), client coordinates;
  // `doubleClick` for the second press of a double click, `rightHeld` when
  // the right button is held meanwhile.
  virtual void onMouseButton(MouseButton button, bool pressed, bool doubleClick, bool rightHeld,
                             std::int32_t x, std::int32_t y) = 0;
  // The mouse moved over the window.
  virtual void onMouseMove(std::int32_t x, std::int32_t y) = 0;
  // The wheel turned: positive away from the user.
  virtual void onWheel(std::int32_t delta) = 0;
  // A key was pressed; `key` is the Windows virtual-key code where one
  // exists (Return 13, Escape 27, Tab 9, letters and digits as their
  // upper-case ASCII codes), else the platform's key value. Returns true
  // when handled.
  virtual bool onKey(std::uint32_t key) = 0;
  // Timer `id` (as given to NativeWindow::startTimer) is due.
  virtual void onTimer(std::uint32_t id) = 0;
  // A pointer capture ended without being released (another window took
  // it).
  virtual void onCaptureLost() = 0;
  // Paint the client area's background into `dc` (a surface of the client
  // size); the children paint themselves over it.
  virtual void onPaintBackground(MemDC& dc) = 0;
};

}  // namespace s::os::gui
