#pragma once

#include <cstdint>
#include <string>

#include "gui/IComponent.h"

namespace s::gui::drawer {
class IText;
}

namespace s::gui {

class IFont;

// A text (given, or by entry id from the window's language table) in a
// font, measured from the text; optionally a link with hover and pressed
// looks that opens its target when clicked. Operations after the
// component's, in this order. Any thread (passed to the interface thread);
// click listeners (code 1) run there.
class ILabel : public virtual IComponent {
 public:
  ~ILabel() override = default;
  virtual void setWordWrap(bool on) = 0;
  virtual void setEllipsis(bool on) = 0;
  // Shows `text`; false (and nothing measured or drawn) when it is the text
  // shown already. With `relayout` the label is redrawn at once.
  virtual bool setText(const std::u16string& text, bool relayout) = 0;
  virtual std::u16string getText() = 0;
  // Shows `text` for `ms` milliseconds, then the text shown before.
  virtual void setTextFor(const std::u16string& text, std::uint32_t ms) = 0;
  // The text of entry `id`, now and after every change of language; -1
  // empties the text.
  virtual void setTextId(std::int32_t id) = 0;
  virtual std::int32_t getTextId() = 0;
  // A size code on the normal font and every state font.
  virtual void setFontSize(std::int32_t code) = 0;
  virtual std::u16string getFaceName() = 0;
  virtual void setFaceName(const std::u16string& name) = 0;
  virtual s::os::gui::Rgb getTextColor() = 0;
  virtual void setTextColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) = 0;
  virtual void setPointSize(std::int32_t points) = 0;
  virtual std::int32_t getFontHeight() = 0;
  virtual void setFontHeight(std::int32_t h) = 0;
  virtual bool isBold() = 0;
  virtual void setBold(bool on) = 0;
  virtual bool isItalic() = 0;
  virtual void setItalic(bool on) = 0;
  virtual bool isUnderline() = 0;
  virtual void setUnderline(bool on) = 0;
  virtual std::int32_t getTextEffect() = 0;
  virtual void setTextEffect(std::int32_t effect) = 0;
  // Replaces the text drawer (released when replaced if `owned`).
  virtual void setTextDrawer(s::gui::drawer::IText* drawer, bool owned) = 0;
  virtual bool isLink() = 0;
  virtual void setLink(bool on) = 0;
  virtual void setLinkTarget(const std::u16string& address) = 0;
  virtual void addClickListener(IEventListener* listener) = 0;
  // The fonts, made on first request (owned by the label).
  virtual IFont* getFont() = 0;
  virtual IFont* getDisabledFont() = 0;
  virtual IFont* getLinkFont() = 0;
  virtual IFont* getLinkHoverFont() = 0;
  virtual IFont* getLinkPressedFont() = 0;
};

}  // namespace s::gui
