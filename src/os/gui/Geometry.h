#pragma once

#include <cstdint>

namespace s::os::gui {

// A rectangle in pixels: the left and top edges and the extent.
struct Rect {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;

  std::int32_t right() const { return x + width; }
  std::int32_t bottom() const { return y + height; }
  bool operator==(const Rect&) const = default;
};

struct Size {
  std::int32_t width = 0;
  std::int32_t height = 0;
  bool operator==(const Size&) const = default;
};

// A colour given by its red, green and blue channels (0-255).
struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  bool operator==(const Rgb&) const = default;
};

// Pointer shapes: the arrow, and the sizing arrows of a frame's edges and
// corners (west-east, north-south, north-west/south-east, north-east/
// south-west), a hand for links.
enum class Cursor : std::uint8_t { kArrow, kSizeWE, kSizeNS, kSizeNWSE, kSizeNESW, kHand };

// The side or corner of a window that a resize with the mouse moves.
enum class ResizeEdge : std::uint8_t {
  kLeft,
  kRight,
  kTop,
  kBottom,
  kTopLeft,
  kTopRight,
  kBottomLeft,
  kBottomRight
};

}  // namespace s::os::gui
