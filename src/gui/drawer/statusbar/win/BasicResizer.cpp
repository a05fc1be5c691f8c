#include "gui/drawer/statusbar/win/BasicResizer.h"

namespace s::gui::drawer::statusbar::win {

using s::os::gui::Rect;

void BasicResizer::paint(s::os::gui::MemDC& surface, std::int32_t left, std::int32_t top,
                         std::int32_t right, std::int32_t bottom) {
  if (left >= right || top >= bottom) return;
  const std::int32_t w = right - left;
  const std::int32_t h = bottom - top;
  const std::int32_t dots[6][2] = {{w - 3, h - 11}, {w - 3, h - 7}, {w - 7, h - 7},
                                   {w - 3, h - 3},  {w - 7, h - 3}, {w - 11, h - 3}};
  for (const auto& dot : dots) {
    surface.fillRect(Rect{dot[0], dot[1], 2, 2}, s::os::gui::Rgb{255, 255, 255});
    surface.fillRect(Rect{dot[0] - 1, dot[1] - 1, 2, 2}, kShade);
  }
}

}  // namespace s::gui::drawer::statusbar::win
