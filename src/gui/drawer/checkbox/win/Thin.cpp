#include "gui/drawer/checkbox/win/Thin.h"

#include <algorithm>

namespace s::gui::drawer::checkbox::win {

using s::os::gui::Rect;
using s::os::gui::Rgb;

void Thin::reset() {
  box_ = Rgb{120, 120, 120};
  mark_ = Rgb{0, 0, 0};
  disabled_ = Rgb{160, 160, 160};
}

void Thin::setColors(std::uint8_t boxR, std::uint8_t boxG, std::uint8_t boxB, std::uint8_t markR,
                     std::uint8_t markG, std::uint8_t markB) {
  box_ = Rgb{boxR, boxG, boxB};
  mark_ = Rgb{markR, markG, markB};
}

void Thin::setDisabledColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  disabled_ = Rgb{r, g, b};
}

void Thin::paintCheck(s::os::gui::MemDC& surface, std::int32_t left, std::int32_t top,
                      std::int32_t right, std::int32_t bottom, bool checked, bool enabled) {
  if (left >= right || top >= bottom) return;
  const std::int32_t side = std::min(right - left, bottom - top);
  const Rect box{left, top + (bottom - top - side) / 2, side, side};
  surface.frameRect(box, enabled ? box_ : disabled_);
  if (!checked) return;
  const std::int32_t inset = std::max(1, side / 4);
  surface.fillRect(Rect{box.x + inset, box.y + inset, side - 2 * inset, side - 2 * inset},
                   enabled ? mark_ : disabled_);
}

}  // namespace s::gui::drawer::checkbox::win
