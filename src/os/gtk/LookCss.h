#pragma once

#include <string>

#include "os/gui/ControlLook.h"

namespace s::os::gtk {

// The style sheet that gives GTK's button, check button and combo box (and
// the nodes and child widgets inside them) the colours of a look: flat
// faces, a one-pixel frame, the caption colours, a filled mark.
class LookCss {
 public:
  // The sheet for `look`; plain text, never fails.
  static std::string sheet(const s::os::gui::ControlLook& look);
  // "rgb(r,g,b)".
  static std::string colour(const s::os::gui::Rgb& c);
};

}  // namespace s::os::gtk
