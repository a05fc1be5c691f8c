#include "gui/drawer/statusbar/win/Thin.h"

namespace s::gui::drawer::statusbar::win {

void Thin::paint(s::os::gui::MemDC&, std::int32_t, std::int32_t, std::int32_t, std::int32_t) {
  // The thin look's status bar is the window's own background.
}

void Thin::reset() {
  color_ = s::os::gui::Rgb{};
}

}  // namespace s::gui::drawer::statusbar::win
