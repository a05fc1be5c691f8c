#pragma once

#include <array>
#include <span>
#include <string_view>

#include "os/gui/Geometry.h"

namespace s::gui::drawer::skin {

// The colours of the "ThinWindow" theme set: sixteen themes, each built from
// fifteen colours c1 to c15 (see ThinWindow::build for what each colours).
class ThinWindowPalette {
 public:
  using Colours = std::array<s::os::gui::Rgb, 15>;

  struct Theme {
    std::u16string_view name;
    Colours colours;  // c1 at index 0
  };

  // The themes in list order, "White" first.
  static std::span<const Theme> themes();
};

}  // namespace s::gui::drawer::skin
