#pragma once

#include <cstdint>
#include <string>

#include "gui/IComponent.h"
#include "gui/IFontSettings.h"

namespace s::gui::drawer {
class IButton;
}

namespace s::gui {

// The platform's push button with a text (shown as it is), listeners of
// clicks (code 1), after-clicks (code 2, after a toggle flipped) and presses
// (code 3, repeated while held with auto-repeat), and a toggle mode. The text
// "#Resizer" makes it a resize grip: drawn dots in the bottom-right corner;
// dragging it resizes the window. Operations after the component's, in this
// order. Any thread; listeners run on the interface thread.
class IButton : public virtual IComponent, public virtual IFontSettings {
 public:
  ~IButton() override = default;
  virtual void setText(const std::u16string& text) = 0;
  // The text becomes entry `id` of the window's language table and follows
  // its changes.
  virtual void setTextId(std::int32_t id) = 0;
  virtual std::int32_t getTextId() = 0;
  virtual std::u16string getText() = 0;
  virtual void setWidthPercent(std::int32_t percent) = 0;
  virtual void setHeightPercent(std::int32_t percent) = 0;
  virtual void setFixedWidth(std::int32_t w) = 0;
  virtual void setFixedHeight(std::int32_t h) = 0;
  virtual void addClickListener(IEventListener* listener) = 0;
  virtual void addAfterClickListener(IEventListener* listener) = 0;
  virtual void addPressListener(IEventListener* listener) = 0;
  // While held: the press listeners again after 500 ms, then every 100 ms.
  virtual void setAutoRepeat(bool on) = 0;
  virtual void setDrawFlag(bool on) = 0;
  // Each click flips `pushed`, except that a pushed button stays pushed
  // when it cannot be released.
  virtual void setToggleMode(bool toggle, bool canRelease, bool inverted, bool drawFlag2) = 0;
  virtual bool canRelease() = 0;
  virtual bool isPushed() = 0;
  virtual void setPushed(bool on) = 0;
  virtual void makeDefault() = 0;
  virtual void clearDefault() = 0;
  virtual bool isDefault() = 0;
  // A button that is not interactive takes no clicks (made disabled).
  virtual void setInteractive(bool on) = 0;
  // The colour swatch face: the text becomes "#Color-" and the colour.
  virtual void setColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) = 0;
  // The drawer that gives the face its colours and draws its symbols (null:
  // the desktop's look); an owned one is given back to its pool when
  // replaced. Redraws.
  virtual void setDrawer(s::gui::drawer::IButton* drawer, bool owned) = 0;
};

}  // namespace s::gui
