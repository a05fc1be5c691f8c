#include "gui/drawer/border/win/UnderWindowMenu.h"

namespace s::gui::drawer::border::win {

using s::os::gui::Rect;

void UnderWindowMenu::paint(s::os::gui::MemDC& surface, std::int32_t left, std::int32_t top,
                            std::int32_t right, std::int32_t bottom) {
  if (left >= right || top >= bottom) return;
  const std::int32_t w = right - left;
  surface.fillRect(Rect{0, 0, w, 1}, kDark);
  surface.fillRect(Rect{0, 1, w, 1}, s::os::gui::Rgb{255, 255, 255});
}

}  // namespace s::gui::drawer::border::win
