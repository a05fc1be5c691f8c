#include "gui/drawer/button/win/Thin.h"

#include <algorithm>

#include "gui/IFont.h"
#include "gui/Scale.h"
#include "gui/drawer/border/win/Thin.h"
#include "gui/drawer/button/win/FaceSymbol.h"
#include "gui/drawer/text/win/Basic.h"

namespace s::gui::drawer::button::win {

using s::os::gui::Rect;
using s::os::gui::Rgb;

namespace {
constexpr Rgb kDefaultColor{120, 120, 120};

// The border style of each mouse state: raised, lit, sunken.
std::int32_t frameStyle(std::int32_t state) {
  return state == 1 ? 0 : state == 2 ? 2 : 1;
}
}  // namespace

Thin::Thin()
    : border_(s::gui::drawer::border::win::Thin::create()),
      textDrawer_(s::gui::drawer::text::win::Basic::create()),
      pushedTextDrawer_(s::gui::drawer::text::win::Basic::create()) {
  reset();
}

Thin::~Thin() {
  if (border_ != nullptr) border_->release();
  if (textDrawer_ != nullptr) textDrawer_->release();
  if (pushedTextDrawer_ != nullptr) pushedTextDrawer_->release();
}

void Thin::reset() {
  cornerKind_ = 1;
  shiftText_ = false;
  enabled_ = disabled_ = pushed_ = fill_ = kDefaultColor;
  if (border_ != nullptr) border_->reset();
  for (auto* text : {textDrawer_, pushedTextDrawer_}) {
    if (text == nullptr) continue;
    text->reset();
    text->setCentered(true);
  }
}

void Thin::setEnabledColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  enabled_ = Rgb{r, g, b};
}
void Thin::setDisabledColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  disabled_ = Rgb{r, g, b};
}
void Thin::setPushedColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  pushed_ = Rgb{r, g, b};
}
void Thin::setFillColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  fill_ = Rgb{r, g, b};
}

void Thin::setShaded(bool on) {
  border_->setShaded(on);
}

void Thin::applyToFonts(s::gui::IFont* normal, s::gui::IFont* disabled) {
  textDrawer_->applyToFonts(normal, disabled, nullptr, nullptr, nullptr);
}

void Thin::applyToSettings(FontSetting* normal, FontSetting* disabled) {
  textDrawer_->applyToSettings(normal, disabled, nullptr, nullptr, nullptr);
}

Thin::FontSetting* Thin::getNormalSetting() {
  return textDrawer_->getNormalSetting();
}

Thin::FontSetting* Thin::getDisabledSetting() {
  return textDrawer_->getDisabledSetting();
}

void Thin::applyToPushedFont(s::gui::IFont* font) {
  pushedTextDrawer_->applyToFonts(font, nullptr, nullptr, nullptr, nullptr);
}

void Thin::applyToPushedSetting(FontSetting* setting) {
  pushedTextDrawer_->applyToSettings(setting, nullptr, nullptr, nullptr, nullptr);
}

Thin::FontSetting* Thin::getPushedSetting() {
  return pushedTextDrawer_->getNormalSetting();
}

bool Thin::paintSymbol(s::os::gui::MemDC& surface, std::int32_t left, std::int32_t top,
                       std::int32_t right, std::int32_t bottom, std::u16string_view text,
                       std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return FaceSymbol::paint(surface, Rect{left, top, right - left, bottom - top}, text, Rgb{r, g, b},
                           Scale::factor());
}

void Thin::paintButton(s::os::gui::MemDC& surface, std::int32_t left, std::int32_t top,
                       std::int32_t right, std::int32_t bottom, std::int32_t state,
                       std::u16string_view text, bool drawFlag, s::gui::IFont* font, bool enabled,
                       bool pushedLook, bool drawFlag2) {
  if (left >= right || top >= bottom) return;
  paintButtonAt(surface, Rect{left, top, right - left, bottom - top},
                Face{state, text, drawFlag, font, enabled, pushedLook, drawFlag2}, Scale::factor());
}

void Thin::paintButtonAt(s::os::gui::MemDC& surface, const Rect& area, const Face& face,
                         std::int32_t scale) {
  if (area.width <= 0 || area.height <= 0) return;
  const std::int32_t m = std::max(1, scale);
  std::int32_t state = face.state;
  if (face.pushedLook && (state == 1 || state == 2)) state = 3 - state;
  const Rgb mark = face.enabled ? (face.pushedLook ? pushed_ : enabled_) : disabled_;
  const bool framed = paintFrame(surface, area, face, state, mark, m);
  if (face.text.empty()) return;
  paintCaption(surface, contentArea(area, state, m), face, framed, mark, m);
}

bool Thin::paintFrame(s::os::gui::MemDC& surface, const Rect& area, const Face& face,
                      std::int32_t state, Rgb mark, std::int32_t m) {
  if (face.drawFlag) {
    if (cornerKind_ < 0 || cornerKind_ > 2) return false;
    if (face.pushedLook)
      surface.fillRect(Rect{area.x + m, area.y + m, area.width - 2 * m, area.height - 2 * m},
                       fill_);
    border_->paintBorderAt(surface, area, frameStyle(state), cornerKind_, mark, m);
    return true;
  }
  if (face.pushedLook) {
    const std::int32_t shift = face.drawFlag2 ? 1 : 0;
    const Rect filled{area.x, area.y + shift, area.width, area.height - shift};
    surface.fillRect(filled, fill_);
    border_->paintBorderAt(surface, filled, 1, cornerKind_, mark, m);
    return true;
  }
  if (!face.drawFlag2) return false;
  border_->paintBorderAt(surface, area, 3, cornerKind_, mark, m);
  return true;
}

Rect Thin::contentArea(const Rect& a, std::int32_t state, std::int32_t m) const {
  std::int32_t before = 2 * m, after = 2 * m;
  if (shiftText_ && state == 1) before = m, after = 3 * m;
  if (shiftText_ && state == 2) before = 3 * m, after = m;
  return Rect{a.x + before, a.y + before, a.width - before - after, a.height - before - after};
}

void Thin::paintCaption(s::os::gui::MemDC& surface, Rect content, const Face& face, bool framed,
                        Rgb mark, std::int32_t m) {
  if (face.pushedLook) {
    const Rgb colour = face.font != nullptr ? face.font->getTextColor() : mark;
    if (FaceSymbol::paint(surface, content, face.text, colour, m)) return;
  } else {
    if (FaceSymbol::paint(surface, content, face.text, mark, m)) return;
    if (!framed)
      content = Rect{content.x - m, content.y - m, content.width + 2 * m, content.height + 2 * m};
  }
  if (face.font == nullptr) return;
  textDrawer_->paintText(surface, content.x, content.y, content.right(), content.bottom(),
                         face.text, face.font);
}

}  // namespace s::gui::drawer::button::win
