#pragma once

#include "os/gui/Geometry.h"

namespace s::os::gui {

// The colours a platform control shows instead of the desktop's own look
// when its component takes them from a drawer: the face behind the caption,
// the caption, the frame, the face and caption while pressed, the mark (a
// check box's tick, a list's arrow) and everything of a disabled control.
struct ControlLook {
  Rgb face;
  Rgb text;
  Rgb frame;
  Rgb pressedFace;
  Rgb pressedText;
  Rgb mark;
  Rgb disabled;

  // A look that stays the same while pressed.
  static ControlLook flat(Rgb face, Rgb text, Rgb frame, Rgb mark, Rgb disabled) {
    return ControlLook{face, text, frame, face, text, mark, disabled};
  }

  bool operator==(const ControlLook&) const = default;
};

}  // namespace s::os::gui
