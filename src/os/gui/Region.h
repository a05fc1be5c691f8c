#pragma once

#include <cstdint>

#include "os/gui/Geometry.h"

namespace s::os::gui {

// The visible shape of a top-level window, in the window's own pixels: none
// at all (the window keeps its full rectangle), a rectangle, or a rectangle
// with rounded corners (corner ellipses `ellipse` x `ellipse`), in the
// rounded case joined with one more rectangle that squares two of its
// corners. Portable: the platform turns it into its own region.
struct Region {
  bool present = false;
  Rect bounds;
  std::int32_t ellipse = 0;  // 0: square corners
  Rect extra;                // added to the shape when not empty

  // Whether pixel (x, y) belongs to the shape. A region that is not
  // present holds nothing. A pixel of a rounded corner belongs when its
  // centre lies inside the corner ellipse.
  bool contains(std::int32_t x, std::int32_t y) const;
};

}  // namespace s::os::gui
