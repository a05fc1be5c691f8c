#include "gui/win/Spacer.h"

#include "gui/IBox.h"
#include "gui/OnUi.h"

namespace s::gui::win {

Spacer::Spacer() : Component(s::os::gui::WidgetKind::kDrawn, s::os::gui::AccessibleRole::kFiller) {
  resetFields();
}

void Spacer::reset() {
  resetComponent();
  resetFields();
}

void Spacer::resetFields() {
  onUi([this] {
    vertical_ = false;
    Component::setFixedWidth(1);
    Component::setFixedHeight(1);
    setTransparent(/*redraw=*/false);
  });
}

Spacer* Spacer::make(std::int32_t orientation, std::int32_t n) {
  Spacer* spacer = Spacer::create();
  if (orientation == 1) {
    spacer->makeVertical();
    spacer->setFixedHeight(n);
  } else {
    spacer->setFixedWidth(n);
  }
  return spacer;
}

bool Spacer::crossesParent(bool widthAxis) {
  auto* box = dynamic_cast<IBox*>(getParent());
  if (box == nullptr) return false;
  // A vertical spacer's width crosses a row; a horizontal one's height a
  // column.
  return widthAxis ? vertical_ && box->getDirection() == IBox::kRow
                   : !vertical_ && box->getDirection() == IBox::kColumn;
}

std::int32_t Spacer::getPreferredWidth() {
  return onUi([this] { return crossesParent(true) ? 0 : Component::getPreferredWidth(); });
}

std::int32_t Spacer::getPreferredHeight() {
  return onUi([this] { return crossesParent(false) ? 0 : Component::getPreferredHeight(); });
}

std::int32_t Spacer::getMaximumWidth() {
  return onUi([this] { return crossesParent(true) ? 0 : Component::getMaximumWidth(); });
}

std::int32_t Spacer::getMaximumHeight() {
  return onUi([this] { return crossesParent(false) ? 0 : Component::getMaximumHeight(); });
}

void Spacer::setWidthPercent(std::int32_t percent) {
  onUi([&] {
    Component::setWidthPercent(percent);
    Component::setFixedWidth(-1);
  });
}

void Spacer::setHeightPercent(std::int32_t percent) {
  onUi([&] {
    Component::setHeightPercent(percent);
    Component::setFixedHeight(-1);
  });
}

bool Spacer::isVertical() {
  return onUi([this] { return vertical_; });
}

void Spacer::turn(bool vertical) {
  onUi([&] {
    if (vertical == vertical_) return;
    vertical_ = vertical;
    const std::int32_t fixedWidth = fixedWidthSetting();
    const std::int32_t widthPercent = widthPercentSetting();
    Component::setFixedWidth(fixedHeightSetting());
    Component::setWidthPercent(heightPercentSetting());
    Component::setFixedHeight(fixedWidth);
    Component::setHeightPercent(widthPercent);
  });
}

}  // namespace s::gui::win
