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

// Paints and measures texts for components (labels, buttons, menu
// entries) and gives their fonts its colours. Operations in this order;
// interface thread of the window being painted.
class IText : public virtual s::base::IObject, public virtual s::thread::IPoolable {
 public:
  using FontSetting = s::gui::win::FontSetting;

  ~IText() override = default;

  // Paints `text` in `font` (its colours, word wrap, ellipsis and text
  // effect) within the rectangle (left, top)-(right, bottom). Nothing for
  // an empty rectangle or without a font. "&" is shown as it is.
  virtual void paintText(s::os::gui::MemDC& surface, std::int32_t left, std::int32_t top,
                         std::int32_t right, std::int32_t bottom, std::u16string_view text,
                         s::gui::IFont* font) = 0;
  // The size `text` takes laid out as paintText would (not centred) within
  // the rectangle's width; a text effect adds to it. 0 x 0 without a font.
  virtual void measureText(s::os::gui::MemDC& surface, std::int32_t left, std::int32_t top,
                           std::int32_t right, std::int32_t bottom, std::u16string_view text,
                           s::gui::IFont* font, std::int32_t& outWidth,
                           std::int32_t& outHeight) = 0;
  // For each font given (any may be null) and the matching setting of this
  // drawer: the setting takes the font's size code, then the font adopts
  // the setting (keeping what it set itself).
  virtual void applyToFonts(s::gui::IFont* normal, s::gui::IFont* disabled, s::gui::IFont* link,
                            s::gui::IFont* linkHover, s::gui::IFont* linkPressed) = 0;
  // The same for settings.
  virtual void applyToSettings(FontSetting* normal, FontSetting* disabled, FontSetting* link,
                               FontSetting* linkHover, FontSetting* linkPressed) = 0;
  // A label's sizes for `text` in `font`. With word wrap: preferred height
  // and maximum width from the text's natural lines, preferred width the
  // widest word, maximum height 0. Without: both sizes from the text on one
  // line, the preferred width 1 with ellipsis. A text effect then adds 1 to
  // the preferred height and 1 to the maximum height; effect 2 also 1 to
  // both widths, effects 1, 3, 5 and 7 2 to both widths. All 0 without a
  // font.
  virtual void measureRange(s::os::gui::MemDC& surface, std::u16string_view text,
                            s::gui::IFont* font, std::int32_t& outPreferredWidth,
                            std::int32_t& outPreferredHeight, std::int32_t& outMaximumWidth,
                            std::int32_t& outMaximumHeight) = 0;
  // The drawer's own settings (for themes to colour); owned by the drawer.
  virtual FontSetting* getNormalSetting() = 0;
  virtual FontSetting* getDisabledSetting() = 0;
  virtual FontSetting* getLinkSetting() = 0;
  virtual FontSetting* getLinkHoverSetting() = 0;
  virtual FontSetting* getLinkPressedSetting() = 0;
  // Centred: one line, centred both ways, ending with an ellipsis when it
  // does not fit, whatever the font asks for.
  virtual void setCentered(bool on) = 0;
};

}  // namespace s::gui::drawer
