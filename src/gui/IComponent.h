#pragma once

#include <cstdint>
#include <vector>

#include "gui/IEventListener.h"
#include "os/gui/Geometry.h"

namespace s::os::gui {
class NativeView;
}

namespace s::gui {

class IWindow;
using Rgb = s::os::gui::Rgb;

// A visible element of a window: it owns one native control (made when it is
// attached to a container of a window), keeps its geometry and size limits,
// and is configured through the operations below, in this order.
//
// Threads: every operation may be called from any thread. Whatever must
// happen on the window's interface thread is handed to it and waited for,
// so a call may block while the interface thread is busy; listeners (which
// run there) must therefore never wait for a thread that configures their
// window. Sizes are pixels; nothing throws.
class IComponent : public IEventListener {
 public:
  ~IComponent() override = default;

  // x in the parent's client area; a window answers its screen x.
  virtual std::int32_t getX() = 0;
  virtual void setX(std::int32_t x) = 0;  // setPosition(x, getY())
  virtual std::int32_t getY() = 0;
  virtual void setY(std::int32_t y) = 0;  // setPosition(getX(), y)
  // The screen position of the client origin; without a native control,
  // originX + x (originY + y).
  virtual std::int32_t getScreenX() = 0;
  virtual std::int32_t getScreenY() = 0;
  // False when not visible; else whether (sx, sy) lies in the component's
  // screen rectangle, edges included.
  virtual bool containsScreenPoint(std::int32_t sx, std::int32_t sy) = 0;
  virtual std::int32_t getWidth() = 0;
  virtual void setWidth(std::int32_t w) = 0;
  virtual std::int32_t getHeight() = 0;
  virtual void setHeight(std::int32_t h) = 0;
  // Leaves: the size; containers: the size less their margins (at least 0);
  // a window: its client area. The setters size the component so that the
  // client size becomes the value.
  virtual std::int32_t getClientWidth() = 0;
  virtual void setClientWidth(std::int32_t w) = 0;
  virtual std::int32_t getClientHeight() = 0;
  virtual void setClientHeight(std::int32_t h) = 0;
  // Store the geometry and move the native control to (x + originX,
  // y + originY) unless geometry is being deferred (then it is applied by
  // endDeferring()).
  virtual void setPosition(std::int32_t x, std::int32_t y) = 0;
  virtual void setSize(std::int32_t w, std::int32_t h) = 0;
  virtual void setBounds(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) = 0;
  virtual void setOrigin(std::int32_t ox, std::int32_t oy) = 0;
  virtual void moveOrigin(std::int32_t dx, std::int32_t dy) = 0;
  // The fixed size when set, else the natural size.
  virtual std::int32_t getPreferredWidth() = 0;
  virtual std::int32_t getPreferredHeight() = 0;
  virtual std::int32_t getPreferredClientWidth() = 0;
  virtual std::int32_t getPreferredClientHeight() = 0;
  // The fixed size when set; else without a percentage the larger of the
  // preferred and the maximum size; else that percentage of the parent's
  // client size (integer division).
  virtual std::int32_t getMaximumWidth() = 0;
  virtual std::int32_t getMaximumHeight() = 0;
  virtual std::int32_t getMaximumClientWidth() = 0;
  virtual std::int32_t getMaximumClientHeight() = 0;
  // The visible flag, and only while a native control exists.
  virtual bool isVisible() = 0;
  // Shows (and relays out the window) or hides (moving the native control
  // to -10000, -10000); a window shows or hides itself.
  virtual void setVisible(bool visible, bool activate) = 0;
  virtual bool isEnabled() = 0;
  virtual void setEnabled(bool enabled) = 0;
  virtual bool isEditable() = 0;
  virtual void setEditable(bool editable) = 0;
  // Centre in the parent's client area (0 on an axis where the component is
  // larger); a window centres on the primary monitor's work area.
  virtual void centerInParent() = 0;
  virtual void centerHorizontally() = 0;
  virtual void centerVertically() = 0;
  virtual Rgb getBackgroundColor() = 0;
  virtual bool isTransparent() = 0;
  virtual void setTransparent(bool redraw) = 0;
  virtual void setBackgroundWhite(bool redraw) = 0;
  virtual void setBackgroundDefault(bool redraw) = 0;
  virtual void setBackgroundBlack(bool redraw) = 0;
  virtual void setBackgroundPale(bool redraw) = 0;
  virtual void setBackgroundColor(std::uint8_t r, std::uint8_t g, std::uint8_t b, bool redraw) = 0;
  // The top-level window (a window answers itself); null when not attached.
  virtual IWindow* getWindow() = 0;
  virtual IComponent* getParent() = 0;
  // Attaches to `parent` (registers for language changes, makes the native
  // control inside the parent's) or, with null, detaches (destroys the
  // native control, unregisters). Runs on the interface thread.
  virtual void setParent(IComponent* parent) = 0;
  // Containers only (leaves ignore them): append and attach a child, then
  // lay out; take a child out (releasing it to its pool when `release`,
  // a container's children first), then lay out; the same for every child.
  virtual void add(IComponent* child) = 0;
  virtual void remove(IComponent* child, bool release) = 0;
  virtual void removeAll(bool release) = 0;
  virtual bool isContainer() = 0;
  // When visible: paint that rectangle (component coordinates) again now.
  virtual void redrawRect(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) = 0;
  virtual void redraw() = 0;
  // Takes a size within [preferred, maximum] on each axis (the preferred
  // size wins when the maximum is smaller); containers then lay out.
  virtual void fitTo(std::int32_t w, std::int32_t h) = 0;
  virtual void layoutNow() = 0;
  virtual std::int32_t getChildCount() = 0;
  // Child `i`; null when out of range.
  virtual IComponent* getChild(std::int32_t i) = 0;
  // The children in order (a copy; empty for leaves).
  virtual std::vector<IComponent*> getChildren() = 0;
  // The native view the component's native control lives in (its parent's);
  // null when not attached.
  virtual s::os::gui::NativeView* getHostWindow() = 0;
  virtual bool isDeferring() = 0;
  // While deferring, geometry changes are only stored; endDeferring()
  // applies a pending change with one setBounds. Containers pass both on to
  // their children.
  virtual void beginDeferring() = 0;
  virtual void endDeferring() = 0;

  // The native view children of this component are made in (its own native
  // control or window); null when it has none.
  virtual s::os::gui::NativeView* getNativeView() = 0;
  // The visible flag alone, whether or not a native control exists yet:
  // layouts leave out the components that are not shown.
  virtual bool isShown() = 0;
};

}  // namespace s::gui
