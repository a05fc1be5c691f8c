#pragma once

#include <cstddef>
#include <vector>

#include "gui/IFont.h"
#include "gui/IFontSettings.h"
#include "os/gui/MemDC.h"

namespace s::gui::win {

class FontSetting;

// The font settings of a control with one or more looks (a button's normal,
// disabled and pushed looks; one for a check box or a list): every setter
// applies to all looks, then fontsChanged() lets the control show and
// measure the new font. Reads come from the first (normal) look.
class FontLooks : public virtual IFontSettings {
 public:
  explicit FontLooks(std::size_t looks);
  ~FontLooks() override;
  FontLooks(const FontLooks&) = delete;
  FontLooks& operator=(const FontLooks&) = delete;

  void setFontSize(std::int32_t code) override;
  std::int32_t getFontSize() override;
  std::u16string getFaceName() override;
  void setFaceName(const std::u16string& name) override;
  s::os::gui::Rgb getTextColor() override;
  void setTextColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) override;
  void setPointSize(std::int32_t points) override;
  std::int32_t getFontHeight() override;
  void setFontHeight(std::int32_t h) override;
  std::int32_t getFontWidth() override;
  void setFontWidth(std::int32_t w) override;
  bool isBold() override;
  void setBold(bool on) override;
  bool isItalic() override;
  void setItalic(bool on) override;
  bool isUnderline() override;
  void setUnderline(bool on) override;
  bool isStrikeOut() override;
  void setStrikeOut(bool on) override;
  std::int32_t getWeight() override;
  void setWeight(std::int32_t w) override;

 protected:
  // Look `i` (0 the normal look).
  FontSetting& look(std::size_t i = 0) { return *looks_[i]; }
  // The surface font of look `i`.
  s::os::gui::FontSpec fontOf(std::size_t i = 0);
  // A font made from look `i`, for a drawer to draw with; the caller
  // releases it.
  IFont* makeFont(std::size_t i = 0);
  // Every look back to the default settings.
  void resetLooks();
  // A setting changed (interface thread).
  virtual void fontsChanged() = 0;

 private:
  template <class Change>
  void changeAll(Change&& change);
  template <class Read>
  auto read(Read&& reading);

  std::vector<FontSetting*> looks_;
};

}  // namespace s::gui::win
