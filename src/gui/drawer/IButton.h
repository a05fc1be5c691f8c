#pragma once

#include <cstdint>
#include <string_view>

#include "base/IObject.h"
#include "os/gui/MemDC.h"
#include "thread/IPoolable.h"

namespace s::gui {
class IFont;
}
namespace s::gui::win {
class FontSetting;
}

namespace s::gui::drawer {

// Paints a button's face: its frame, and its caption or face symbol; gives
// the button's fonts their colours. Interface thread of the window being
// painted.
class IButton : public virtual s::base::IObject, public virtual s::thread::IPoolable {
 public:
  using FontSetting = s::gui::win::FontSetting;

  ~IButton() override = default;

  // Paints the button over (left, top)-(right, bottom). `state`: 0 normal,
  // 1 mouse over, 2 pressed. `drawFlag`: draw the frame; `pushedLook`: the
  // toggled look (filled); `drawFlag2`: a frame without bottom when not
  // pushed. The caption is a face symbol when it names one, else text in
  // `font` (no text without a font). Nothing for an empty rectangle.
  virtual void paintButton(s::os::gui::MemDC& surface, std::int32_t left, std::int32_t top,
                           std::int32_t right, std::int32_t bottom, std::int32_t state,
                           std::u16string_view text, bool drawFlag, s::gui::IFont* font,
                           bool enabled, bool pushedLook, bool drawFlag2) = 0;
  // Corner kind of the frame: 0 square, 1 open, 2 rounded; others: no frame.
  virtual void setCornerKind(std::int32_t kind) = 0;
  // Move caption and symbol with the hover and pressed states.
  virtual void setShiftText(bool on) = 0;
  virtual s::os::gui::Rgb getEnabledColor() = 0;
  // Frame and symbol colour of an enabled button.
  virtual void setEnabledColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) = 0;
  virtual s::os::gui::Rgb getDisabledColor() = 0;
  // Frame and symbol colour of a disabled button.
  virtual void setDisabledColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) = 0;
  virtual s::os::gui::Rgb getPushedColor() = 0;
  // Frame colour of an enabled button showing the pushed look.
  virtual void setPushedColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) = 0;
  virtual s::os::gui::Rgb getFillColor() = 0;
  // The fill inside the frame of the pushed look.
  virtual void setFillColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) = 0;
  // Draws the face symbol `text` names within the rectangle in (r, g, b);
  // true when it named one, false otherwise (nothing drawn).
  virtual bool paintSymbol(s::os::gui::MemDC& surface, std::int32_t left, std::int32_t top,
                           std::int32_t right, std::int32_t bottom, std::u16string_view text,
                           std::uint8_t r, std::uint8_t g, std::uint8_t b) = 0;
  // The button's normal and disabled fonts (either may be null) take this
  // drawer's text colours, keeping their own sizes.
  virtual void applyToFonts(s::gui::IFont* normal, s::gui::IFont* disabled) = 0;
  // The same for settings.
  virtual void applyToSettings(FontSetting* normal, FontSetting* disabled) = 0;
  // The drawer's own settings (owned by the drawer), for themes to colour.
  virtual FontSetting* getNormalSetting() = 0;
  virtual FontSetting* getDisabledSetting() = 0;
  // The button's pushed font (or setting) takes the pushed look's colours.
  virtual void applyToPushedFont(s::gui::IFont* font) = 0;
  virtual void applyToPushedSetting(FontSetting* setting) = 0;
  virtual FontSetting* getPushedSetting() = 0;
  // Shades the frame (on) or draws it in one colour (off).
  virtual void setShaded(bool on) = 0;
};

}  // namespace s::gui::drawer
