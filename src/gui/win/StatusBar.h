#pragma once

#include <cstdint>

#include "gui/IStatusBar.h"
#include "gui/win/Container.h"
#include "thread/IPoolable.h"
#include "thread/Pooled.h"

namespace s::gui::win {

// The status bar (contract in IStatusBar): its content fills it as a pile;
// as high as its fixed height, else its drawer's height (the basic drawer:
// 23 pixels times the scale factor). Painted in one surface: the background
// (its nearest opaque ancestor's colour when transparent), then the drawer.
// Presses on the bar pass to the window beneath. Pooled.
class StatusBar final : public IStatusBar,
                        public Container,
                        public virtual s::base::IObject,
                        public virtual s::thread::IPoolable {
  VONQ_POOLED(StatusBar, s::thread::kPoolCap)
 public:
  // The grip's side, before the scale factor.
  static constexpr std::int32_t kGripSize = 12;

  StatusBar();
  ~StatusBar() override;

  // A status bar across its parent's width: an outer row box filling the
  // bar holds an inner column box (middle-aligned, margins `mx` and `my`
  // when above 0, taking the width the corner leaves) and a corner box
  // holding the resize grip ("#Resizer", 12 x 12 times the scale factor)
  // at its bottom right. What is added to the bar goes into the inner box.
  // Any thread.
  static StatusBar* make(std::int32_t mx, std::int32_t my);

  std::int32_t getPreferredHeight() override;
  std::int32_t getMaximumHeight() override;
  // Into the inner content; then the bar and its window lay out again.
  void add(IComponent* child) override;
  // Taking the outer content out forgets the content.
  void remove(IComponent* child, bool release) override;
  void removeAll(bool release) override;

  void setWidthPercent(std::int32_t percent) override { Component::setWidthPercent(percent); }
  void setHeightPercent(std::int32_t percent) override { Component::setHeightPercent(percent); }
  void setFixedWidth(std::int32_t n) override { Component::setFixedWidth(n); }
  void setFixedHeight(std::int32_t n) override { Component::setFixedHeight(n); }
  void setContent(IComponent* outer, IContainer* inner) override;
  void setDrawer(s::gui::drawer::IStatusBar* drawer, bool owned) override;
  s::gui::drawer::IStatusBar* getDrawer() override;

  const char16_t* getClassName() const override { return u"s_gui_win_StatusBar"; }
  void reset() override;

 protected:
  Arrange::Content arrange() override;
  bool takeTheme(s::gui::drawer::ISkin* theme) override;
  void onPaint(s::os::gui::MemDC& dc) override;

 private:
  void resetFields();
  void releaseDrawer();
  std::int32_t barHeight();

  IComponent* outer_ = nullptr;
  IContainer* inner_ = nullptr;
  s::gui::drawer::IStatusBar* drawer_ = nullptr;
  bool ownsDrawer_ = false;
};

}  // namespace s::gui::win
