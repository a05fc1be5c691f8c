#pragma once

// Reading back what drawers painted into a memory surface.

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>

#include "os/gui/MemDC.h"
#include "os/gui/Ui.h"

namespace probe {

using s::os::gui::MemDC;
using s::os::gui::Rect;
using s::os::gui::Rgb;

// A background no drawer paints with.
inline constexpr Rgb kBackground{40, 90, 160};

// A surface of w x h filled with `background`.
inline std::unique_ptr<MemDC> canvas(std::int32_t w, std::int32_t h, Rgb background = kBackground) {
  std::unique_ptr<MemDC> dc = s::os::gui::ui().createMemDC(w, h);
  dc->fillRect(Rect{0, 0, w, h}, background);
  return dc;
}

// The smallest rectangle holding every pixel of `area` that `hit` accepts
// (width 0 when none does).
inline Rect box(const MemDC& dc, const Rect& area, const std::function<bool(Rgb)>& hit) {
  std::int32_t left = area.right(), top = area.bottom(), right = area.x, bottom = area.y;
  for (std::int32_t y = area.y; y < area.bottom(); ++y) {
    for (std::int32_t x = area.x; x < area.right(); ++x) {
      if (!hit(dc.pixel(x, y))) continue;
      left = std::min(left, x);
      top = std::min(top, y);
      right = std::max(right, x + 1);
      bottom = std::max(bottom, y + 1);
    }
  }
  if (right <= left) return Rect{};
  return Rect{left, top, right - left, bottom - top};
}

// Every pixel that is not `background`.
inline Rect inkBox(const MemDC& dc, const Rect& area, Rgb background = kBackground) {
  return box(dc, area, [background](Rgb p) { return p != background; });
}

// How many pixels of `area` have exactly `colour`.
inline std::int32_t count(const MemDC& dc, const Rect& area, Rgb colour) {
  std::int32_t n = 0;
  for (std::int32_t y = area.y; y < area.bottom(); ++y)
    for (std::int32_t x = area.x; x < area.right(); ++x) n += dc.pixel(x, y) == colour ? 1 : 0;
  return n;
}

inline Rect whole(const MemDC& dc) {
  return Rect{0, 0, dc.width(), dc.height()};
}

}  // namespace probe
