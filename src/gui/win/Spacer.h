#pragma once

#include <cstdint>

#include "gui/ISpacer.h"
#include "gui/win/Component.h"
#include "thread/IPoolable.h"
#include "thread/Pooled.h"

namespace s::gui::win {

// The spacer (contract in ISpacer): a transparent drawn control with no
// content; preferred and maximum sizes 0 unless fixed or a percentage is
// set. Pooled.
class Spacer final : public ISpacer,
                     public Component,
                     public virtual s::base::IObject,
                     public virtual s::thread::IPoolable {
  VONQ_POOLED(Spacer, s::thread::kPoolCap)
 public:
  Spacer();
  ~Spacer() override = default;

  // A spacer of `n` pixels: orientation 0 horizontal (fixed width n), 1
  // vertical (fixed height n). Any thread.
  static Spacer* make(std::int32_t orientation, std::int32_t n);

  // Across its parent's main direction a spacer takes no room: a horizontal
  // one in a column box reports height 0, a vertical one in a row box
  // width 0.
  std::int32_t getPreferredWidth() override;
  std::int32_t getPreferredHeight() override;
  std::int32_t getMaximumWidth() override;
  std::int32_t getMaximumHeight() override;

  void makeHorizontal() override { turn(false); }
  void makeVertical() override { turn(true); }
  void setWidthPercent(std::int32_t percent) override;
  void setHeightPercent(std::int32_t percent) override;
  void setFixedWidth(std::int32_t w) override { Component::setFixedWidth(w); }
  void setFixedHeight(std::int32_t h) override { Component::setFixedHeight(h); }
  bool isVertical() override;

  const char16_t* getClassName() const override { return u"s_gui_win_Spacer"; }
  void reset() override;

 private:
  void resetFields();
  void turn(bool vertical);
  // Whether the parent is a box arranged across this spacer (a column for a
  // horizontal spacer, a row for a vertical one).
  bool crossesParent(bool widthAxis);

  bool vertical_ = false;
};

}  // namespace s::gui::win
