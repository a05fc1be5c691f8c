#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gui/drawer/menu/IBasic.h"
#include "thread/IPoolable.h"
#include "thread/Pooled.h"

namespace s::gui::drawer::text::win {
class Basic;
}
namespace s::gui::drawer::combo::win {
class Thin;
}

namespace s::gui::drawer::menu::win {

// The plain menu bar drawer (contract in IMenu). After reset: both settings
// at size code -2, the hover setting's text in the system's highlight-text
// colour, the hover fill the system's highlight colour, fill on hover on,
// raised off. The entries' texts go through its own basic text drawer;
// single-entry menus through its own drop-down field drawer (state 1 while
// the entry is hovered, 2 while it is also pressed, else 0).
//
// The hovered entry is filled (and drawn in the hover font) only when it is
// neither the last entry nor a link. A link entry (the last one, with
// lastEntryLink) is drawn in (0, 0, 204) and underlined while hovered; the
// normal font itself is left as it was. Raised entries move the hovered
// text by (+1, +1) while pressed and (-1, -1) otherwise, keeping the text
// rectangle's bottom edge; a right-aligned entry moves only vertically.
// Pooled.
class Basic final : public IBasic,
                    public virtual s::base::IObject,
                    public virtual s::thread::IPoolable {
  VONQ_POOLED(Basic, s::thread::kPoolCap)
 public:
  static constexpr s::os::gui::Rgb kLinkText{0, 0, 204};
  static constexpr std::int32_t kSmallSizeCode = -2;
  // Single-entry bars are this much wider and taller than their entry.
  static constexpr std::int32_t kSingleExtraWidth = 15;
  static constexpr std::int32_t kSingleExtraHeight = 4;

  Basic();
  ~Basic() override;

  void paintEntries(s::os::gui::MemDC& surface, std::int32_t left, std::int32_t top,
                    std::int32_t right, std::int32_t bottom,
                    const std::vector<std::u16string>& entries, const std::vector<Rect>& entryRects,
                    s::gui::IFont* normalFont, s::gui::IFont* hoverFont, std::int32_t paddingX,
                    std::int32_t paddingY, std::int32_t hoveredIndex, bool pressed,
                    bool singleEntry, bool lastEntryRight, bool lastEntryLink) override;
  void applyToFonts(s::gui::IFont* normal, s::gui::IFont* hover) override;
  void measureEntries(s::os::gui::MemDC& surface, const std::vector<std::u16string>& entries,
                      std::vector<Rect>& entryRects, s::gui::IFont* font,
                      std::int32_t& outPreferredWidth, std::int32_t& outPreferredHeight,
                      std::int32_t& outMaximumWidth, std::int32_t& outMaximumHeight,
                      std::int32_t paddingX, std::int32_t paddingY, bool singleEntry) override;
  FontSetting* getNormalSetting() override { return normal_; }
  FontSetting* getHoverSetting() override { return hover_; }
  ICombo* getDropDownDrawer() override;
  void setHoverFill(std::uint8_t r, std::uint8_t g, std::uint8_t b) override;
  void setNormalTextColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) override;
  void setHoverTextColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) override;
  void setFillOnHover(bool on) override { fillOnHover_ = on; }
  void setRaised(bool on) override { raised_ = on; }

  // The system's highlight colours, read at every reset.
  static s::os::gui::Rgb systemHighlight();
  static s::os::gui::Rgb systemHighlightText();

  const char16_t* getClassName() const override { return u"s_gui_drawer_menu_win_Basic"; }
  void reset() override;

 private:
  FontSetting* normal_ = nullptr;
  FontSetting* hover_ = nullptr;
  s::os::gui::Rgb hoverFill_;
  bool fillOnHover_ = true;
  bool raised_ = false;
  s::gui::drawer::text::win::Basic* textDrawer_ = nullptr;
  s::gui::drawer::combo::win::Thin* dropDown_ = nullptr;
};

}  // namespace s::gui::drawer::menu::win
