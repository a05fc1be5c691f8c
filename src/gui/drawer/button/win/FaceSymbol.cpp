#include "gui/drawer/button/win/FaceSymbol.h"

#include <algorithm>
#include <array>
#include <utility>

namespace s::gui::drawer::button::win {

using s::os::gui::MemDC;
using s::os::gui::Rect;
using s::os::gui::Rgb;

namespace {

constexpr std::u16string_view kColorPrefix = u"#Color-";

// The mark's square: the largest even square centred in the area inset by
// one unit.
Rect markSquare(const Rect& a, std::int32_t m) {
  const std::int32_t w = a.width - 2 * m, h = a.height - 2 * m;
  const std::int32_t n = std::max(0, std::min(w, h)) & ~1;
  return Rect{a.x + m + (w - n) / 2, a.y + m + (h - n) / 2, n, n};
}

void bar(MemDC& dc, const Rect& a, Rgb c, std::int32_t m) {
  const Rect q = markSquare(a, m);
  dc.fillRect(Rect{q.x, q.y + q.height / 2 - m, q.width, 2 * m}, c);
}

void underscore(MemDC& dc, const Rect& a, Rgb c, std::int32_t m) {
  const Rect q = markSquare(a, m);
  dc.fillRect(Rect{q.x, q.bottom() - 2 * m, q.width, 2 * m}, c);
}

void dot(MemDC& dc, const Rect& a, Rgb c, std::int32_t m) {
  const Rect q = markSquare(a, m);
  dc.fillRect(Rect{q.x + q.width / 2 - m, q.y + q.height / 2 - m, 2 * m, 2 * m}, c);
}

void vbar(MemDC& dc, const Rect& a, Rgb c, std::int32_t m) {
  const Rect q = markSquare(a, m);
  dc.fillRect(Rect{q.x + q.width / 2 - m, q.y, 2 * m, q.height}, c);
}

void plus(MemDC& dc, const Rect& a, Rgb c, std::int32_t m) {
  bar(dc, a, c, m);
  vbar(dc, a, c, m);
}

void square(MemDC& dc, const Rect& a, Rgb c, std::int32_t m) {
  const Rect q = markSquare(a, m);
  dc.fillRect(Rect{q.x + q.width / 4, q.y + q.height / 4, q.width / 2, q.height / 2}, c);
}

void outline(MemDC& dc, const Rect& a, Rgb c, std::int32_t m) {
  dc.frameRect(markSquare(a, m), c);
}

// A triangle pointing in `dir` (0 right, 1 left, 2 down, 3 up), drawn as
// lines that shrink toward its tip.
void triangle(MemDC& dc, const Rect& a, Rgb c, std::int32_t m, int dir) {
  const Rect q = markSquare(a, m);
  const std::int32_t half = q.width / 2;
  for (std::int32_t i = 0; i < half; ++i) {
    const std::int32_t from = q.y + i, to = q.bottom() - 1 - i;
    const std::int32_t fromX = q.x + i, toX = q.right() - 1 - i;
    switch (dir) {
      case 0:
        dc.drawLine(q.x + half / 2 + i, from, q.x + half / 2 + i, to, c);
        break;
      case 1:
        dc.drawLine(q.right() - 1 - half / 2 - i, from, q.right() - 1 - half / 2 - i, to, c);
        break;
      case 2:
        dc.drawLine(fromX, q.y + half / 2 + i, toX, q.y + half / 2 + i, c);
        break;
      default:
        dc.drawLine(fromX, q.bottom() - 1 - half / 2 - i, toX, q.bottom() - 1 - half / 2 - i, c);
        break;
    }
  }
}

void right(MemDC& dc, const Rect& a, Rgb c, std::int32_t m) {
  triangle(dc, a, c, m, 0);
}
void left(MemDC& dc, const Rect& a, Rgb c, std::int32_t m) {
  triangle(dc, a, c, m, 1);
}
void down(MemDC& dc, const Rect& a, Rgb c, std::int32_t m) {
  triangle(dc, a, c, m, 2);
}
void up(MemDC& dc, const Rect& a, Rgb c, std::int32_t m) {
  triangle(dc, a, c, m, 3);
}

void pause(MemDC& dc, const Rect& a, Rgb c, std::int32_t m) {
  const Rect q = markSquare(a, m);
  dc.fillRect(Rect{q.x + q.width / 4, q.y, 2 * m, q.height}, c);
  dc.fillRect(Rect{q.right() - q.width / 4 - 2 * m, q.y, 2 * m, q.height}, c);
}

void check(MemDC& dc, const Rect& a, Rgb c, std::int32_t m) {
  const Rect q = markSquare(a, m);
  const std::int32_t third = q.width / 3;
  for (std::int32_t k = 0; k < 2 * m; ++k) {
    dc.drawLine(q.x, q.y + q.height / 2 + k, q.x + third, q.bottom() - 1 - 2 * m + k, c);
    dc.drawLine(q.x + third, q.bottom() - 1 - 2 * m + k, q.right() - 1, q.y + k, c);
  }
}

void grip(MemDC& dc, const Rect& a, Rgb c, std::int32_t m) {
  const std::int32_t r = a.right(), b = a.bottom();
  for (const auto& [dx, dy] : {std::pair{3, 11}, {3, 7}, {7, 7}, {3, 3}, {7, 3}, {11, 3}})
    dc.fillRect(Rect{r - dx * m, b - dy * m, 2 * m, 2 * m}, c);
}

struct Named {
  std::u16string_view name;
  void (*painter)(MemDC&, const Rect&, Rgb, std::int32_t);
};

// Every symbol name, in the order they are matched.
constexpr std::array<Named, 33> kSymbols{{
    {u"#_", underscore},        {u"#Transform", outline}, {u"#.", dot},
    {u"#X", nullptr},           {u"#Play", right},        {u"#Pause", pause},
    {u"#Stop", square},         {u"#Speaker", left},      {u"#Mute", square},
    {u"#Right", right},         {u"#RightRight", right},  {u"#Left", left},
    {u"#LeftLeft", left},       {u"#Down", down},         {u"#Up", up},
    {u"#ThumbLineV", vbar},     {u"#ThumbLineH", bar},    {u"#Minus", bar},
    {u"#Plus", plus},           {u"#PlusMinus", plus},    {u"#Check", check},
    {u"#Next", right},          {u"#Prev", left},         {u"#Resizer", grip},
    {u"#TreeClosed", plus},     {u"#TreeOpen", bar},      {u"#TurnRight", right},
    {u"#TurnLeft", left},       {u"#OnTop", up},          {u"#FitWindow", outline},
    {u"#FitToWindow", outline}, {u"#Palm", square},       {u"#KeepRatio", outline},
}};

std::int32_t hexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

}  // namespace

FaceSymbol::Painter FaceSymbol::find(std::u16string_view text) {
  for (const Named& named : kSymbols) {
    if (named.name == text) return named.painter != nullptr ? named.painter : cross;
  }
  return nullptr;
}

bool FaceSymbol::isSymbol(std::u16string_view text) {
  if (text.empty() || text.front() != u'#') return false;
  Rgb colour;
  return find(text) != nullptr || swatchColour(text, colour);
}

bool FaceSymbol::paint(MemDC& surface, const Rect& area, std::u16string_view text, Rgb colour,
                       std::int32_t scale) {
  if (text.empty() || text.front() != u'#') return false;
  const std::int32_t m = std::max(1, scale);
  if (Painter painter = find(text)) {
    if (area.width > 0 && area.height > 0) painter(surface, area, colour, m);
    return true;
  }
  Rgb swatch;
  if (!swatchColour(text, swatch)) return false;
  surface.fillRect(area, swatch);
  return true;
}

bool FaceSymbol::swatchColour(std::u16string_view text, Rgb& out) {
  if (!text.starts_with(kColorPrefix)) return false;
  const std::u16string_view digits = text.substr(kColorPrefix.size());
  if (digits.size() != 8) return false;
  std::array<std::int32_t, 8> v{};
  for (std::size_t i = 0; i < 8; ++i) {
    v[i] = hexDigit(digits[i]);
    if (v[i] < 0) return false;
  }
  out =
      Rgb{static_cast<std::uint8_t>(v[6] * 16 + v[7]), static_cast<std::uint8_t>(v[4] * 16 + v[5]),
          static_cast<std::uint8_t>(v[2] * 16 + v[3])};
  return true;
}

void FaceSymbol::cross(MemDC& surface, const Rect& a, Rgb colour, std::int32_t m) {
  const std::int32_t x0 = a.x + m, x1 = a.right() - m;
  const std::int32_t y0 = a.y + m, y1 = a.bottom() - m;
  const std::int32_t n = std::min(x1 - x0, y1 - y0) & ~1;
  if (n <= 0) return;
  const std::int32_t dx = ((x1 - x0) - n) / 2, dy = ((y1 - y0) - n) / 2;
  const std::int32_t s = 2 * m;
  const std::int32_t yEnd = y1 - s + 1;
  for (std::int32_t x = x0 + dx, y = y0 + dy; x < x1 && y < yEnd; ++x, ++y)
    surface.fillRect(Rect{x, y, s, s}, colour);
  for (std::int32_t x = x1 - s - dx, y = y0 + dy; x >= x0 && y < yEnd; --x, ++y)
    surface.fillRect(Rect{x, y, s, s}, colour);
}

}  // namespace s::gui::drawer::button::win
