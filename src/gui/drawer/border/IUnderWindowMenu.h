#pragma once

#include <cstdint>

#include "gui/drawer/IDrawer.h"

namespace s::gui::drawer::border {

// Paints the etched line that runs under a window's menu bar along the top
// of the rectangle.
class IUnderWindowMenu : public IDrawer {
 public:
  ~IUnderWindowMenu() override = default;

  // Kept for the look's interface; the line's colours are fixed.
  virtual void setColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) = 0;
};

}  // namespace s::gui::drawer::border
