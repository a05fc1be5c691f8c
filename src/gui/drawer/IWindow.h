#pragma once

#include <cstdint>

#include "gui/drawer/IDrawer.h"
#include "os/gui/Region.h"

namespace s::gui::drawer {

// Paints a skinned window's frame and background, and gives its visible
// shape. Interface thread of the window being painted.
class IWindow : public IDrawer {
 public:
  ~IWindow() override = default;

  // The window's shape for its rectangle moved to (0, 0); a region that is
  // not present when the corner styles give none (the window then keeps its
  // full rectangle). Never touches a window.
  virtual s::os::gui::Region makeRegion(std::int32_t left, std::int32_t top, std::int32_t right,
                                        std::int32_t bottom) = 0;
  virtual s::os::gui::Rgb getBackground() = 0;
  // The background colour; also makes paint fill it.
  virtual void setBackground(std::uint8_t r, std::uint8_t g, std::uint8_t b) = 0;
  virtual s::os::gui::Rgb getBorderColor() = 0;
  virtual void setBorderColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) = 0;
  // Corner styles: 0 square, 1 small rounded, 2 large rounded.
  virtual void setTopCorners(std::int32_t style) = 0;
  virtual void setBottomCorners(std::int32_t style) = 0;
};

}  // namespace s::gui::drawer
