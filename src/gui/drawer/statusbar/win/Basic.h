#pragma once

#include <cstdint>

#include "gui/drawer/statusbar/IBasic.h"
#include "gui/drawer/statusbar/win/BasicResizer.h"
#include "thread/IPoolable.h"
#include "thread/Pooled.h"

namespace s::gui::drawer::statusbar::win {

// The plain status-bar drawer (contract in IStatusBar): 23 pixels high times
// the scale factor; paints the classic band when asked to, then the resize
// grip (BasicResizer) over the same rectangle when asked to. A new one
// paints nothing. Pooled.
class Basic final : public IBasic,
                    public virtual s::base::IObject,
                    public virtual s::thread::IPoolable {
  VONQ_POOLED(Basic, s::thread::kPoolCap)
 public:
  static constexpr std::int32_t kHeight = 23;
  // The classic band's edge: a shadow line over a white one along the top.
  static constexpr s::os::gui::Rgb kBandShadow{160, 160, 160};

  Basic() = default;
  ~Basic() override = default;

  void paint(s::os::gui::MemDC& surface, std::int32_t left, std::int32_t top, std::int32_t right,
             std::int32_t bottom) override;
  std::int32_t getHeight() override;
  void setGrip(bool on) override { grip_ = on; }
  void setClassicBand(bool on) override { classicBand_ = on; }

  // The bar's height at scale factor `scale`.
  static std::int32_t heightAt(std::int32_t scale) { return kHeight * scale; }

  const char16_t* getClassName() const override { return u"s_gui_drawer_statusbar_win_Basic"; }
  void reset() override;

 private:
  bool grip_ = false;
  bool classicBand_ = false;
  BasicResizer resizer_;
};

}  // namespace s::gui::drawer::statusbar::win
