#include "gui/win/Container.h"

#include <algorithm>
#include <cmath>

#include "gui/ILayoutManager.h"
#include "gui/IWindow.h"
#include "gui/OnUi.h"

namespace s::gui::win {

Container::Container(s::os::gui::WidgetKind kind, s::os::gui::AccessibleRole role)
    : Component(kind, role) {}

Container::~Container() {
  onUi([this] { children_.removeAll(false); });
}

void Container::resetContainer() {
  resetComponent();
  onUi([this] {
    children_.removeAll(false);
    margins_ = Margins{};
    manager_ = nullptr;
    content_ = Arrange::Content{};
    layoutDepth_ = 0;
    minimumWidth_ = -1;
    collapseWidth_ = collapseHeight_ = false;
  });
}

// --- sizes ------------------------------------------------------------------------------

std::int32_t Container::getClientWidth() {
  return onUi([this] { return std::max(0, getWidth() - margins_.left - margins_.right); });
}

std::int32_t Container::getClientHeight() {
  return onUi([this] { return std::max(0, getHeight() - margins_.top - margins_.bottom); });
}

void Container::setClientWidth(std::int32_t w) {
  onUi([&] { setWidth(w + margins_.left + margins_.right); });
}

void Container::setClientHeight(std::int32_t h) {
  onUi([&] { setHeight(h + margins_.top + margins_.bottom); });
}

std::int32_t Container::getPreferredWidth() {
  return onUi([this] {
    if (collapseWidth_) return 0;
    if (fixedWidthSetting() >= 0) return fixedWidthSetting();
    return std::max(minimumWidth_, margins_.left + margins_.right + content_.width);
  });
}

std::int32_t Container::getPreferredHeight() {
  return onUi([this] {
    if (collapseHeight_) return 0;
    if (fixedHeightSetting() >= 0) return fixedHeightSetting();
    return margins_.top + margins_.bottom + content_.height;
  });
}

std::int32_t Container::getPreferredClientWidth() {
  return onUi([this] { return getPreferredWidth() - margins_.left - margins_.right; });
}

std::int32_t Container::getPreferredClientHeight() {
  return onUi([this] { return getPreferredHeight() - margins_.top - margins_.bottom; });
}

std::int32_t Container::percentOfParent(std::int32_t percent, bool horizontal) {
  IComponent* parent = getParent();
  const std::int32_t room = parent == nullptr ? 0
                            : horizontal      ? parent->getClientWidth()
                                              : parent->getClientHeight();
  return static_cast<std::int32_t>(
      std::lround(static_cast<float>(room) * static_cast<float>(percent) / 100.0f));
}

std::int32_t Container::getMaximumWidth() {
  return onUi([this] {
    if (fixedWidthSetting() >= 0) return fixedWidthSetting();
    if (widthPercentSetting() >= 0) return percentOfParent(widthPercentSetting(), true);
    return margins_.left + margins_.right + std::max(content_.width, content_.maxWidth);
  });
}

std::int32_t Container::getMaximumHeight() {
  return onUi([this] {
    if (fixedHeightSetting() >= 0) return fixedHeightSetting();
    if (heightPercentSetting() >= 0) return percentOfParent(heightPercentSetting(), false);
    return margins_.top + margins_.bottom + std::max(content_.height, content_.maxHeight);
  });
}

std::int32_t Container::getMaximumClientWidth() {
  return onUi([this] { return getMaximumWidth() - margins_.left - margins_.right; });
}

std::int32_t Container::getMaximumClientHeight() {
  return onUi([this] { return getMaximumHeight() - margins_.top - margins_.bottom; });
}

void Container::fitTo(std::int32_t w, std::int32_t h) {
  onUi([&] {
    Component::fitTo(w, h);
    layout();
  });
}

void Container::setMarginValues(const Margins& margins) {
  onUi([&] {
    margins_ = margins;
    for (IComponent* child : children_.all()) child->setOrigin(margins_.left, margins_.top);
  });
}

void Container::attached() {
  for (IComponent* child : children_.all()) {
    child->setParent(nullptr);
    child->setParent(this);
    child->setOrigin(margins_.left, margins_.top);
  }
}

void Container::detaching() {
  for (IComponent* child : children_.all()) child->setParent(nullptr);
}

// --- children -----------------------------------------------------------------------------

void Container::add(IComponent* child) {
  if (child == nullptr) return;
  onUi([&] {
    children_.add(child);
    child->setOrigin(margins_.left, margins_.top);
    layout();
  });
}

void Container::remove(IComponent* child, bool release) {
  onUi([&] {
    if (children_.remove(child, release)) layout();
  });
}

void Container::removeAll(bool release) {
  onUi([&] {
    children_.removeAll(release);
    layout();
  });
}

std::int32_t Container::getChildCount() {
  return onUi([this] { return children_.count(); });
}

IComponent* Container::getChild(std::int32_t i) {
  return onUi([&] { return children_.at(i); });
}

std::vector<IComponent*> Container::getChildren() {
  return onUi([this] { return children_.all(); });
}

void Container::beginDeferring() {
  onUi([this] {
    Component::beginDeferring();
    children_.beginDeferring();
  });
}

void Container::endDeferring() {
  onUi([this] {
    Component::endDeferring();
    children_.endDeferring();
  });
}

// --- layout -------------------------------------------------------------------------------

void Container::layout() {
  onUi([this] {
    if (layoutDepth_ > 1) return;
    ++layoutDepth_;
    content_ = Arrange::Content{};
    if (!children_.empty()) {
      if (manager_ != nullptr) {
        manager_->layout(this);
      } else {
        content_ = arrange();
      }
    }
    laidOut();
    --layoutDepth_;
  });
}

ILayoutManager* Container::getLayoutManager() {
  return onUi([this] { return manager_; });
}

void Container::setLayoutManager(ILayoutManager* manager) {
  onUi([&] { manager_ = manager; });
}

void Container::relayoutWindow(bool twice) {
  IWindow* window = getWindow();
  if (window == nullptr) return;
  window->layoutNow();
  if (twice) window->layoutNow();
}

}  // namespace s::gui::win
