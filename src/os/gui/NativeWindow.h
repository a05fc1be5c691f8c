#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "os/gui/Geometry.h"
#include "os/gui/NativeView.h"
#include "os/gui/Region.h"

namespace s::os::gui {

// A native top-level window with a client area in which children are placed
// at pixel positions. Made by Ui::createWindow, hidden; destroyed by
// destroy(). Every operation runs on the interface thread only (the toolkit
// passes calls from other threads there); none blocks for long, none fails
// loudly: a request the window manager ignores simply has no effect.
//
// Geometry is that of the whole window as the user sees it on the screen:
// x and y are the top-left corner of its frame, width and height its size.
class NativeWindow : public NativeView {
 public:
  // Destroys the native window. The owner is told nothing more afterwards.
  virtual void destroy() = 0;

  virtual void setTitle(std::u16string_view title) = 0;
  // Window icons: PNG images of different sizes (the platform picks);
  // images it cannot read are skipped.
  virtual void setIcons(const std::vector<std::span<const unsigned char>>& pngs) = 0;

  // Shows (and, when `activate`, gives the focus to) or hides the window.
  virtual void setVisible(bool visible, bool activate) = 0;
  virtual bool isVisible() = 0;
  // Moves the frame's top-left corner to (x, y); resizes to width x height.
  virtual void move(std::int32_t x, std::int32_t y) = 0;
  virtual void resize(std::int32_t width, std::int32_t height) = 0;
  // The last known frame rectangle (after the window manager placed it).
  virtual Rect frame() = 0;
  // The size of the client area (the window without its frame).
  virtual Size clientSize() = 0;

  virtual void minimize() = 0;
  virtual void maximize() = 0;
  // Back from minimized or maximized to the normal state.
  virtual void restore() = 0;
  virtual bool isMinimized() = 0;
  virtual bool isMaximized() = 0;
  // Makes the window the active one and puts it above the others.
  virtual void raise() = 0;
  virtual void setKeepAbove(bool above) = 0;
  virtual void setResizable(bool resizable) = 0;
  // While this window is shown, `owner` (and every other window of the
  // program) takes no input and this window stays above it; null ends that.
  virtual void setModalFor(NativeView* owner) = 0;
  // Begins resizing the window with the mouse from its bottom-right
  // corner, from the press being reported (a resize grip).
  virtual void beginResizeDrag() = 0;
  // The same from `edge` (a window that draws its own frame).
  virtual void beginEdgeDrag(ResizeEdge edge) = 0;
  // Without (true) or with (false) the platform's frame and title bar; a
  // frameless window's client area is the whole window, and it draws its
  // own frame there.
  virtual void setFrameless(bool frameless) = 0;
  // The window's visible shape in its own pixels, clipped to the window; a
  // region that is not present gives the whole rectangle back.
  virtual void setShape(const Region& region) = 0;
  // Begins moving the window with the mouse, as a press on its title bar
  // would (easy drag), from the press being reported; called from the
  // sink's onMouseButton for a left press.
  virtual void beginDrag() = 0;
  // Redraws the window's client area (its background, then the children).
  virtual void redraw() = 0;

  // The pointer's shape over the client area.
  virtual void setCursor(Cursor cursor) = 0;
  // Takes (true) or gives back (false) every pointer event, also those
  // outside the window, until released or taken away by the system; the
  // sink's onCaptureLost tells when it was taken away.
  virtual void capturePointer(bool capture) = 0;

  // A repeating timer: onTimer(id) every `ms` milliseconds until stopTimer;
  // starting an id again restarts it.
  virtual void startTimer(std::uint32_t id, std::uint32_t ms) = 0;
  virtual void stopTimer(std::uint32_t id) = 0;
};

}  // namespace s::os::gui
