#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "os/gui/Geometry.h"

namespace s::os::gui {

// How a text is laid out in its rectangle. Flags combine; "&" is always shown
// as it is (never turned into a keyboard mnemonic).
enum TextFlag : std::uint32_t {
  kTextSingleLine = 1u << 0,   // one line; line breaks in the text are shown as spaces
  kTextWordWrap = 1u << 1,     // break lines between words to fit the width
  kTextEndEllipsis = 1u << 2,  // cut what does not fit and end with "..."
  kTextCenter = 1u << 3,       // centred horizontally
  kTextRight = 1u << 4,        // right-aligned
  kTextVCenter = 1u << 5,      // centred vertically (single line)
};

// A font as the surface draws it: a face name (empty: the desktop's interface
// font), a height in pixels (the cell height) and the style.
struct FontSpec {
  std::u16string face;
  std::int32_t pixelHeight = 13;
  bool bold = false;
  bool italic = false;
  bool underline = false;
};

// An off-screen drawing surface of a fixed size: components and windows paint
// into one, then the whole surface reaches the screen in one copy. Pixels are
// kept as 32-bit ARGB. A surface belongs to the thread that draws into it;
// nothing here touches a window. Drawing outside the surface is clipped.
class MemDC {
 public:
  virtual ~MemDC() = default;

  virtual std::int32_t width() const = 0;
  virtual std::int32_t height() const = 0;

  // Fills `area` with `colour` (opaque); an area without width or height
  // fills nothing.
  virtual void fillRect(const Rect& area, Rgb colour) = 0;
  // A one-pixel outline just inside `area`.
  virtual void frameRect(const Rect& area, Rgb colour) = 0;
  // A one-pixel line from (x1, y1) to (x2, y2), both ends included.
  virtual void drawLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                        Rgb colour) = 0;
  // Draws `text` (UTF-16) inside `area` in `font` and `colour`, laid out by
  // `flags` (TextFlag). Clipped to `area`. Returns the height the text took.
  virtual std::int32_t drawText(std::u16string_view text, const Rect& area, const FontSpec& font,
                                Rgb colour, std::uint32_t flags) = 0;
  // The extent `text` takes in `font` when laid out by `flags` within
  // `maxWidth` pixels (a negative width: no limit, so no wrapping and no
  // ellipsis). An empty text measures 0 wide and one line high. Never fails.
  virtual Size measureText(std::u16string_view text, const FontSpec& font, std::int32_t maxWidth,
                           std::uint32_t flags) = 0;
  // Draws an image given as PNG bytes with its top-left corner at (x, y);
  // false when the bytes are not a PNG image it can read.
  virtual bool drawPng(std::span<const unsigned char> png, std::int32_t x, std::int32_t y) = 0;
  // The colour of pixel (x, y); black outside the surface. For tests and
  // pixel checks.
  virtual Rgb pixel(std::int32_t x, std::int32_t y) const = 0;
};

}  // namespace s::os::gui
