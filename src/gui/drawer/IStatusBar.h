#pragma once

#include <cstdint>

#include "gui/drawer/IDrawer.h"

namespace s::gui::drawer {

// Paints a status bar's marks and says how tall the bar is.
class IStatusBar : public IDrawer {
 public:
  ~IStatusBar() override = default;

  // The bar's height in pixels.
  virtual std::int32_t getHeight() = 0;
  // Paint the resize grip in the bottom-right corner.
  virtual void setGrip(bool on) = 0;
  // Paint the band of the old classic look.
  virtual void setClassicBand(bool on) = 0;
};

}  // namespace s::gui::drawer
