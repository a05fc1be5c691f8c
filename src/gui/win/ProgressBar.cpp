#include "gui/win/ProgressBar.h"

#include "gui/OnUi.h"

namespace s::gui::win {

ProgressBar::ProgressBar()
    : Component(s::os::gui::WidgetKind::kProgressBar, s::os::gui::AccessibleRole::kProgressBar) {}

void ProgressBar::reset() {
  resetComponent();
  onUi([this] {
    minimum_ = 0;
    maximum_ = 100;
    position_ = 0;
  });
}

void ProgressBar::setRange(std::int32_t minimum, std::int32_t maximum) {
  onUi([&] {
    if (minimum == minimum_ && maximum == maximum_) return;
    minimum_ = minimum;
    maximum_ = maximum;
    show();
  });
}

void ProgressBar::setPosition(std::int32_t position) {
  onUi([&] {
    if (position == position_) return;
    position_ = position;
    show();
  });
}

std::int32_t ProgressBar::getPosition() {
  return onUi([this] { return position_; });
}

void ProgressBar::show() {
  if (native() != nullptr) native()->setProgress(minimum_, maximum_, position_);
}

void ProgressBar::nativeCreated(s::os::gui::NativeWidget& native) {
  native.setProgress(minimum_, maximum_, position_);
}

}  // namespace s::gui::win
