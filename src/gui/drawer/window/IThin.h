#pragma once

#include "gui/drawer/IWindow.h"

namespace s::gui::drawer::window {

// The thin look's flat window frame with a one-pixel border.
class IThin : public IWindow {
 public:
  ~IThin() override = default;
};

}  // namespace s::gui::drawer::window
