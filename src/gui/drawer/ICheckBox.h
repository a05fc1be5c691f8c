#pragma once

#include <cstdint>

#include "base/IObject.h"
#include "os/gui/MemDC.h"
#include "thread/IPoolable.h"

namespace s::gui::drawer {

// Paints a check box's box and mark and gives its caption a colour.
// Interface thread of the window being painted.
class ICheckBox : public virtual s::base::IObject, public virtual s::thread::IPoolable {
 public:
  ~ICheckBox() override = default;

  // Paints the box (and its mark when `checked`) over (left, top)-(right,
  // bottom), in the disabled colour when not `enabled`. Nothing for an
  // empty rectangle.
  virtual void paintCheck(s::os::gui::MemDC& surface, std::int32_t left, std::int32_t top,
                          std::int32_t right, std::int32_t bottom, bool checked, bool enabled) = 0;
  // The box's frame colour and the mark's colour (the caption's as well).
  virtual void setColors(std::uint8_t boxR, std::uint8_t boxG, std::uint8_t boxB,
                         std::uint8_t markR, std::uint8_t markG, std::uint8_t markB) = 0;
  // Box, mark and caption of a disabled check box.
  virtual void setDisabledColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) = 0;
  virtual s::os::gui::Rgb getBoxColor() = 0;
  virtual s::os::gui::Rgb getMarkColor() = 0;
  virtual s::os::gui::Rgb getDisabledColor() = 0;
};

}  // namespace s::gui::drawer
