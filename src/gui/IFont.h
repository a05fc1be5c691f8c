#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/IObject.h"
#include "gui/LogicalFont.h"
#include "os/gui/Geometry.h"
#include "os/gui/MemDC.h"
#include "thread/IPoolable.h"

namespace s::gui::win {
class FontSetting;
}

namespace s::gui {

// One set of text settings together with the platform font made from them:
// the logical description (face, height, width, weight, italic, underline,
// strike-out, ClearType), the text and effect colours, word wrap, ellipsis
// and the text effect (0 plain, 1 to 7 drawn effects). Every setter records
// that its setting was set explicitly; adoptSetting() and adoptFont() take
// over only the settings that were not. Every change of the description
// makes the platform font again.
//
// Sizes are given as size codes (0 is 10 points, -1 is 9, -2 is 8; 100 to
// 999 are bold, 100 being 14 points; 100001 is 8 points) turned into
// heights through the interface's scale factor (LogicalFont).
//
// Operations in this order. Used on the interface thread of the window that
// draws with it; not locked.
class IFont : public virtual s::base::IObject, public virtual s::thread::IPoolable {
 public:
  ~IFont() override = default;

  // The height of the text "TEST" drawn in this font on a screen-compatible
  // surface, in pixels.
  virtual std::int32_t measureTextHeight() = 0;
  // Weight and height from `code` (see LogicalFont::setSizeCode); codes of
  // magnitude 1000 and more other than 100001 change nothing.
  virtual void setSizeCode(std::int32_t code) = 0;
  virtual std::int32_t getSizeCode() = 0;
  // True when any setting was set explicitly.
  virtual bool isCustomized() = 0;
  virtual std::u16string getFaceName() = 0;
  // At most 31 characters are kept.
  virtual void setFaceName(std::u16string_view name) = 0;
  virtual s::os::gui::Rgb getTextColor() = 0;
  virtual void setTextColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) = 0;
  virtual s::os::gui::Rgb getEffectColor1() = 0;
  virtual void setEffectColor1(std::uint8_t r, std::uint8_t g, std::uint8_t b) = 0;
  virtual s::os::gui::Rgb getEffectColor2() = 0;
  virtual void setEffectColor2(std::uint8_t r, std::uint8_t g, std::uint8_t b) = 0;
  // The height the platform gives `points` on the screen (counts as an
  // explicit height).
  virtual void setPointSize(std::int32_t points) = 0;
  // The logical height: negative is the character height, positive the
  // cell height, in pixels.
  virtual std::int32_t getHeight() = 0;
  virtual void setHeight(std::int32_t h) = 0;
  virtual std::int32_t getWidth() = 0;
  virtual void setWidth(std::int32_t w) = 0;
  // Bold is a weight of 600 or more; setBold gives 700 or 400.
  virtual bool isBold() = 0;
  virtual void setBold(bool on) = 0;
  virtual bool isItalic() = 0;
  virtual void setItalic(bool on) = 0;
  virtual bool isUnderline() = 0;
  virtual void setUnderline(bool on) = 0;
  virtual bool isStrikeOut() = 0;
  virtual void setStrikeOut(bool on) = 0;
  virtual std::int32_t getWeight() = 0;
  virtual void setWeight(std::int32_t w) = 0;
  virtual bool isWordWrap() = 0;
  virtual void setWordWrap(bool on) = 0;
  virtual bool isEllipsis() = 0;
  virtual void setEllipsis(bool on) = 0;
  virtual std::int32_t getTextEffect() = 0;
  virtual void setTextEffect(std::int32_t effect) = 0;
  // ClearType quality (5) or plain (3).
  virtual bool isClearType() = 0;
  virtual void setClearType(bool on) = 0;
  // Take over from `setting` (`font`) every setting not set explicitly on
  // this font: face, text colour, both effect colours, weight and bold,
  // height and width, italic, underline, strike-out and ClearType. The size
  // code is not taken over. Null: nothing.
  virtual void adoptSetting(const s::gui::win::FontSetting* setting) = 0;
  virtual void adoptFont(IFont* font) = 0;

  // Every setting with its flags.
  virtual const LogicalFont& getLogicalFont() = 0;
  // The platform font made from the description: what the surface draws in.
  virtual const s::os::gui::FontSpec& getPlatformFont() = 0;
};

}  // namespace s::gui
