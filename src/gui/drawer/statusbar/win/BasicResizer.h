#pragma once

#include <cstdint>

#include "gui/drawer/statusbar/IBasicResizer.h"
#include "thread/IPoolable.h"
#include "thread/Pooled.h"

namespace s::gui::drawer::statusbar::win {

// The resize grip (contract in IBasicResizer), placed from the surface's
// origin by the rectangle's width w and height h: at (w-3, h-11),
// (w-3, h-7), (w-7, h-7), (w-3, h-3), (w-7, h-3) and (w-11, h-3) a white
// 2 x 2 square, then a (184, 181, 161) one a pixel up and left of it.
// Pooled.
class BasicResizer final : public IBasicResizer,
                           public virtual s::base::IObject,
                           public virtual s::thread::IPoolable {
  VONQ_POOLED(BasicResizer, s::thread::kPoolCap)
 public:
  static constexpr s::os::gui::Rgb kShade{184, 181, 161};

  BasicResizer() = default;
  ~BasicResizer() override = default;

  void paint(s::os::gui::MemDC& surface, std::int32_t left, std::int32_t top, std::int32_t right,
             std::int32_t bottom) override;

  const char16_t* getClassName() const override {
    return u"s_gui_drawer_statusbar_win_BasicResizer";
  }
  void reset() override {}
};

}  // namespace s::gui::drawer::statusbar::win
