#pragma once

#include <cstdint>

#include "gui/drawer/window/IThin.h"
#include "thread/IPoolable.h"
#include "thread/Pooled.h"

namespace s::gui::drawer::window::win {

// The flat window frame (contract in IWindow): the background fill (unless
// no background was set), then a one-pixel border along the surface's edges
// in the border colour; small rounded corners (style 1) add a two-pixel
// mark inside each such corner, large ones (style 2) a stepped one. Its
// region is the window's rectangle one pixel larger on the right and bottom
// (square corners), or that rectangle rounded with 5 x 5 (style 1) or
// 11 x 11 (style 2) corner ellipses, the other pair of corners squared
// again when only one pair is rounded. After reset: square corners, no
// background (white when set without colour), border (120, 120, 120).
// Pooled.
class Thin final : public IThin,
                   public virtual s::base::IObject,
                   public virtual s::thread::IPoolable {
  VONQ_POOLED(Thin, s::thread::kPoolCap)
 public:
  Thin() = default;
  ~Thin() override = default;

  void paint(s::os::gui::MemDC& surface, std::int32_t left, std::int32_t top, std::int32_t right,
             std::int32_t bottom) override;
  s::os::gui::Region makeRegion(std::int32_t left, std::int32_t top, std::int32_t right,
                                std::int32_t bottom) override;
  s::os::gui::Rgb getBackground() override { return background_; }
  void setBackground(std::uint8_t r, std::uint8_t g, std::uint8_t b) override;
  s::os::gui::Rgb getBorderColor() override { return border_; }
  void setBorderColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) override;
  void setTopCorners(std::int32_t style) override { topCorners_ = style; }
  void setBottomCorners(std::int32_t style) override { bottomCorners_ = style; }

  const char16_t* getClassName() const override { return u"s_gui_drawer_window_win_Thin"; }
  void reset() override;

 private:
  static bool isStyle(std::int32_t style) { return style >= 0 && style <= 2; }
  // The marks inside the corners of `style` (1 or 2), for a w x h frame.
  void paintCorners(s::os::gui::MemDC& surface, std::int32_t style, std::int32_t w, std::int32_t h);

  std::int32_t topCorners_ = 0;
  std::int32_t bottomCorners_ = 0;
  bool noBackground_ = true;
  s::os::gui::Rgb background_{255, 255, 255};
  s::os::gui::Rgb border_{120, 120, 120};
};

}  // namespace s::gui::drawer::window::win
