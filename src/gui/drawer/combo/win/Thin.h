#pragma once

#include <cstdint>
#include <string_view>

#include "gui/drawer/combo/IThin.h"
#include "thread/IPoolable.h"
#include "thread/Pooled.h"

namespace s::gui::drawer::combo::win {

// The flat drop-down field (contract in ICombo): a one-pixel frame (two
// pixels while the mouse is over it or it is pressed), the text on one line
// from the left (one pixel down-right while pressed, ending with an
// ellipsis when it does not fit) and a downward arrow in the last 15 pixels
// (x the scale factor) on the right. After reset: black text and arrow,
// frame (120, 120, 120). Pooled.
class Thin final : public IThin,
                   public virtual s::base::IObject,
                   public virtual s::thread::IPoolable {
  VONQ_POOLED(Thin, s::thread::kPoolCap)
 public:
  Thin();
  ~Thin() override = default;

  void paintField(s::os::gui::MemDC& surface, std::int32_t left, std::int32_t top,
                  std::int32_t right, std::int32_t bottom, std::u16string_view text,
                  std::int32_t state, s::gui::IFont* font) override;
  void setColors(std::uint8_t textR, std::uint8_t textG, std::uint8_t textB, std::uint8_t frameR,
                 std::uint8_t frameG, std::uint8_t frameB) override;
  void setArrowColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) override;
  s::os::gui::Rgb getTextColor() override { return text_; }
  s::os::gui::Rgb getFrameColor() override { return frame_; }
  s::os::gui::Rgb getArrowColor() override { return arrow_; }

  const char16_t* getClassName() const override { return u"s_gui_drawer_combo_win_Thin"; }
  void reset() override;

 private:
  void paintFieldAt(s::os::gui::MemDC& surface, const s::os::gui::Rect& area,
                    std::u16string_view text, std::int32_t state, s::gui::IFont* font,
                    std::int32_t scale);

  s::os::gui::Rgb text_;
  s::os::gui::Rgb frame_;
  s::os::gui::Rgb arrow_;
};

}  // namespace s::gui::drawer::combo::win
