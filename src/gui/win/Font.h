#pragma once

#include "gui/IFont.h"
#include "gui/LogicalFont.h"
#include "os/gui/MemDC.h"
#include "thread/IPoolable.h"
#include "thread/Pooled.h"

namespace s::gui::win {

class FontSetting;

// A font (contract in IFont): the settings and the platform font made from
// them, which is a surface font description here (face, pixel height =
// |height|, bold from weight 600, italic, underline). A new font has the
// desktop's interface face at 10 points for the interface's scale factor.
// Pool cap 0.
class Font final : public IFont,
                   public virtual s::base::IObject,
                   public virtual s::thread::IPoolable {
  VONQ_POOLED(Font, s::thread::kPoolCapNone)
 public:
  Font();
  ~Font() override = default;

  std::int32_t measureTextHeight() override;
  void setSizeCode(std::int32_t code) override;
  std::int32_t getSizeCode() override { return logical_.getSizeCode(); }
  bool isCustomized() override { return logical_.isCustomized(); }
  std::u16string getFaceName() override { return logical_.getFaceName(); }
  void setFaceName(std::u16string_view name) override;
  s::os::gui::Rgb getTextColor() override { return logical_.getTextColor(); }
  void setTextColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) override;
  s::os::gui::Rgb getEffectColor1() override { return logical_.getEffectColor1(); }
  void setEffectColor1(std::uint8_t r, std::uint8_t g, std::uint8_t b) override;
  s::os::gui::Rgb getEffectColor2() override { return logical_.getEffectColor2(); }
  void setEffectColor2(std::uint8_t r, std::uint8_t g, std::uint8_t b) override;
  void setPointSize(std::int32_t points) override;
  std::int32_t getHeight() override { return logical_.getHeight(); }
  void setHeight(std::int32_t h) override;
  std::int32_t getWidth() override { return logical_.getWidth(); }
  void setWidth(std::int32_t w) override;
  bool isBold() override { return logical_.isBold(); }
  void setBold(bool on) override;
  bool isItalic() override { return logical_.isItalic(); }
  void setItalic(bool on) override;
  bool isUnderline() override { return logical_.isUnderline(); }
  void setUnderline(bool on) override;
  bool isStrikeOut() override { return logical_.isStrikeOut(); }
  void setStrikeOut(bool on) override;
  std::int32_t getWeight() override { return logical_.getWeight(); }
  void setWeight(std::int32_t w) override;
  bool isWordWrap() override { return logical_.isWordWrap(); }
  void setWordWrap(bool on) override;
  bool isEllipsis() override { return logical_.isEllipsis(); }
  void setEllipsis(bool on) override;
  std::int32_t getTextEffect() override { return logical_.getTextEffect(); }
  void setTextEffect(std::int32_t effect) override;
  bool isClearType() override { return logical_.isClearType(); }
  void setClearType(bool on) override;
  void adoptSetting(const FontSetting* setting) override;
  void adoptFont(IFont* font) override;
  const LogicalFont& getLogicalFont() override { return logical_; }
  const s::os::gui::FontSpec& getPlatformFont() override { return platform_; }

  // Replaces every setting and flag with `settings` (a font made from a
  // FontSetting).
  void setLogicalFont(const LogicalFont& settings);

  const char16_t* getClassName() const override { return u"s_gui_win_Font"; }
  void reset() override;

  // The settings a new font or setting starts from: the desktop's
  // interface face at the interface's scale factor.
  static LogicalFont defaults();

 private:
  // Makes the platform font again from the description.
  void remake() { platform_ = logical_.toFontSpec(); }

  LogicalFont logical_;
  s::os::gui::FontSpec platform_;
};

}  // namespace s::gui::win
