#pragma once

#include <cstdint>

#include "gui/drawer/IStatusBar.h"

namespace s::gui::drawer::statusbar {

// The thin look's status bar: marks nothing, a fixed height.
class IThin : public IStatusBar {
 public:
  ~IThin() override = default;

  // The theme's colour for the bar; kept, not painted with.
  virtual void setColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) = 0;
};

}  // namespace s::gui::drawer::statusbar
