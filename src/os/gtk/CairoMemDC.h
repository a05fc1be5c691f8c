#pragma once

#include <cairo.h>
#include <pango/pango.h>

#include "os/gui/MemDC.h"

namespace s::os::gtk {

// The drawing surface on cairo (an ARGB image in memory) with text shaped by
// pango, so every script of the language table is drawn right. Needs no
// display.
class CairoMemDC final : public s::os::gui::MemDC {
 public:
  CairoMemDC(std::int32_t width, std::int32_t height);
  ~CairoMemDC() override;
  CairoMemDC(const CairoMemDC&) = delete;
  CairoMemDC& operator=(const CairoMemDC&) = delete;

  std::int32_t width() const override { return width_; }
  std::int32_t height() const override { return height_; }
  void fillRect(const s::os::gui::Rect& area, s::os::gui::Rgb colour) override;
  void frameRect(const s::os::gui::Rect& area, s::os::gui::Rgb colour) override;
  void drawLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                s::os::gui::Rgb colour) override;
  std::int32_t drawText(std::u16string_view text, const s::os::gui::Rect& area,
                        const s::os::gui::FontSpec& font, s::os::gui::Rgb colour,
                        std::uint32_t flags) override;
  s::os::gui::Size measureText(std::u16string_view text, const s::os::gui::FontSpec& font,
                               std::int32_t maxWidth, std::uint32_t flags) override;
  bool drawPng(std::span<const unsigned char> png, std::int32_t x, std::int32_t y) override;
  s::os::gui::Rgb pixel(std::int32_t x, std::int32_t y) const override;

  // The image, for copying onto a window.
  cairo_surface_t* surface() const { return surface_; }

 private:
  void setColour(s::os::gui::Rgb colour);
  // A layout of `text` set up for `flags` within `width` (< 0: unlimited).
  PangoLayout* layoutFor(std::u16string_view text, const s::os::gui::FontSpec& font,
                         std::int32_t width, std::uint32_t flags);

  std::int32_t width_;
  std::int32_t height_;
  cairo_surface_t* surface_;
  cairo_t* cr_;
};

}  // namespace s::os::gtk
