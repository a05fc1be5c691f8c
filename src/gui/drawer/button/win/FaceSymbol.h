#pragma once

#include <cstdint>
#include <string_view>

#include "os/gui/MemDC.h"

namespace s::gui::drawer::button::win {

// The symbols a button face can show instead of its caption: a caption that
// begins with "#" and names one of them exactly ("#X", "#Minus", "#Play",
// ..., "#Color-AABBGGRR") is drawn as that mark. The close cross "#X" is
// drawn as two diagonal strokes of 2 x 2 squares (times the scale factor)
// inside the area inset by one unit; the others are simple filled shapes.
class FaceSymbol {
 public:
  // Draws the symbol `text` names inside `area` in `colour` at scale factor
  // `scale`; true when `text` named one (even when the area is too small to
  // show it), false for anything else (the caller then draws the text).
  static bool paint(s::os::gui::MemDC& surface, const s::os::gui::Rect& area,
                    std::u16string_view text, s::os::gui::Rgb colour, std::int32_t scale);
  // Whether `text` names a symbol.
  static bool isSymbol(std::u16string_view text);

 private:
  // The drawing of one symbol: its mark in `colour` within `area`.
  using Painter = void (*)(s::os::gui::MemDC& surface, const s::os::gui::Rect& area,
                           s::os::gui::Rgb colour, std::int32_t m);
  static Painter find(std::u16string_view text);
  static void cross(s::os::gui::MemDC& surface, const s::os::gui::Rect& area,
                    s::os::gui::Rgb colour, std::int32_t m);
  // The colour of a "#Color-" caption: eight hexadecimal digits, the last
  // six blue, green and red. False for anything else.
  static bool swatchColour(std::u16string_view text, s::os::gui::Rgb& out);
};

}  // namespace s::gui::drawer::button::win
