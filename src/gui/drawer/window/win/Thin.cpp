#include "gui/drawer/window/win/Thin.h"

#include <span>

namespace s::gui::drawer::window::win {

using s::os::gui::Rect;
using s::os::gui::Region;
using s::os::gui::Rgb;

void Thin::reset() {
  topCorners_ = 0;
  bottomCorners_ = 0;
  noBackground_ = true;
  background_ = Rgb{255, 255, 255};
  border_ = Rgb{120, 120, 120};
}

void Thin::setBackground(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  background_ = Rgb{r, g, b};
  noBackground_ = false;
}

void Thin::setBorderColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  border_ = Rgb{r, g, b};
}

void Thin::paint(s::os::gui::MemDC& surface, std::int32_t left, std::int32_t top,
                 std::int32_t right, std::int32_t bottom) {
  if (left >= right || top >= bottom) return;
  const std::int32_t w = right - left, h = bottom - top;
  if (!noBackground_) surface.fillRect(Rect{left, top, w, h}, background_);
  if (!isStyle(topCorners_) && !isStyle(bottomCorners_)) return;
  surface.fillRect(Rect{0, 0, w, 1}, border_);
  surface.fillRect(Rect{w - 1, 0, 1, h}, border_);
  surface.fillRect(Rect{0, h - 1, w, 1}, border_);
  surface.fillRect(Rect{0, 0, 1, h - 1}, border_);
  if (topCorners_ == 1 || bottomCorners_ == 1)
    paintCorners(surface, 1, w, h);
  else if (topCorners_ == 2 || bottomCorners_ == 2)
    paintCorners(surface, 2, w, h);
}

void Thin::paintCorners(s::os::gui::MemDC& surface, std::int32_t style, std::int32_t w,
                        std::int32_t h) {
  // Runs of border pixels inside a corner, row by row from the edge: two
  // pixels for the small corner, a 3-2-1 step for the large one.
  static constexpr std::int32_t kSmall[] = {2};
  static constexpr std::int32_t kLarge[] = {3, 2, 1};
  const auto paintRuns = [&](std::span<const std::int32_t> runs, bool topSide) {
    for (std::size_t i = 0; i < runs.size(); ++i) {
      const std::int32_t row = static_cast<std::int32_t>(i) + 1;
      const std::int32_t y = topSide ? row : h - 1 - row;
      surface.fillRect(Rect{0, y, runs[i], 1}, border_);
      surface.fillRect(Rect{w - runs[i], y, runs[i], 1}, border_);
    }
  };
  const std::span<const std::int32_t> runs =
      style == 1 ? std::span<const std::int32_t>(kSmall) : std::span<const std::int32_t>(kLarge);
  if (topCorners_ == style) paintRuns(runs, true);
  if (bottomCorners_ == style) paintRuns(runs, false);
}

Region Thin::makeRegion(std::int32_t left, std::int32_t top, std::int32_t right,
                        std::int32_t bottom) {
  Region region;
  const Rect whole{left, top, right + 1 - left, bottom + 1 - top};
  if (topCorners_ == 0 && bottomCorners_ == 0) {
    region.present = true;
    region.bounds = whole;
    return region;
  }
  std::int32_t s = 0;
  if (topCorners_ == 1 || bottomCorners_ == 1)
    s = 1;
  else if (topCorners_ == 2 || bottomCorners_ == 2)
    s = 2;
  if (s == 0) return region;
  region.present = true;
  region.bounds = whole;
  region.ellipse = s == 1 ? 5 : 11;
  const std::int32_t band = s == 1 ? 4 : 6;
  if (topCorners_ != s)
    region.extra = Rect{left, top, whole.width, band};
  else if (bottomCorners_ != s)
    region.extra = Rect{left, bottom + 1 - band, whole.width, band};
  return region;
}

}  // namespace s::gui::drawer::window::win
