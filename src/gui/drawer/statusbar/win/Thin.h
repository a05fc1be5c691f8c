#pragma once

#include <cstdint>

#include "gui/drawer/statusbar/IThin.h"
#include "thread/IPoolable.h"
#include "thread/Pooled.h"

namespace s::gui::drawer::statusbar::win {

// The thin look's status-bar drawer (contract in IThin): paints nothing,
// is 13 pixels high whatever the scale factor, ignores the grip and band
// switches and keeps its colour (black after reset). Pooled.
class Thin final : public IThin,
                   public virtual s::base::IObject,
                   public virtual s::thread::IPoolable {
  VONQ_POOLED(Thin, s::thread::kPoolCap)
 public:
  static constexpr std::int32_t kHeight = 13;

  Thin() = default;
  ~Thin() override = default;

  void paint(s::os::gui::MemDC& surface, std::int32_t left, std::int32_t top, std::int32_t right,
             std::int32_t bottom) override;
  std::int32_t getHeight() override { return kHeight; }
  void setGrip(bool) override {}
  void setClassicBand(bool) override {}
  void setColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) override { color_ = {r, g, b}; }
  s::os::gui::Rgb getColor() const { return color_; }

  const char16_t* getClassName() const override { return u"s_gui_drawer_statusbar_win_Thin"; }
  void reset() override;

 private:
  s::os::gui::Rgb color_;
};

}  // namespace s::gui::drawer::statusbar::win
