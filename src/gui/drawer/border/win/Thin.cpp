#include "gui/drawer/border/win/Thin.h"

#include <algorithm>

#include "gui/Scale.h"

namespace s::gui::drawer::border::win {

using s::os::gui::Rect;
using s::os::gui::Rgb;

namespace {

// One channel times percent / 100, truncated and capped at 255. Whole
// numbers keep x0.95 of 100 at 95 where a binary fraction would give 94.
std::uint8_t scaled(std::uint8_t channel, std::int32_t percent) {
  return static_cast<std::uint8_t>(std::min<std::int32_t>(255, channel * percent / 100));
}

Rgb scaled(Rgb base, std::int32_t percent) {
  return Rgb{scaled(base.r, percent), scaled(base.g, percent), scaled(base.b, percent)};
}

void block(s::os::gui::MemDC& surface, std::int32_t x, std::int32_t y, std::int32_t side,
           Rgb colour) {
  surface.fillRect(Rect{x, y, side, side}, colour);
}

}  // namespace

Thin::Shades Thin::shadesOf(Rgb base, bool shaded) {
  if (!shaded) return Shades{base, base, base, base, base, base, base, base};
  return Shades{scaled(base, 115), scaled(base, 105), scaled(base, 95), scaled(base, 90),
                scaled(base, 85),  scaled(base, 70),  scaled(base, 50), scaled(base, 45)};
}

bool Thin::sidesOf(const Shades& s, Rgb base, std::int32_t style, Sides& out) {
  switch (style) {
    case 0:
      out = Sides{s.up15, s.down30, s.down50, s.up5, true};
      return true;
    case 1:
    case 3:
      out = Sides{s.up5, s.down10, s.down15, base, style == 1};
      return true;
    case 2:
      out = Sides{s.down15, base, s.up5, s.down10, true};
      return true;
    default:
      return false;
  }
}

void Thin::paintBorder(s::os::gui::MemDC& surface, std::int32_t left, std::int32_t top,
                       std::int32_t right, std::int32_t bottom, std::int32_t style,
                       std::int32_t kind, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  if (left >= right || top >= bottom) return;
  paintBorderAt(surface, Rect{left, top, right - left, bottom - top}, style, kind, Rgb{r, g, b},
                Scale::factor());
}

void Thin::paintBorderAt(s::os::gui::MemDC& surface, const Rect& area, std::int32_t style,
                         std::int32_t kind, Rgb base, std::int32_t scale) const {
  if (area.width <= 0 || area.height <= 0) return;
  const Shades shades = shadesOf(base, shaded_);
  Sides sides;
  if (!sidesOf(shades, base, style, sides)) return;
  const std::int32_t n = std::max(1, scale);
  switch (kind) {
    case 0:
      paintSquare(surface, area, sides, style, n);
      break;
    case 1:
      if (n == 1)
        paintOpen(surface, area, sides, style, shades);
      else
        paintOpenWide(surface, area, sides, style, shades);
      break;
    case 2:
      paintRound(surface, area, sides, n);
      break;
    default:
      break;
  }
}

void Thin::paintSquare(s::os::gui::MemDC& surface, const Rect& a, const Sides& sides,
                       std::int32_t style, std::int32_t n) {
  surface.fillRect(Rect{a.x, a.y, a.width, n}, sides.top);
  surface.fillRect(Rect{a.right() - n, a.y, n, a.height}, sides.right);
  if (sides.hasBottom) {
    const std::int32_t y = style == 2 ? a.bottom() - 2 : a.bottom() - n;
    surface.fillRect(Rect{a.x, y, a.width, n}, sides.bottom);
  }
  surface.fillRect(Rect{a.x, a.y, n, a.height}, sides.left);
}

void Thin::paintOpen(s::os::gui::MemDC& surface, const Rect& a, const Sides& sides,
                     std::int32_t style, const Shades& s) {
  const std::int32_t l = a.x, t = a.y, r = a.right(), b = a.bottom();
  surface.fillRect(Rect{l + 1, t, a.width - 2, 1}, sides.top);
  surface.fillRect(Rect{r - 1, t + 1, 1, a.height - 2}, sides.right);
  if (sides.hasBottom) surface.fillRect(Rect{l + 1, b - 1, a.width - 2, 1}, sides.bottom);
  surface.fillRect(Rect{l, t + 1, 1, a.height - 2}, sides.left);
  if (style == 0) paintHoverMarks(surface, a, s, 1);
}

void Thin::paintOpenWide(s::os::gui::MemDC& surface, const Rect& a, const Sides& sides,
                         std::int32_t style, const Shades& s) {
  const std::int32_t l = a.x, t = a.y, r = a.right(), b = a.bottom();
  surface.fillRect(Rect{l + 2, t, a.width - 4, 2}, sides.top);
  block(surface, l + 1, t + 1, 2, sides.top);
  surface.fillRect(Rect{r - 2, t + 2, 2, a.height - 4}, sides.right);
  block(surface, r - 3, t + 1, 2, sides.right);
  if (sides.hasBottom) {
    surface.fillRect(Rect{l + 2, b - 2, a.width - 4, 2}, sides.bottom);
    block(surface, r - 3, b - 3, 2, sides.bottom);
  }
  surface.fillRect(Rect{l, t + 2, 2, a.height - 4}, sides.left);
  block(surface, l + 1, b - 3, 2, sides.left);
  if (style == 0) paintHoverMarks(surface, a, s, 2);
}

void Thin::paintHoverMarks(s::os::gui::MemDC& surface, const Rect& a, const Shades& s,
                           std::int32_t u) {
  // Lit marks beside the top-left corner, dark ones around the bottom-right,
  // each u x u.
  const std::int32_t l = a.x, t = a.y, r = a.right(), b = a.bottom();
  block(surface, l + u, t, u, s.up15);
  block(surface, r - 2 * u, t, u, s.up5);
  block(surface, r - u, t + u, u, s.down5);
  block(surface, r - u, b - 2 * u, u, s.down50);
  block(surface, l + u, b - u, u, s.down30);
  block(surface, r - 2 * u, b - u, u, s.down55);
  block(surface, l, t + u, u, s.up15);
  block(surface, l, b - 2 * u, u, s.down15);
}

void Thin::paintRound(s::os::gui::MemDC& surface, const Rect& a, const Sides& sides,
                      std::int32_t n) {
  // Lines stop two units short of each corner; one diagonal block per
  // corner rounds it.
  const std::int32_t l = a.x, t = a.y, r = a.right(), b = a.bottom();
  surface.fillRect(Rect{l + 2 * n, t, a.width - 4 * n, n}, sides.top);
  block(surface, l + n, t + n, n, sides.top);
  surface.fillRect(Rect{r - n, t + 2 * n, n, a.height - 4 * n}, sides.right);
  block(surface, r - 2 * n, t + n, n, sides.right);
  if (sides.hasBottom) {
    surface.fillRect(Rect{l + 2 * n, b - n, a.width - 4 * n, n}, sides.bottom);
    block(surface, r - 2 * n, b - 2 * n, n, sides.bottom);
  }
  surface.fillRect(Rect{l, t + 2 * n, n, a.height - 4 * n}, sides.left);
  block(surface, l + n, b - 2 * n, n, sides.left);
}

}  // namespace s::gui::drawer::border::win
