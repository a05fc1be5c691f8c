#include "gui/win/Picture.h"

#include "gui/OnUi.h"
#include "os/gui/MemDC.h"

namespace s::gui::win {

Picture::Picture()
    : Component(s::os::gui::WidgetKind::kDrawn, s::os::gui::AccessibleRole::kImage) {}

void Picture::reset() {
  resetComponent();
  onUi([this] {
    png_.clear();
    name_.clear();
  });
}

void Picture::setImage(std::span<const unsigned char> png, std::int32_t width, std::int32_t height,
                       const std::u16string& name) {
  onUi([&] {
    png_.assign(png.begin(), png.end());
    name_ = name;
    setPreferredSize(width, height);
    setMaximumSize(width, height);
    updateAccessible();
    redraw();
  });
}

void Picture::paintContent(s::os::gui::MemDC& dc) {
  if (!png_.empty()) dc.drawPng(png_, 0, 0);
}

}  // namespace s::gui::win
