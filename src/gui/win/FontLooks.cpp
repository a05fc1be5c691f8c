#include "gui/win/FontLooks.h"

#include "gui/OnUi.h"
#include "gui/win/Font.h"
#include "gui/win/FontSetting.h"

namespace s::gui::win {

FontLooks::FontLooks(std::size_t looks) {
  for (std::size_t i = 0; i < looks; ++i) looks_.push_back(FontSetting::create());
}

FontLooks::~FontLooks() {
  for (FontSetting* look : looks_) look->release();
}

void FontLooks::resetLooks() {
  for (FontSetting*& look : looks_) {
    look->release();
    look = FontSetting::create();
  }
}

s::os::gui::FontSpec FontLooks::fontOf(std::size_t i) {
  return looks_[i]->getLogicalFont().toFontSpec();
}

IFont* FontLooks::makeFont(std::size_t i) {
  Font* font = Font::create();
  font->setLogicalFont(looks_[i]->getLogicalFont());
  return font;
}

template <class Change>
void FontLooks::changeAll(Change&& change) {
  onUi([&] {
    for (FontSetting* look : looks_) change(*look);
    fontsChanged();
  });
}

template <class Read>
auto FontLooks::read(Read&& reading) {
  return onUi([&] { return reading(*looks_.front()); });
}

void FontLooks::setFontSize(std::int32_t code) {
  changeAll([code](FontSetting& look) { look.setSizeCode(code); });
}

std::int32_t FontLooks::getFontSize() {
  return read([](FontSetting& look) { return look.getSizeCode(); });
}

std::u16string FontLooks::getFaceName() {
  return read([](FontSetting& look) { return look.getFaceName(); });
}

void FontLooks::setFaceName(const std::u16string& name) {
  changeAll([&name](FontSetting& look) { look.setFaceName(name); });
}

s::os::gui::Rgb FontLooks::getTextColor() {
  return read([](FontSetting& look) { return look.getTextColor(); });
}

void FontLooks::setTextColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  changeAll([=](FontSetting& look) { look.setTextColor(r, g, b); });
}

void FontLooks::setPointSize(std::int32_t points) {
  changeAll([points](FontSetting& look) { look.setPointSize(points); });
}

std::int32_t FontLooks::getFontHeight() {
  return read([](FontSetting& look) { return look.getHeight(); });
}

void FontLooks::setFontHeight(std::int32_t h) {
  changeAll([h](FontSetting& look) { look.setHeight(h); });
}

std::int32_t FontLooks::getFontWidth() {
  return read([](FontSetting& look) { return look.getWidth(); });
}

void FontLooks::setFontWidth(std::int32_t w) {
  changeAll([w](FontSetting& look) { look.setWidth(w); });
}

bool FontLooks::isBold() {
  return read([](FontSetting& look) { return look.isBold(); });
}

void FontLooks::setBold(bool on) {
  changeAll([on](FontSetting& look) { look.setBold(on); });
}

bool FontLooks::isItalic() {
  return read([](FontSetting& look) { return look.isItalic(); });
}

void FontLooks::setItalic(bool on) {
  changeAll([on](FontSetting& look) { look.setItalic(on); });
}

bool FontLooks::isUnderline() {
  return read([](FontSetting& look) { return look.isUnderline(); });
}

void FontLooks::setUnderline(bool on) {
  changeAll([on](FontSetting& look) { look.setUnderline(on); });
}

bool FontLooks::isStrikeOut() {
  return read([](FontSetting& look) { return look.isStrikeOut(); });
}

void FontLooks::setStrikeOut(bool on) {
  changeAll([on](FontSetting& look) { look.setStrikeOut(on); });
}

std::int32_t FontLooks::getWeight() {
  return read([](FontSetting& look) { return look.getWeight(); });
}

void FontLooks::setWeight(std::int32_t w) {
  changeAll([w](FontSetting& look) { look.setWeight(w); });
}

}  // namespace s::gui::win
