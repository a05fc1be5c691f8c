#include "gui/win/StatusBar.h"

#include "gui/OnUi.h"
#include "gui/Scale.h"
#include "gui/drawer/ISkin.h"
#include "gui/drawer/statusbar/win/Basic.h"
#include "gui/win/Box.h"
#include "gui/win/Button.h"

namespace s::gui::win {

using s::os::gui::Rect;

StatusBar::StatusBar()
    : Container(s::os::gui::WidgetKind::kContainer, s::os::gui::AccessibleRole::kStatusBar) {
  resetFields();
}

StatusBar::~StatusBar() {
  onUi([this] { releaseDrawer(); });
}

void StatusBar::reset() {
  resetContainer();
  resetFields();
}

void StatusBar::resetFields() {
  onUi([this] {
    outer_ = nullptr;
    inner_ = nullptr;
    setDrawer(nullptr, true);
  });
}

StatusBar* StatusBar::make(std::int32_t mx, std::int32_t my) {
  const std::int32_t scale = s::gui::Scale::factor();
  StatusBar* bar = StatusBar::create();
  Button* grip = Button::create();
  grip->setText(Button::kResizer);
  grip->setFixedWidth(kGripSize * scale);
  grip->setFixedHeight(kGripSize * scale);
  grip->setDrawFlag(false);
  Box* corner = Box::make(IBox::kRow, 2, -1.0f, 100.0f, 2);
  corner->add(grip);
  Box* inner = Box::make(IBox::kColumn, 0, 100.0f, 100.0f, 1, 0, 0, mx, my);
  Box* outer = Box::make(IBox::kRow, 0, 100.0f, 100.0f, 0);
  outer->add(inner);
  outer->add(corner);
  bar->setContent(outer, inner);
  bar->setWidthPercent(100);
  return bar;
}

// --- sizes and content ------------------------------------------------------------------

std::int32_t StatusBar::barHeight() {
  if (fixedHeightSetting() >= 0) return fixedHeightSetting();
  return drawer_->getHeight();
}

std::int32_t StatusBar::getPreferredHeight() {
  return onUi([this] { return barHeight(); });
}

std::int32_t StatusBar::getMaximumHeight() {
  return onUi([this] { return barHeight(); });
}

void StatusBar::add(IComponent* child) {
  if (child == nullptr) return;
  onUi([&] {
    if (inner_ != nullptr) {
      inner_->add(child);
    } else if (outer_ != nullptr && outer_->isContainer()) {
      outer_->add(child);
    } else {
      Container::add(child);
    }
    layout();
    relayoutWindow(false);
  });
}

void StatusBar::remove(IComponent* child, bool release) {
  onUi([&] {
    if (child == outer_) {
      outer_ = nullptr;
      inner_ = nullptr;
    }
    Container::remove(child, release);
  });
}

void StatusBar::removeAll(bool release) {
  onUi([&] {
    outer_ = nullptr;
    inner_ = nullptr;
    Container::removeAll(release);
  });
}

void StatusBar::setContent(IComponent* outer, IContainer* inner) {
  onUi([&] {
    if (outer_ != nullptr && outer_ != outer) children().remove(outer_, false);
    outer_ = outer;
    inner_ = inner;
    if (outer != nullptr) Container::add(outer);
  });
}

Arrange::Content StatusBar::arrange() {
  return Arrange::pile(*this, Arrange::Settings{});
}

// --- drawing ------------------------------------------------------------------------------

void StatusBar::setDrawer(s::gui::drawer::IStatusBar* drawer, bool owned) {
  onUi([&] {
    if (drawer != nullptr && drawer == drawer_) return;
    releaseDrawer();
    if (drawer == nullptr) {
      drawer = s::gui::drawer::statusbar::win::Basic::create();
      owned = true;
    }
    drawer_ = drawer;
    ownsDrawer_ = owned;
    redraw();
  });
}

bool StatusBar::takeTheme(s::gui::drawer::ISkin* theme) {
  setDrawer(theme != nullptr ? theme->getStatusBarDrawer() : nullptr, theme == nullptr);
  return true;
}

s::gui::drawer::IStatusBar* StatusBar::getDrawer() {
  return onUi([this] { return drawer_; });
}

void StatusBar::releaseDrawer() {
  if (drawer_ != nullptr && ownsDrawer_) drawer_->release();
  drawer_ = nullptr;
  ownsDrawer_ = false;
}

void StatusBar::onPaint(s::os::gui::MemDC& dc) {
  dc.fillRect(Rect{0, 0, dc.width(), dc.height()}, shownBackground());
  drawer_->paint(dc, 0, 0, dc.width(), dc.height());
}

}  // namespace s::gui::win
