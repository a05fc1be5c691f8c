#pragma once

#include <cstdint>
#include <string_view>

#include "base/IObject.h"
#include "os/gui/MemDC.h"
#include "thread/IPoolable.h"

namespace s::gui {
class IFont;
}

namespace s::gui::drawer {

// Paints a drop-down field: a box with a text and an arrow. Interface
// thread of the window being painted.
class ICombo : public virtual s::base::IObject, public virtual s::thread::IPoolable {
 public:
  ~ICombo() override = default;

  // Paints the field over the rectangle with `text` in `font` (null: the
  // default font) in `state`: 0 normal, 1 mouse over, 2 pressed. Nothing for
  // an empty rectangle.
  virtual void paintField(s::os::gui::MemDC& surface, std::int32_t left, std::int32_t top,
                          std::int32_t right, std::int32_t bottom, std::u16string_view text,
                          std::int32_t state, s::gui::IFont* font) = 0;
  // The text colour and the frame colour.
  virtual void setColors(std::uint8_t textR, std::uint8_t textG, std::uint8_t textB,
                         std::uint8_t frameR, std::uint8_t frameG, std::uint8_t frameB) = 0;
  virtual void setArrowColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) = 0;
  virtual s::os::gui::Rgb getTextColor() = 0;
  virtual s::os::gui::Rgb getFrameColor() = 0;
  virtual s::os::gui::Rgb getArrowColor() = 0;
};

}  // namespace s::gui::drawer
