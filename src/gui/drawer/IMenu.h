#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/IObject.h"
#include "os/gui/Geometry.h"
#include "os/gui/MemDC.h"
#include "thread/IPoolable.h"

namespace s::gui {
class IFont;
}
namespace s::gui::win {
class FontSetting;
}

namespace s::gui::drawer {

class ICombo;

// Paints and measures the entries of a drawn menu bar and gives the bar's
// fonts its colours. Operations in this order; interface thread of the
// window being painted.
class IMenu : public virtual s::base::IObject, public virtual s::thread::IPoolable {
 public:
  using FontSetting = s::gui::win::FontSetting;
  using Rect = s::os::gui::Rect;

  ~IMenu() override = default;

  // Paints the entry texts `entries` at `entryRects` (from the last
  // measureEntries) within the bar's rectangle: the hovered entry (index;
  // -1 none) in the hover look, the last entry at the bar's right end with
  // `lastEntryRight` and as a link with `lastEntryLink`; in `singleEntry`
  // mode the whole bar as one drop-down field showing the first entry.
  // Nothing for an empty rectangle or without a normal font; the hover font
  // may be null (the normal one is used).
  virtual void paintEntries(s::os::gui::MemDC& surface, std::int32_t left, std::int32_t top,
                            std::int32_t right, std::int32_t bottom,
                            const std::vector<std::u16string>& entries,
                            const std::vector<Rect>& entryRects, s::gui::IFont* normalFont,
                            s::gui::IFont* hoverFont, std::int32_t paddingX, std::int32_t paddingY,
                            std::int32_t hoveredIndex, bool pressed, bool singleEntry,
                            bool lastEntryRight, bool lastEntryLink) = 0;
  // As the text drawer's, for the bar's normal and hover fonts.
  virtual void applyToFonts(s::gui::IFont* normal, s::gui::IFont* hover) = 0;
  // Lays the entries out side by side from x = 0 in `font`: each rectangle
  // its text's size plus the padding on both sides, all as tall as the
  // tallest. Preferred size: the sum of the widths by that height (single-
  // entry mode adds 15 and 4). Maximum: the sum of the entries' maximum
  // text widths plus padding by the largest maximum text height plus
  // padding. Without a font: no rectangles, all sizes 0.
  virtual void measureEntries(s::os::gui::MemDC& surface,
                              const std::vector<std::u16string>& entries,
                              std::vector<Rect>& entryRects, s::gui::IFont* font,
                              std::int32_t& outPreferredWidth, std::int32_t& outPreferredHeight,
                              std::int32_t& outMaximumWidth, std::int32_t& outMaximumHeight,
                              std::int32_t paddingX, std::int32_t paddingY, bool singleEntry) = 0;
  // The drawer's own settings and drop-down field drawer; owned by it.
  virtual FontSetting* getNormalSetting() = 0;
  virtual FontSetting* getHoverSetting() = 0;
  virtual ICombo* getDropDownDrawer() = 0;
  virtual void setHoverFill(std::uint8_t r, std::uint8_t g, std::uint8_t b) = 0;
  virtual void setNormalTextColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) = 0;
  virtual void setHoverTextColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) = 0;
  // Fill the hovered entry (not the last one, not a link) and draw it in
  // the hover font.
  virtual void setFillOnHover(bool on) = 0;
  // Move the hovered entry's text one pixel down-right while pressed and
  // one up-left otherwise.
  virtual void setRaised(bool on) = 0;
};

}  // namespace s::gui::drawer
