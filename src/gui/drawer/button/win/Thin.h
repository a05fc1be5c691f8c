#pragma once

#include <cstdint>
#include <string_view>

#include "gui/drawer/button/IThin.h"
#include "thread/IPoolable.h"
#include "thread/Pooled.h"

namespace s::gui::drawer::border::win {
class Thin;
}
namespace s::gui::drawer::text::win {
class Basic;
}

namespace s::gui::drawer::button::win {

// The thin look's button (contract in IButton). The frame is the shaded
// border (kind `cornerKind`) in the mark colour: the enabled colour, the
// pushed colour for an enabled button in its pushed look, the disabled
// colour when disabled. Normal state paints it raised, hover lit, pressed
// sunken; the pushed look swaps hover and pressed and fills the inside. The
// caption is centred two units inside the frame (with `shiftText`: one up
// and left while hovered, one down and right while pressed), as a face
// symbol when it names one, else as text by the drawer's own centred text
// drawers. After reset: corner kind 1, no shift, every colour
// (120, 120, 120). Pooled; owns its border and text drawers.
class Thin final : public IThin,
                   public virtual s::base::IObject,
                   public virtual s::thread::IPoolable {
  VONQ_POOLED(Thin, s::thread::kPoolCap)
 public:
  // What one paint shows (the arguments of paintButton after the rectangle).
  struct Face {
    std::int32_t state = 0;
    std::u16string_view text;
    bool drawFlag = true;
    s::gui::IFont* font = nullptr;
    bool enabled = true;
    bool pushedLook = false;
    bool drawFlag2 = false;
  };

  Thin();
  ~Thin() override;

  void paintButton(s::os::gui::MemDC& surface, std::int32_t left, std::int32_t top,
                   std::int32_t right, std::int32_t bottom, std::int32_t state,
                   std::u16string_view text, bool drawFlag, s::gui::IFont* font, bool enabled,
                   bool pushedLook, bool drawFlag2) override;
  void setCornerKind(std::int32_t kind) override { cornerKind_ = kind; }
  void setShiftText(bool on) override { shiftText_ = on; }
  s::os::gui::Rgb getEnabledColor() override { return enabled_; }
  void setEnabledColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) override;
  s::os::gui::Rgb getDisabledColor() override { return disabled_; }
  void setDisabledColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) override;
  s::os::gui::Rgb getPushedColor() override { return pushed_; }
  void setPushedColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) override;
  s::os::gui::Rgb getFillColor() override { return fill_; }
  void setFillColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) override;
  bool paintSymbol(s::os::gui::MemDC& surface, std::int32_t left, std::int32_t top,
                   std::int32_t right, std::int32_t bottom, std::u16string_view text,
                   std::uint8_t r, std::uint8_t g, std::uint8_t b) override;
  void applyToFonts(s::gui::IFont* normal, s::gui::IFont* disabled) override;
  void applyToSettings(FontSetting* normal, FontSetting* disabled) override;
  FontSetting* getNormalSetting() override;
  FontSetting* getDisabledSetting() override;
  void applyToPushedFont(s::gui::IFont* font) override;
  void applyToPushedSetting(FontSetting* setting) override;
  FontSetting* getPushedSetting() override;
  void setShaded(bool on) override;

  // paintButton at scale factor `scale`.
  void paintButtonAt(s::os::gui::MemDC& surface, const s::os::gui::Rect& area, const Face& face,
                     std::int32_t scale);

  const char16_t* getClassName() const override { return u"s_gui_drawer_button_win_Thin"; }
  void reset() override;

 private:
  // Paints the frame (and the pushed look's fill); false when none is drawn.
  bool paintFrame(s::os::gui::MemDC& surface, const s::os::gui::Rect& area, const Face& face,
                  std::int32_t state, s::os::gui::Rgb mark, std::int32_t m);
  // Where the caption goes for `state`.
  s::os::gui::Rect contentArea(const s::os::gui::Rect& area, std::int32_t state,
                               std::int32_t m) const;
  void paintCaption(s::os::gui::MemDC& surface, s::os::gui::Rect content, const Face& face,
                    bool framed, s::os::gui::Rgb mark, std::int32_t m);

  std::int32_t cornerKind_ = 1;
  bool shiftText_ = false;
  s::os::gui::Rgb enabled_;
  s::os::gui::Rgb disabled_;
  s::os::gui::Rgb pushed_;
  s::os::gui::Rgb fill_;
  s::gui::drawer::border::win::Thin* border_ = nullptr;
  s::gui::drawer::text::win::Basic* textDrawer_ = nullptr;
  s::gui::drawer::text::win::Basic* pushedTextDrawer_ = nullptr;
};

}  // namespace s::gui::drawer::button::win
