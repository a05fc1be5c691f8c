#pragma once

#include <cstdint>
#include <string>

#include "os/gui/Geometry.h"

namespace s::gui {

// The font of a control's text, set piece by piece (size code, face,
// colour, point size, height, width, bold, italic, underline, strike-out,
// weight). Each setter applies to every look of the control (normal,
// disabled, pushed) and measures the control again. Any thread.
class IFontSettings {
 public:
  virtual ~IFontSettings() = default;
  virtual void setFontSize(std::int32_t code) = 0;
  virtual std::int32_t getFontSize() = 0;
  virtual std::u16string getFaceName() = 0;
  virtual void setFaceName(const std::u16string& name) = 0;
  virtual s::os::gui::Rgb getTextColor() = 0;
  virtual void setTextColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) = 0;
  virtual void setPointSize(std::int32_t points) = 0;
  virtual std::int32_t getFontHeight() = 0;
  virtual void setFontHeight(std::int32_t h) = 0;
  virtual std::int32_t getFontWidth() = 0;
  virtual void setFontWidth(std::int32_t w) = 0;
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
};

}  // namespace s::gui
