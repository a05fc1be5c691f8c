#pragma once

#include "gui/IProgressBar.h"
#include "gui/win/Component.h"
#include "thread/IPoolable.h"
#include "thread/Pooled.h"

namespace s::gui::win {

// The platform's progress bar (range 0-100, position 0 after construction),
// in the accessibility tree as a progress bar with its value. Pooled.
class ProgressBar final : public IProgressBar,
                          public Component,
                          public virtual s::base::IObject,
                          public virtual s::thread::IPoolable {
  VONQ_POOLED(ProgressBar, s::thread::kPoolCap)
 public:
  ProgressBar();
  ~ProgressBar() override = default;

  void setWidthPercent(std::int32_t percent) override { Component::setWidthPercent(percent); }
  void setHeightPercent(std::int32_t percent) override { Component::setHeightPercent(percent); }
  void setFixedWidth(std::int32_t w) override { Component::setFixedWidth(w); }
  void setFixedHeight(std::int32_t h) override { Component::setFixedHeight(h); }
  void setRange(std::int32_t minimum, std::int32_t maximum) override;
  void setPosition(std::int32_t position) override;
  std::int32_t getPosition() override;

  const char16_t* getClassName() const override { return u"s_gui_win_ProgressBar"; }
  void reset() override;

 protected:
  void nativeCreated(s::os::gui::NativeWidget& native) override;

 private:
  void show();

  std::int32_t minimum_ = 0;
  std::int32_t maximum_ = 100;
  std::int32_t position_ = 0;
};

}  // namespace s::gui::win
