#include "gui/Scale.h"

#include "os/gui/Ui.h"

namespace s::gui {

std::int32_t Scale::forScreen(std::int32_t width, std::int32_t height) {
  if (width >= 4097 && height >= 3240) return 4;
  if (width >= 1921 && height >= 1620) return 2;
  return 1;
}

std::int32_t Scale::factor() {
  static const std::int32_t computed = [] {
    s::os::gui::Rect screen;
    s::os::gui::ui().call([&screen] { screen = s::os::gui::ui().primaryScreen(); });
    return forScreen(screen.width, screen.height);
  }();
  return computed;
}

}  // namespace s::gui
