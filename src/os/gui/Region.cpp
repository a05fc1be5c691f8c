#include "os/gui/Region.h"

namespace s::os::gui {

namespace {

bool inside(const Rect& r, std::int32_t x, std::int32_t y) {
  return x >= r.x && y >= r.y && x < r.right() && y < r.bottom();
}

// Distance of a pixel's centre from the corner ellipse's centre along one
// axis, or 0 when the pixel is not in that corner's band.
double offset(std::int32_t p, std::int32_t low, std::int32_t high, double radius) {
  const double centre = p + 0.5;
  if (centre < low + radius) return low + radius - centre;
  if (centre > high - radius) return centre - (high - radius);
  return 0.0;
}

}  // namespace

bool Region::contains(std::int32_t x, std::int32_t y) const {
  if (!present) return false;
  if (extra.width > 0 && extra.height > 0 && inside(extra, x, y)) return true;
  if (!inside(bounds, x, y)) return false;
  if (ellipse <= 0) return true;
  const double radius = ellipse / 2.0;
  const double dx = offset(x, bounds.x, bounds.right(), radius);
  const double dy = offset(y, bounds.y, bounds.bottom(), radius);
  if (dx == 0.0 || dy == 0.0) return true;
  return dx * dx + dy * dy <= radius * radius;
}

}  // namespace s::os::gui
