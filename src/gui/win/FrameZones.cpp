#include "gui/win/FrameZones.h"

namespace s::gui::win {

using Zone = FrameZones::Zone;
using s::os::gui::Cursor;

Zone FrameZones::hitTest(std::int32_t w, std::int32_t h, std::int32_t x, std::int32_t y,
                         std::int32_t scale) {
  if (x < 0 || y < 0 || x >= w || y >= h) return Zone::kOutside;
  const std::int32_t b = borderAt(scale), c = cornerAt(scale);
  const bool nearTop = y < c, nearBottom = y >= h - c;
  const bool nearLeft = x < c, nearRight = x >= w - c;
  if (x >= w - b) return nearTop ? Zone::kTopRight : nearBottom ? Zone::kBottomRight : Zone::kRight;
  if (y >= h - b)
    return nearLeft ? Zone::kBottomLeft : nearRight ? Zone::kBottomRight : Zone::kBottom;
  if (x < b) return nearTop ? Zone::kTopLeft : nearBottom ? Zone::kBottomLeft : Zone::kLeft;
  if (y < b) return nearLeft ? Zone::kTopLeft : nearRight ? Zone::kTopRight : Zone::kTop;
  return Zone::kClient;
}

Zone FrameZones::withEasyDrag(Zone zone, bool easyDrag, bool rightHeld) {
  return zone == Zone::kClient && easyDrag && !rightHeld ? Zone::kCaption : zone;
}

bool FrameZones::isResizeZone(Zone zone) {
  return zone <= Zone::kBottomRight;
}

Cursor FrameZones::cursorFor(Zone zone) {
  switch (zone) {
    case Zone::kLeft:
    case Zone::kRight:
      return Cursor::kSizeWE;
    case Zone::kTop:
    case Zone::kBottom:
      return Cursor::kSizeNS;
    case Zone::kTopLeft:
    case Zone::kBottomRight:
      return Cursor::kSizeNWSE;
    case Zone::kTopRight:
    case Zone::kBottomLeft:
      return Cursor::kSizeNESW;
    default:
      return Cursor::kArrow;
  }
}

s::os::gui::ResizeEdge FrameZones::edgeFor(Zone zone) {
  static_assert(static_cast<int>(Zone::kBottomRight) ==
                static_cast<int>(s::os::gui::ResizeEdge::kBottomRight));
  return isResizeZone(zone) ? static_cast<s::os::gui::ResizeEdge>(zone)
                            : s::os::gui::ResizeEdge::kBottomRight;
}

}  // namespace s::gui::win
