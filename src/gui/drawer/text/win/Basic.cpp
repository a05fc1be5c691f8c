#include "gui/drawer/text/win/Basic.h"

#include <array>
#include <initializer_list>
#include <utility>
#include <vector>

#include "gui/IFont.h"
#include "gui/win/FontSetting.h"

namespace s::gui::drawer::text::win {

using s::gui::LogicalFont;
using s::os::gui::Rect;
using s::os::gui::Rgb;

namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kLightShadow{238, 238, 238};
constexpr Rgb kDarkShadow{119, 119, 119};

// One drawing of the text for an effect: its offset and colour.
struct Pass {
  std::int32_t dx;
  std::int32_t dy;
  Rgb colour;
};

// The drawings of `effect` in order; the last one is the text itself.
std::vector<Pass> passesFor(const LogicalFont& look) {
  const Rgb text = look.getTextColor();
  switch (look.getTextEffect()) {
    case 1:
    case 7: {
      const Rgb halo = look.getTextEffect() == 1 ? look.getEffectColor1() : look.getEffectColor2();
      std::vector<Pass> passes;
      for (const auto& [dx, dy] :
           {std::pair{0, -1}, {1, -1}, {2, -1}, {2, 0}, {2, 1}, {1, 1}, {0, 1}, {0, 0}})
        passes.push_back(Pass{dx, dy, halo});
      passes.push_back(Pass{1, 0, text});
      return passes;
    }
    case 2:
      return {Pass{1, 1, text == kBlack ? kLightShadow : kDarkShadow}, Pass{0, 0, text}};
    case 3:
      return {Pass{2, 2, kBlack}, Pass{0, 0, kWhite}, Pass{1, 1, text}};
    case 4:
      return {Pass{0, 0, kWhite}, Pass{0, 2, kBlack}, Pass{0, 1, text}};
    case 5:
      return {Pass{2, 2, kWhite}, Pass{0, 0, kBlack}, Pass{1, 1, text}};
    case 6:
      return {Pass{0, 0, kBlack}, Pass{0, 2, kWhite}, Pass{0, 1, text}};
    default:
      return {Pass{0, 0, text}};
  }
}

// What a text effect adds to a measured width.
std::int32_t effectWidth(std::int32_t effect) {
  if (effect == 2) return 1;
  if (effect == 1 || effect == 3 || effect == 5 || effect == 7) return 2;
  return 0;
}

}  // namespace

Basic::Basic()
    : normal_(FontSetting::create()),
      disabled_(FontSetting::create()),
      link_(FontSetting::create()),
      linkHover_(FontSetting::create()),
      linkPressed_(FontSetting::create()) {
  reset();
}

Basic::~Basic() {
  for (FontSetting* setting : {normal_, disabled_, link_, linkHover_, linkPressed_})
    if (setting != nullptr) setting->release();
}

void Basic::reset() {
  for (FontSetting* setting : {normal_, disabled_, link_, linkHover_, linkPressed_})
    if (setting != nullptr) setting->reset();
  if (disabled_ != nullptr)
    disabled_->setTextColor(kDisabledText.r, kDisabledText.g, kDisabledText.b);
  if (link_ != nullptr) {
    link_->setTextColor(kLinkText.r, kLinkText.g, kLinkText.b);
    link_->setUnderline(true);
  }
  for (FontSetting* setting : {linkHover_, linkPressed_}) {
    if (setting == nullptr) continue;
    setting->setTextColor(kLinkHoverText.r, kLinkHoverText.g, kLinkHoverText.b);
    setting->setUnderline(true);
  }
  centered_ = false;
}

std::uint32_t Basic::layoutFlags(const LogicalFont& look) const {
  using namespace s::os::gui;
  if (centered_) return kTextSingleLine | kTextCenter | kTextVCenter | kTextEndEllipsis;
  if (look.isWordWrap()) return kTextWordWrap;
  if (look.isEllipsis()) return kTextSingleLine | kTextEndEllipsis;
  return kTextSingleLine;
}

void Basic::paintWith(s::os::gui::MemDC& surface, const Rect& area, std::u16string_view text,
                      const LogicalFont& look, const s::os::gui::FontSpec& shape) {
  const std::uint32_t flags = layoutFlags(look);
  for (const Pass& pass : passesFor(look)) {
    surface.drawText(text, Rect{area.x + pass.dx, area.y + pass.dy, area.width, area.height}, shape,
                     pass.colour, flags);
  }
}

void Basic::paintText(s::os::gui::MemDC& surface, std::int32_t left, std::int32_t top,
                      std::int32_t right, std::int32_t bottom, std::u16string_view text,
                      s::gui::IFont* font) {
  if (left >= right || top >= bottom || font == nullptr) return;
  paintWith(surface, Rect{left, top, right - left, bottom - top}, text, font->getLogicalFont(),
            font->getPlatformFont());
}

void Basic::paintLook(s::os::gui::MemDC& surface, std::int32_t left, std::int32_t top,
                      std::int32_t right, std::int32_t bottom, std::u16string_view text,
                      const LogicalFont& look) {
  if (left >= right || top >= bottom) return;
  paintWith(surface, Rect{left, top, right - left, bottom - top}, text, look, look.toFontSpec());
}

void Basic::measureText(s::os::gui::MemDC& surface, std::int32_t left, std::int32_t,
                        std::int32_t right, std::int32_t, std::u16string_view text,
                        s::gui::IFont* font, std::int32_t& outWidth, std::int32_t& outHeight) {
  outWidth = outHeight = 0;
  if (font == nullptr) return;
  const LogicalFont& look = font->getLogicalFont();
  std::uint32_t flags = layoutFlags(look);
  flags &= ~static_cast<std::uint32_t>(s::os::gui::kTextCenter | s::os::gui::kTextVCenter);
  const std::int32_t width = right > left ? right - left : 0;
  const s::os::gui::Size size = surface.measureText(text, font->getPlatformFont(), width, flags);
  outWidth = size.width;
  outHeight = size.height;
  if (look.getTextEffect() != 0) {
    outHeight += 1;
    outWidth += effectWidth(look.getTextEffect());
  }
}

void Basic::measureRange(s::os::gui::MemDC& surface, std::u16string_view text, s::gui::IFont* font,
                         std::int32_t& outPreferredWidth, std::int32_t& outPreferredHeight,
                         std::int32_t& outMaximumWidth, std::int32_t& outMaximumHeight) {
  outPreferredWidth = outPreferredHeight = outMaximumWidth = outMaximumHeight = 0;
  if (font == nullptr) return;
  const LogicalFont& look = font->getLogicalFont();
  const s::os::gui::FontSpec& shape = font->getPlatformFont();
  if (look.isWordWrap()) {
    // Its natural lines (no width limit), and the widest word.
    const s::os::gui::Size natural =
        surface.measureText(text, shape, -1, s::os::gui::kTextWordWrap);
    const s::os::gui::Size narrowest =
        surface.measureText(text, shape, 0, s::os::gui::kTextWordWrap);
    outPreferredWidth = narrowest.width;
    outPreferredHeight = natural.height;
    outMaximumWidth = natural.width;
    outMaximumHeight = 0;
  } else {
    const s::os::gui::Size line = surface.measureText(text, shape, -1, s::os::gui::kTextSingleLine);
    outPreferredWidth = outMaximumWidth = line.width;
    outPreferredHeight = outMaximumHeight = line.height;
    if (look.isEllipsis()) outPreferredWidth = 1;
  }
  const std::int32_t effect = look.getTextEffect();
  if (effect != 0) {
    outPreferredHeight += 1;
    outMaximumHeight += 1;
    outPreferredWidth += effectWidth(effect);
    outMaximumWidth += effectWidth(effect);
  }
}

void Basic::applyToFonts(s::gui::IFont* normal, s::gui::IFont* disabled, s::gui::IFont* link,
                         s::gui::IFont* linkHover, s::gui::IFont* linkPressed) {
  const std::array<std::pair<s::gui::IFont*, FontSetting*>, 5> pairs{{{normal, normal_},
                                                                      {disabled, disabled_},
                                                                      {link, link_},
                                                                      {linkHover, linkHover_},
                                                                      {linkPressed, linkPressed_}}};
  for (const auto& [font, setting] : pairs) {
    if (font == nullptr || setting == nullptr) continue;
    setting->setSizeCode(font->getSizeCode());
    font->adoptSetting(setting);
  }
}

void Basic::applyToSettings(FontSetting* normal, FontSetting* disabled, FontSetting* link,
                            FontSetting* linkHover, FontSetting* linkPressed) {
  const std::array<std::pair<FontSetting*, FontSetting*>, 5> pairs{{{normal, normal_},
                                                                    {disabled, disabled_},
                                                                    {link, link_},
                                                                    {linkHover, linkHover_},
                                                                    {linkPressed, linkPressed_}}};
  for (const auto& [target, setting] : pairs) {
    if (target == nullptr || setting == nullptr) continue;
    setting->setSizeCode(target->getSizeCode());
    target->adoptSetting(setting);
  }
}

}  // namespace s::gui::drawer::text::win
