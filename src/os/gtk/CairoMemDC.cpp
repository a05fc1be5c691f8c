#include "os/gtk/CairoMemDC.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "os/gtk/Utf.h"

namespace s::os::gtk {

using s::os::gui::FontSpec;
using s::os::gui::Rect;
using s::os::gui::Rgb;
using s::os::gui::Size;

namespace {

// Reads a PNG held in memory for cairo.
struct PngReader {
  std::span<const unsigned char> bytes;
  std::size_t offset = 0;

  static cairo_status_t read(void* closure, unsigned char* data, unsigned int length) {
    auto* self = static_cast<PngReader*>(closure);
    if (self->bytes.size() - self->offset < length) return CAIRO_STATUS_READ_ERROR;
    std::memcpy(data, self->bytes.data() + self->offset, length);
    self->offset += length;
    return CAIRO_STATUS_SUCCESS;
  }
};

std::string plainText(std::u16string_view text, std::uint32_t flags) {
  std::string utf8 = toUtf8(text);
  if ((flags & s::os::gui::kTextSingleLine) != 0) {
    std::replace(utf8.begin(), utf8.end(), '\n', ' ');
    std::replace(utf8.begin(), utf8.end(), '\r', ' ');
  }
  return utf8;
}

PangoFontDescription* describe(const FontSpec& font) {
  PangoFontDescription* description = pango_font_description_new();
  const std::string face = font.face.empty() ? std::string("Sans") : toUtf8(font.face);
  pango_font_description_set_family(description, face.c_str());
  pango_font_description_set_absolute_size(description,
                                           std::max(1, font.pixelHeight) * PANGO_SCALE);
  pango_font_description_set_weight(description,
                                    font.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_style(description,
                                   font.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  return description;
}

}  // namespace

CairoMemDC::CairoMemDC(std::int32_t width, std::int32_t height)
    : width_(std::max(1, width)),
      height_(std::max(1, height)),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width_, height_)),
      cr_(cairo_create(surface_)) {}

CairoMemDC::~CairoMemDC() {
  cairo_destroy(cr_);
  cairo_surface_destroy(surface_);
}

void CairoMemDC::setColour(Rgb colour) {
  cairo_set_source_rgb(cr_, colour.r / 255.0, colour.g / 255.0, colour.b / 255.0);
}

void CairoMemDC::fillRect(const Rect& area, Rgb colour) {
  if (area.width <= 0 || area.height <= 0) return;
  setColour(colour);
  cairo_rectangle(cr_, area.x, area.y, area.width, area.height);
  cairo_fill(cr_);
}

void CairoMemDC::frameRect(const Rect& area, Rgb colour) {
  if (area.width <= 0 || area.height <= 0) return;
  setColour(colour);
  cairo_set_line_width(cr_, 1.0);
  cairo_rectangle(cr_, area.x + 0.5, area.y + 0.5, area.width - 1, area.height - 1);
  cairo_stroke(cr_);
}

void CairoMemDC::drawLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                          Rgb colour) {
  setColour(colour);
  cairo_set_line_width(cr_, 1.0);
  cairo_set_line_cap(cr_, CAIRO_LINE_CAP_SQUARE);
  cairo_move_to(cr_, x1 + 0.5, y1 + 0.5);
  cairo_line_to(cr_, x2 + 0.5, y2 + 0.5);
  cairo_stroke(cr_);
}

PangoLayout* CairoMemDC::layoutFor(std::u16string_view text, const FontSpec& font,
                                   std::int32_t width, std::uint32_t flags) {
  PangoLayout* layout = pango_cairo_create_layout(cr_);
  const std::string utf8 = plainText(text, flags);
  pango_layout_set_text(layout, utf8.c_str(), static_cast<int>(utf8.size()));
  PangoFontDescription* description = describe(font);
  pango_layout_set_font_description(layout, description);
  pango_font_description_free(description);
  if (font.underline) {
    PangoAttrList* attributes = pango_attr_list_new();
    pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    pango_layout_set_attributes(layout, attributes);
    pango_attr_list_unref(attributes);
  }
  const bool singleLine = (flags & s::os::gui::kTextSingleLine) != 0;
  pango_layout_set_single_paragraph_mode(layout, singleLine);
  if (width >= 0) {
    pango_layout_set_width(layout, width * PANGO_SCALE);
    if ((flags & s::os::gui::kTextEndEllipsis) != 0) {
      pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
      if (singleLine || (flags & s::os::gui::kTextWordWrap) == 0)
        pango_layout_set_height(layout, 0);
    }
    if ((flags & s::os::gui::kTextWordWrap) != 0 && !singleLine) {
      // Between words only, as the platform's word break: a word wider than
      // the width overflows it (and is clipped when drawn), so a zero width
      // measures the widest word.
      pango_layout_set_wrap(layout, PANGO_WRAP_WORD);
    } else if ((flags & s::os::gui::kTextEndEllipsis) == 0) {
      pango_layout_set_width(layout, -1);  // no wrapping: the text runs on (and is clipped)
    }
  }
  if ((flags & s::os::gui::kTextCenter) != 0)
    pango_layout_set_alignment(layout, PANGO_ALIGN_CENTER);
  if ((flags & s::os::gui::kTextRight) != 0) pango_layout_set_alignment(layout, PANGO_ALIGN_RIGHT);
  return layout;
}

std::int32_t CairoMemDC::drawText(std::u16string_view text, const Rect& area, const FontSpec& font,
                                  Rgb colour, std::uint32_t flags) {
  PangoLayout* layout = layoutFor(text, font, area.width, flags);
  int textWidth = 0;
  int textHeight = 0;
  pango_layout_get_pixel_size(layout, &textWidth, &textHeight);
  std::int32_t x = area.x;
  if (pango_layout_get_width(layout) < 0) {
    // Alignment needs a width; without one, place the line ourselves.
    if ((flags & s::os::gui::kTextCenter) != 0) x += (area.width - textWidth) / 2;
    if ((flags & s::os::gui::kTextRight) != 0) x += area.width - textWidth;
  }
  std::int32_t y = area.y;
  if ((flags & s::os::gui::kTextVCenter) != 0) y += (area.height - textHeight) / 2;
  cairo_save(cr_);
  cairo_rectangle(cr_, area.x, area.y, area.width, area.height);
  cairo_clip(cr_);
  setColour(colour);
  cairo_move_to(cr_, x, y);
  pango_cairo_show_layout(cr_, layout);
  cairo_restore(cr_);
  g_object_unref(layout);
  return textHeight;
}

Size CairoMemDC::measureText(std::u16string_view text, const FontSpec& font, std::int32_t maxWidth,
                             std::uint32_t flags) {
  PangoLayout* layout = layoutFor(text, font, maxWidth, flags);
  int textWidth = 0;
  int textHeight = 0;
  pango_layout_get_pixel_size(layout, &textWidth, &textHeight);
  g_object_unref(layout);
  return Size{text.empty() ? 0 : textWidth, textHeight};
}

bool CairoMemDC::drawPng(std::span<const unsigned char> png, std::int32_t x, std::int32_t y) {
  PngReader reader{png};
  cairo_surface_t* image = cairo_image_surface_create_from_png_stream(&PngReader::read, &reader);
  const bool ok = cairo_surface_status(image) == CAIRO_STATUS_SUCCESS;
  if (ok) {
    cairo_set_source_surface(cr_, image, x, y);
    cairo_paint(cr_);
  }
  cairo_surface_destroy(image);
  return ok;
}

Rgb CairoMemDC::pixel(std::int32_t x, std::int32_t y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return Rgb{};
  cairo_surface_flush(surface_);
  const unsigned char* row =
      cairo_image_surface_get_data(surface_) +
      static_cast<std::ptrdiff_t>(y) * cairo_image_surface_get_stride(surface_);
  std::uint32_t argb = 0;
  std::memcpy(&argb, row + static_cast<std::ptrdiff_t>(x) * 4, 4);
  return Rgb{static_cast<std::uint8_t>(argb >> 16), static_cast<std::uint8_t>(argb >> 8),
             static_cast<std::uint8_t>(argb)};
}

}  // namespace s::os::gtk
