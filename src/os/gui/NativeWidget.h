#pragma once

#include <cstdint>
#include <string_view>

#include "os/gui/Geometry.h"
#include "os/gui/NativeView.h"

namespace s::os::gui {

// The kinds of native child controls the toolkit makes.
enum class WidgetKind : std::uint8_t {
  kDrawn,      // painted by its component (labels, menu bars, spacers)
  kContainer,  // holds further children (boxes, the status bar)
};

// The role a control has in the accessibility tree, so screen readers and
// tests find it by role and name.
enum class AccessibleRole : std::uint8_t {
  kPanel,
  kLabel,
  kPushButton,
  kCheckBox,
  kComboBox,
  kProgressBar,
  kStatusBar,
  kMenuBar,
  kMenuItem,
  kFiller,
};

// A native child control inside a window's client area (or inside a
// container control). Made by Ui::createWidget, hidden until shown; ends with
// destroy(). Interface thread only; nothing here fails loudly.
class NativeWidget : public NativeView {
 public:
  virtual void destroy() = 0;
  // Places the control at (x, y) in its parent's client coordinates with the
  // given size (in one move).
  virtual void place(const Rect& bounds) = 0;
  virtual void setVisible(bool visible) = 0;
  virtual void setEnabled(bool enabled) = 0;
  // Asks for the rectangle (control coordinates) to be painted again now.
  virtual void redraw(const Rect& area) = 0;
  // The control's role and current text in the accessibility tree.
  virtual void setAccessible(AccessibleRole role, std::u16string_view name) = 0;
};

}  // namespace s::os::gui
