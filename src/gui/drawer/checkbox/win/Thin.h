#pragma once

#include <cstdint>

#include "gui/drawer/checkbox/IThin.h"
#include "thread/IPoolable.h"
#include "thread/Pooled.h"

namespace s::gui::drawer::checkbox::win {

// The flat check box (contract in ICheckBox): a square of the rectangle's
// height at its left with a one-pixel frame in the box colour and, when
// checked, a filled square in the mark colour inset by a quarter of the
// side. After reset: frame (120, 120, 120), mark black, disabled
// (160, 160, 160). Pooled.
class Thin final : public IThin,
                   public virtual s::base::IObject,
                   public virtual s::thread::IPoolable {
  VONQ_POOLED(Thin, s::thread::kPoolCap)
 public:
  Thin() { reset(); }
  ~Thin() override = default;

  void paintCheck(s::os::gui::MemDC& surface, std::int32_t left, std::int32_t top,
                  std::int32_t right, std::int32_t bottom, bool checked, bool enabled) override;
  void setColors(std::uint8_t boxR, std::uint8_t boxG, std::uint8_t boxB, std::uint8_t markR,
                 std::uint8_t markG, std::uint8_t markB) override;
  void setDisabledColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) override;
  s::os::gui::Rgb getBoxColor() override { return box_; }
  s::os::gui::Rgb getMarkColor() override { return mark_; }
  s::os::gui::Rgb getDisabledColor() override { return disabled_; }

  const char16_t* getClassName() const override { return u"s_gui_drawer_checkbox_win_Thin"; }
  void reset() override;

 private:
  s::os::gui::Rgb box_;
  s::os::gui::Rgb mark_;
  s::os::gui::Rgb disabled_;
};

}  // namespace s::gui::drawer::checkbox::win
