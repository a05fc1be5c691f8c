// The resize grip's look on a memory surface.

#include <gtest/gtest.h>

#include "gui/win/Button.h"
#include "os/gui/MemDC.h"
#include "os/gui/Ui.h"

namespace {

using s::gui::win::Button;
using s::os::gui::Rgb;

TEST(Grip, SixDotsWithTheirShadesFormATriangleInTheCorner) {
  auto dc = s::os::gui::ui().createMemDC(12, 12);
  const Rgb face{240, 240, 240};
  dc->fillRect(s::os::gui::Rect{0, 0, 12, 12}, face);
  Button::paintGrip(*dc, 12, 12);
  const Rgb white{255, 255, 255};
  // Each dot: white at its place (its lower right pixel), the shade one
  // pixel up and left of it.
  for (const auto& [x, y] : {std::pair{9, 1}, {9, 5}, {5, 5}, {9, 9}, {5, 9}, {1, 9}}) {
    EXPECT_EQ(dc->pixel(x + 1, y + 1), white) << x << "," << y;
    EXPECT_EQ(dc->pixel(x - 1, y - 1), Button::kGripShade) << x << "," << y;
  }
  // Above the diagonal nothing is drawn.
  for (const auto& [x, y] : {std::pair{1, 1}, {5, 1}, {1, 5}, {3, 3}})
    EXPECT_EQ(dc->pixel(x, y), face) << x << "," << y;
}

}  // namespace
