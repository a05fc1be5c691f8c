#pragma once

#include <cstdint>
#include <string_view>

#include "os/gui/ControlLook.h"
#include "os/gui/Geometry.h"
#include "os/gui/MemDC.h"
#include "os/gui/NativeView.h"

namespace s::os::gui {

// The kinds of native child controls the toolkit makes.
enum class WidgetKind : std::uint8_t {
  kDrawn,        // painted by its component (labels, menu bars, spacers)
  kContainer,    // holds further children (boxes, the status bar)
  kPushButton,   // the platform's button (clicks: code 1; presses: 3; releases: 4)
  kCheckBox,     // the platform's check box (checked: code 1; unchecked: 2)
  kComboBox,     // the platform's drop-down list (a selection: the new index)
  kProgressBar,  // the platform's progress bar
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
  kImage,
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

  // Operations of the platform's own controls; each does nothing for the
  // kinds it does not name. None of them reports back through the sink:
  // only the user's actions do.
  //
  // Button and check box: the text, shown as it is ("&" included).
  virtual void setText(std::u16string_view text) = 0;
  // Button and check box: the font of the text.
  virtual void setFont(const FontSpec& font) = 0;
  // Button, check box and drop-down list: show the colours of `look`
  // instead of the desktop's own (null: the desktop's look again). A
  // platform that cannot recolour its control draws it as the component's
  // own (WidgetSink::onPaint), which paints with the drawer the look came
  // from.
  virtual void setLook(const ControlLook* look) = 0;
  // Check box: the check state.
  virtual void setChecked(bool checked) = 0;
  // Drop-down list: inserts an item at `index` (appends when it is the
  // count), removes the item at `index`, selects `index` (-1: none).
  virtual void insertItem(std::int32_t index, std::u16string_view text) = 0;
  virtual void removeItem(std::int32_t index) = 0;
  virtual void selectItem(std::int32_t index) = 0;
  // Progress bar: the range and the position within it.
  virtual void setProgress(std::int32_t minimum, std::int32_t maximum, std::int32_t position) = 0;
  // The pointer's shape over the control.
  virtual void setCursor(Cursor cursor) = 0;
  // A repeating timer of the control: the sink's onTimer(id) every `ms`
  // milliseconds until stopped (starting an id again restarts it).
  virtual void startTimer(std::uint32_t id, std::uint32_t ms) = 0;
  virtual void stopTimer(std::uint32_t id) = 0;
  // The screen position of the control's top-left corner.
  virtual Rect screenBounds() = 0;
  // The size the platform finds right for the control with its text and
  // font (buttons, check boxes, lists).
  virtual Size idealSize() = 0;
};

}  // namespace s::os::gui
