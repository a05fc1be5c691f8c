#pragma once

#include <cstdint>

namespace s::gui {

// The scale factor of the interface: every pixel size the program chooses is
// multiplied by it.
class Scale {
 public:
  // 4 for a primary screen of at least 4097 x 3240, else 2 for at least
  // 1921 x 1620, else 1.
  static std::int32_t forScreen(std::int32_t width, std::int32_t height);
  // The factor for the primary screen, computed once per process (1 when no
  // display is open yet). Any thread.
  static std::int32_t factor();
};

}  // namespace s::gui
