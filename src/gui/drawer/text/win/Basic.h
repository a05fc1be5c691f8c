#pragma once

#include <cstdint>
#include <string_view>

#include "gui/LogicalFont.h"
#include "gui/drawer/text/IBasic.h"
#include "thread/IPoolable.h"
#include "thread/Pooled.h"

namespace s::gui::drawer::text::win {

// The plain text drawer (contract in IText). Its settings after reset:
// normal the default look; disabled text (161, 161, 146); link (0, 170, 0)
// underlined; link hover and link pressed (170, 170, 0) underlined. The
// text effects paint the text several times, in this order, offset from the
// rectangle by (x, y):
//   1  effect colour 1 at (0,-1) (1,-1) (2,-1) (2,0) (2,1) (1,1) (0,1) (0,0),
//      then the text at (1,0);  7  the same with effect colour 2;
//   2  a shadow at (1,1): (238, 238, 238) under black text, (119, 119, 119)
//      under any other colour; then the text at (0,0);
//   3  black (2,2), white (0,0), text (1,1);  4  white (0,0), black (0,2),
//      text (0,1);  5  white (2,2), black (0,0), text (1,1);  6  black (0,0),
//      white (0,2), text (0,1).
// Pooled.
class Basic final : public IBasic,
                    public virtual s::base::IObject,
                    public virtual s::thread::IPoolable {
  VONQ_POOLED(Basic, s::thread::kPoolCap)
 public:
  static constexpr s::os::gui::Rgb kDisabledText{161, 161, 146};
  static constexpr s::os::gui::Rgb kLinkText{0, 170, 0};
  static constexpr s::os::gui::Rgb kLinkHoverText{170, 170, 0};

  Basic();
  ~Basic() override;

  void paintText(s::os::gui::MemDC& surface, std::int32_t left, std::int32_t top,
                 std::int32_t right, std::int32_t bottom, std::u16string_view text,
                 s::gui::IFont* font) override;
  void measureText(s::os::gui::MemDC& surface, std::int32_t left, std::int32_t top,
                   std::int32_t right, std::int32_t bottom, std::u16string_view text,
                   s::gui::IFont* font, std::int32_t& outWidth, std::int32_t& outHeight) override;
  void applyToFonts(s::gui::IFont* normal, s::gui::IFont* disabled, s::gui::IFont* link,
                    s::gui::IFont* linkHover, s::gui::IFont* linkPressed) override;
  void applyToSettings(FontSetting* normal, FontSetting* disabled, FontSetting* link,
                       FontSetting* linkHover, FontSetting* linkPressed) override;
  void measureRange(s::os::gui::MemDC& surface, std::u16string_view text, s::gui::IFont* font,
                    std::int32_t& outPreferredWidth, std::int32_t& outPreferredHeight,
                    std::int32_t& outMaximumWidth, std::int32_t& outMaximumHeight) override;
  FontSetting* getNormalSetting() override { return normal_; }
  FontSetting* getDisabledSetting() override { return disabled_; }
  FontSetting* getLinkSetting() override { return link_; }
  FontSetting* getLinkHoverSetting() override { return linkHover_; }
  FontSetting* getLinkPressedSetting() override { return linkPressed_; }
  void setCentered(bool on) override { centered_ = on; }

  // paintText for a look that is not a font of its own (a menu entry drawn
  // as a link): the same drawing in `look`'s font, colours and flags.
  void paintLook(s::os::gui::MemDC& surface, std::int32_t left, std::int32_t top,
                 std::int32_t right, std::int32_t bottom, std::u16string_view text,
                 const s::gui::LogicalFont& look);
  // The surface's layout flags (TextFlag) for `look`: centred, word wrap,
  // ellipsis or a single line, in that order of precedence.
  std::uint32_t layoutFlags(const s::gui::LogicalFont& look) const;

  const char16_t* getClassName() const override { return u"s_gui_drawer_text_win_Basic"; }
  void reset() override;

 private:
  void paintWith(s::os::gui::MemDC& surface, const s::os::gui::Rect& area, std::u16string_view text,
                 const s::gui::LogicalFont& look, const s::os::gui::FontSpec& shape);

  FontSetting* normal_ = nullptr;
  FontSetting* disabled_ = nullptr;
  FontSetting* link_ = nullptr;
  FontSetting* linkHover_ = nullptr;
  FontSetting* linkPressed_ = nullptr;
  bool centered_ = false;
};

}  // namespace s::gui::drawer::text::win
