#pragma once

#include <cstdint>

#include "gui/drawer/border/IUnderWindowMenu.h"
#include "thread/IPoolable.h"
#include "thread/Pooled.h"

namespace s::gui::drawer::border::win {

// The etched line under a window's menu bar (contract in
// IUnderWindowMenu): a (172, 168, 153) line at (0, 0) and a white one at
// (0, 1), each as wide as the rectangle, from the surface's origin. Pooled.
class UnderWindowMenu final : public IUnderWindowMenu,
                              public virtual s::base::IObject,
                              public virtual s::thread::IPoolable {
  VONQ_POOLED(UnderWindowMenu, s::thread::kPoolCap)
 public:
  static constexpr s::os::gui::Rgb kDark{172, 168, 153};

  UnderWindowMenu() = default;
  ~UnderWindowMenu() override = default;

  void paint(s::os::gui::MemDC& surface, std::int32_t left, std::int32_t top, std::int32_t right,
             std::int32_t bottom) override;
  void setColor(std::uint8_t, std::uint8_t, std::uint8_t) override {}

  const char16_t* getClassName() const override {
    return u"s_gui_drawer_border_win_UnderWindowMenu";
  }
  void reset() override {}
};

}  // namespace s::gui::drawer::border::win
