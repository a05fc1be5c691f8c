#pragma once

#include "os/gui/Geometry.h"

namespace s::os::gtk {

// The name GDK knows a pointer shape by.
inline const char* cursorName(s::os::gui::Cursor cursor) {
  switch (cursor) {
    case s::os::gui::Cursor::kSizeWE:
      return "ew-resize";
    case s::os::gui::Cursor::kSizeNS:
      return "ns-resize";
    case s::os::gui::Cursor::kSizeNWSE:
      return "nwse-resize";
    case s::os::gui::Cursor::kSizeNESW:
      return "nesw-resize";
    case s::os::gui::Cursor::kHand:
      return "pointer";
    case s::os::gui::Cursor::kArrow:
      break;
  }
  return "default";
}

}  // namespace s::os::gtk
