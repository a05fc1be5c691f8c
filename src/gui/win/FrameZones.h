#pragma once

#include <cstdint>

#include "os/gui/Geometry.h"

namespace s::gui::win {

// Where a point of a window drawn with its own frame lies: the resize zones
// along its edges and corners, its client area, or the caption (what a drag
// moves the window by). Pure geometry; any thread.
class FrameZones {
 public:
  // The resize zones first, in the order of the platform's resize edges.
  enum class Zone : std::uint8_t {
    kLeft,
    kRight,
    kTop,
    kBottom,
    kTopLeft,
    kTopRight,
    kBottomLeft,
    kBottomRight,
    kOutside,
    kClient,
    kCaption,
  };

  // The resize border's thickness at scale factor `scale`: 5 pixels each.
  static std::int32_t borderAt(std::int32_t scale) { return 5 * scale; }
  // The length of a corner zone along each edge: 30 pixels each.
  static std::int32_t cornerAt(std::int32_t scale) { return 30 * scale; }

  // The zone of (x, y) in a window of w x h (its own pixels). Points within
  // the border of the right edge are tested first, then the bottom, left
  // and top edges; a point within a corner's length of the neighbouring
  // edge is that corner. kOutside off the window, kClient elsewhere.
  static Zone hitTest(std::int32_t w, std::int32_t h, std::int32_t x, std::int32_t y,
                      std::int32_t scale);
  // The answer after easy drag: a client hit becomes a caption hit (so a
  // press drags the window) unless the right button is held.
  static Zone withEasyDrag(Zone zone, bool easyDrag, bool rightHeld);
  // Whether `zone` resizes the window.
  static bool isResizeZone(Zone zone);
  // The sizing cursor of a resize zone (west-east for the sides, north-
  // south for top and bottom, the diagonals for the corners), the arrow
  // anywhere else.
  static s::os::gui::Cursor cursorFor(Zone zone);
  // The edge a resize from `zone` moves; only for resize zones (anything
  // else answers the bottom-right corner).
  static s::os::gui::ResizeEdge edgeFor(Zone zone);
};

}  // namespace s::gui::win
