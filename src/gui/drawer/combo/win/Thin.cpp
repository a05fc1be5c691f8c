#include "gui/drawer/combo/win/Thin.h"

#include <algorithm>

#include "gui/IFont.h"
#include "gui/Scale.h"
#include "gui/win/Font.h"

namespace s::gui::drawer::combo::win {

using s::os::gui::Rect;
using s::os::gui::Rgb;

namespace {
constexpr std::int32_t kArrowBox = 15;
constexpr std::int32_t kTextInset = 4;
}  // namespace

Thin::Thin() {
  reset();
}

void Thin::reset() {
  text_ = Rgb{0, 0, 0};
  frame_ = Rgb{120, 120, 120};
  arrow_ = Rgb{0, 0, 0};
}

void Thin::setColors(std::uint8_t textR, std::uint8_t textG, std::uint8_t textB,
                     std::uint8_t frameR, std::uint8_t frameG, std::uint8_t frameB) {
  text_ = Rgb{textR, textG, textB};
  frame_ = Rgb{frameR, frameG, frameB};
}

void Thin::setArrowColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  arrow_ = Rgb{r, g, b};
}

void Thin::paintField(s::os::gui::MemDC& surface, std::int32_t left, std::int32_t top,
                      std::int32_t right, std::int32_t bottom, std::u16string_view text,
                      std::int32_t state, s::gui::IFont* font) {
  if (left >= right || top >= bottom) return;
  paintFieldAt(surface, Rect{left, top, right - left, bottom - top}, text, state, font,
               Scale::factor());
}

void Thin::paintFieldAt(s::os::gui::MemDC& surface, const Rect& area, std::u16string_view text,
                        std::int32_t state, s::gui::IFont* font, std::int32_t scale) {
  if (area.width <= 0 || area.height <= 0) return;
  const std::int32_t m = std::max(1, scale);
  surface.frameRect(area, frame_);
  if (state == 1 || state == 2)
    surface.frameRect(Rect{area.x + 1, area.y + 1, area.width - 2, area.height - 2}, frame_);

  // The arrow: rows of 7, 5, 3 and 1 units, centred in the box at the right.
  const std::int32_t box = kArrowBox * m;
  const std::int32_t boxLeft = area.right() - box;
  const std::int32_t arrowTop = area.y + (area.height - 4 * m) / 2;
  for (std::int32_t row = 0; row < 4; ++row) {
    const std::int32_t width = (7 - 2 * row) * m;
    surface.fillRect(Rect{boxLeft + (box - width) / 2, arrowTop + row * m, width, m}, arrow_);
  }

  const std::int32_t shift = state == 2 ? 1 : 0;
  const Rect textArea{area.x + kTextInset * m + shift, area.y + shift,
                      std::max(0, boxLeft - area.x - kTextInset * m), area.height};
  const s::os::gui::FontSpec shape =
      font != nullptr ? font->getPlatformFont() : s::gui::win::Font::defaults().toFontSpec();
  surface.drawText(
      text, textArea, shape, text_,
      s::os::gui::kTextSingleLine | s::os::gui::kTextVCenter | s::os::gui::kTextEndEllipsis);
}

}  // namespace s::gui::drawer::combo::win
