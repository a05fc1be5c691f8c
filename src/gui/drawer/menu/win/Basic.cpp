#include "gui/drawer/menu/win/Basic.h"

#include <algorithm>

#include "gui/IFont.h"
#include "gui/LogicalFont.h"
#include "gui/drawer/combo/win/Thin.h"
#include "gui/drawer/text/win/Basic.h"
#include "gui/win/FontSetting.h"

namespace s::gui::drawer::menu::win {

using s::os::gui::Rect;
using s::os::gui::Rgb;

Basic::Basic()
    : normal_(FontSetting::create()),
      hover_(FontSetting::create()),
      textDrawer_(s::gui::drawer::text::win::Basic::create()),
      dropDown_(s::gui::drawer::combo::win::Thin::create()) {
  reset();
}

Basic::~Basic() {
  if (normal_ != nullptr) normal_->release();
  if (hover_ != nullptr) hover_->release();
  if (textDrawer_ != nullptr) textDrawer_->release();
  if (dropDown_ != nullptr) dropDown_->release();
}

Rgb Basic::systemHighlight() {
  // The desktop's selection colour as the platform's default themes give it;
  // the platform layer has no query for it yet.
  return Rgb{0, 120, 215};
}

Rgb Basic::systemHighlightText() {
  return Rgb{255, 255, 255};
}

void Basic::reset() {
  for (FontSetting* setting : {normal_, hover_}) {
    if (setting == nullptr) continue;
    setting->reset();
    setting->setSizeCode(kSmallSizeCode);
  }
  const Rgb highlightText = systemHighlightText();
  if (hover_ != nullptr) hover_->setTextColor(highlightText.r, highlightText.g, highlightText.b);
  hoverFill_ = systemHighlight();
  fillOnHover_ = true;
  raised_ = false;
  if (textDrawer_ != nullptr) textDrawer_->reset();
  if (dropDown_ != nullptr) dropDown_->reset();
}

ICombo* Basic::getDropDownDrawer() {
  return dropDown_;
}

void Basic::setHoverFill(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  hoverFill_ = Rgb{r, g, b};
}

void Basic::setNormalTextColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  if (normal_ != nullptr) normal_->setTextColor(r, g, b);
}

void Basic::setHoverTextColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  if (hover_ != nullptr) hover_->setTextColor(r, g, b);
}

void Basic::applyToFonts(s::gui::IFont* normal, s::gui::IFont* hover) {
  for (const auto& [font, setting] : {std::pair{normal, normal_}, std::pair{hover, hover_}}) {
    if (font == nullptr || setting == nullptr) continue;
    setting->setSizeCode(font->getSizeCode());
    font->adoptSetting(setting);
  }
}

void Basic::paintEntries(s::os::gui::MemDC& surface, std::int32_t left, std::int32_t top,
                         std::int32_t right, std::int32_t bottom,
                         const std::vector<std::u16string>& entries,
                         const std::vector<Rect>& entryRects, s::gui::IFont* normalFont,
                         s::gui::IFont* hoverFont, std::int32_t paddingX, std::int32_t paddingY,
                         std::int32_t hoveredIndex, bool pressed, bool singleEntry,
                         bool lastEntryRight, bool lastEntryLink) {
  if (left >= right || top >= bottom || normalFont == nullptr || textDrawer_ == nullptr) return;
  if (singleEntry) {
    if (!entries.empty() && dropDown_ != nullptr) {
      const std::int32_t state = hoveredIndex != 0 ? 0 : pressed ? 2 : 1;
      dropDown_->paintField(surface, left, top, right, bottom, entries.front(), state, normalFont);
    }
    return;
  }
  // Entries without a measured rectangle are not drawn.
  const std::size_t n = std::min(entries.size(), entryRects.size());
  for (std::size_t i = 0; i < n; ++i) {
    const bool last = i + 1 == entries.size();
    const bool rightAligned = lastEntryRight && last;
    const bool link = lastEntryLink && last;
    const bool hovered = hoveredIndex >= 0 && static_cast<std::size_t>(hoveredIndex) == i;
    const Rect& q = entryRects[i];
    const std::int32_t shift = rightAligned ? right - q.right() : 0;
    std::int32_t textLeft = q.x + paddingX + shift;
    std::int32_t textTop = q.y + paddingY;
    std::int32_t textRight = q.right() - paddingX + shift;
    const std::int32_t textBottom = q.bottom() - paddingY;

    s::gui::IFont* font = normalFont;
    if (hovered) {
      if (fillOnHover_ && !link && !last) {
        surface.fillRect(Rect{q.x + shift, q.y, q.width, q.height}, hoverFill_);
        if (hoverFont != nullptr) font = hoverFont;
      }
      if (raised_) {
        const std::int32_t step = pressed ? 1 : -1;
        textTop += step;
        if (!rightAligned) {
          textLeft += step;
          textRight += step;
        }
      }
    }

    if (link) {
      // The link's look, without touching the bar's font.
      s::gui::LogicalFont look = normalFont->getLogicalFont();
      look.setTextColor(kLinkText.r, kLinkText.g, kLinkText.b);
      if (hovered) look.setUnderline(true);
      textDrawer_->paintLook(surface, textLeft, textTop, textRight, textBottom, entries[i], look);
    } else {
      textDrawer_->paintText(surface, textLeft, textTop, textRight, textBottom, entries[i], font);
    }
  }
}

void Basic::measureEntries(s::os::gui::MemDC& surface, const std::vector<std::u16string>& entries,
                           std::vector<Rect>& entryRects, s::gui::IFont* font,
                           std::int32_t& outPreferredWidth, std::int32_t& outPreferredHeight,
                           std::int32_t& outMaximumWidth, std::int32_t& outMaximumHeight,
                           std::int32_t paddingX, std::int32_t paddingY, bool singleEntry) {
  entryRects.clear();
  outPreferredWidth = outPreferredHeight = outMaximumWidth = outMaximumHeight = 0;
  if (font == nullptr || textDrawer_ == nullptr) return;
  std::int32_t x = 0;
  std::int32_t height = 0;
  std::int32_t maximumTextHeight = 0;
  for (const std::u16string& entry : entries) {
    std::int32_t preferredWidth = 0, preferredHeight = 0, maximumWidth = 0, maximumHeight = 0;
    textDrawer_->measureRange(surface, entry, font, preferredWidth, preferredHeight, maximumWidth,
                              maximumHeight);
    const Rect rect{x, 0, preferredWidth + 2 * paddingX, preferredHeight + 2 * paddingY};
    entryRects.push_back(rect);
    x += rect.width;
    height = std::max(height, rect.height);
    outMaximumWidth += maximumWidth + 2 * paddingX;
    maximumTextHeight = std::max(maximumTextHeight, maximumHeight);
  }
  for (Rect& rect : entryRects) rect.height = height;
  outPreferredWidth = x;
  outPreferredHeight = height;
  if (singleEntry) {
    outPreferredWidth += kSingleExtraWidth;
    outPreferredHeight += kSingleExtraHeight;
  }
  if (!entries.empty()) outMaximumHeight = maximumTextHeight + 2 * paddingY;
}

}  // namespace s::gui::drawer::menu::win
