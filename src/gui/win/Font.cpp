#include "gui/win/Font.h"

#include <memory>

#include "gui/Scale.h"
#include "gui/win/FontSetting.h"
#include "os/gui/Ui.h"

namespace s::gui::win {

Font::Font() {
  reset();
}

LogicalFont Font::defaults() {
  return LogicalFont(Scale::factor(), s::os::gui::ui().interfaceFontFace());
}

void Font::reset() {
  logical_ = defaults();
  remake();
}

std::int32_t Font::measureTextHeight() {
  std::unique_ptr<s::os::gui::MemDC> surface = s::os::gui::ui().createMemDC(1, 1);
  return surface->measureText(u"TEST", platform_, -1, s::os::gui::kTextSingleLine).height;
}

void Font::setLogicalFont(const LogicalFont& settings) {
  logical_ = settings;
  remake();
}

void Font::setSizeCode(std::int32_t code) {
  if (logical_.setSizeCode(code)) remake();
}

void Font::setFaceName(std::u16string_view name) {
  logical_.setFaceName(name);
  remake();
}

void Font::setTextColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  logical_.setTextColor(r, g, b);
}

void Font::setEffectColor1(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  logical_.setEffectColor1(r, g, b);
}

void Font::setEffectColor2(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  logical_.setEffectColor2(r, g, b);
}

void Font::setPointSize(std::int32_t points) {
  logical_.setPointSize(points);
  remake();
}

void Font::setHeight(std::int32_t h) {
  logical_.setHeight(h);
  remake();
}

void Font::setWidth(std::int32_t w) {
  logical_.setWidth(w);
  remake();
}

void Font::setBold(bool on) {
  logical_.setBold(on);
  remake();
}

void Font::setItalic(bool on) {
  logical_.setItalic(on);
  remake();
}

void Font::setUnderline(bool on) {
  logical_.setUnderline(on);
  remake();
}

void Font::setStrikeOut(bool on) {
  logical_.setStrikeOut(on);
  remake();
}

void Font::setWeight(std::int32_t w) {
  logical_.setWeight(w);
  remake();
}

void Font::setWordWrap(bool on) {
  logical_.setWordWrap(on);
}

void Font::setEllipsis(bool on) {
  logical_.setEllipsis(on);
}

void Font::setTextEffect(std::int32_t effect) {
  logical_.setTextEffect(effect);
}

void Font::setClearType(bool on) {
  logical_.setClearType(on);
  remake();
}

void Font::adoptSetting(const FontSetting* setting) {
  if (setting == nullptr) return;
  logical_.adopt(setting->getLogicalFont());
  remake();
}

void Font::adoptFont(IFont* font) {
  if (font == nullptr || font == this) return;
  logical_.adopt(font->getLogicalFont());
  remake();
}

}  // namespace s::gui::win
