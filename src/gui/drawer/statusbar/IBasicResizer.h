#pragma once

#include "gui/drawer/IDrawer.h"

namespace s::gui::drawer::statusbar {

// Paints the resize grip: six dots forming a triangle in the bottom-right
// corner of the rectangle.
class IBasicResizer : public IDrawer {
 public:
  ~IBasicResizer() override = default;
};

}  // namespace s::gui::drawer::statusbar
