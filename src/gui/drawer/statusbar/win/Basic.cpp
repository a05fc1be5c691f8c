#include "gui/drawer/statusbar/win/Basic.h"

#include "gui/Scale.h"

namespace s::gui::drawer::statusbar::win {

using s::os::gui::Rect;

void Basic::reset() {
  grip_ = false;
  classicBand_ = false;
}

std::int32_t Basic::getHeight() {
  return heightAt(Scale::factor());
}

void Basic::paint(s::os::gui::MemDC& surface, std::int32_t left, std::int32_t top,
                  std::int32_t right, std::int32_t bottom) {
  if (left >= right || top >= bottom) return;
  if (classicBand_) {
    const std::int32_t w = right - left;
    surface.fillRect(Rect{0, 0, w, 1}, kBandShadow);
    surface.fillRect(Rect{0, 1, w, 1}, s::os::gui::Rgb{255, 255, 255});
  }
  if (grip_) resizer_.paint(surface, left, top, right, bottom);
}

}  // namespace s::gui::drawer::statusbar::win
