#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/IObject.h"
#include "gui/LogicalFont.h"
#include "thread/IPoolable.h"
#include "thread/Pooled.h"

namespace s::gui {
class IFont;
}

namespace s::gui::win {

class Font;

// The settings of a Font without a platform font: the same operations and
// the same "set explicitly" flags (contract in IFont), for looks that are
// kept but not always drawn (a button's disabled and pushed looks, a
// drawer's colours). createFont() makes a Font from it. Used on one
// interface thread; not locked. Pooled.
class FontSetting final : public virtual s::base::IObject, public virtual s::thread::IPoolable {
  VONQ_POOLED(FontSetting, s::thread::kPoolCap)
 public:
  FontSetting();
  ~FontSetting() override = default;

  void setSizeCode(std::int32_t code) { logical_.setSizeCode(code); }
  std::int32_t getSizeCode() const { return logical_.getSizeCode(); }
  bool isCustomized() const { return logical_.isCustomized(); }
  std::u16string getFaceName() const { return logical_.getFaceName(); }
  void setFaceName(std::u16string_view name) { logical_.setFaceName(name); }
  s::os::gui::Rgb getTextColor() const { return logical_.getTextColor(); }
  void setTextColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    logical_.setTextColor(r, g, b);
  }
  s::os::gui::Rgb getEffectColor1() const { return logical_.getEffectColor1(); }
  void setEffectColor1(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    logical_.setEffectColor1(r, g, b);
  }
  s::os::gui::Rgb getEffectColor2() const { return logical_.getEffectColor2(); }
  void setEffectColor2(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    logical_.setEffectColor2(r, g, b);
  }
  void setPointSize(std::int32_t points) { logical_.setPointSize(points); }
  std::int32_t getHeight() const { return logical_.getHeight(); }
  void setHeight(std::int32_t h) { logical_.setHeight(h); }
  std::int32_t getWidth() const { return logical_.getWidth(); }
  void setWidth(std::int32_t w) { logical_.setWidth(w); }
  bool isBold() const { return logical_.isBold(); }
  void setBold(bool on) { logical_.setBold(on); }
  bool isItalic() const { return logical_.isItalic(); }
  void setItalic(bool on) { logical_.setItalic(on); }
  bool isUnderline() const { return logical_.isUnderline(); }
  void setUnderline(bool on) { logical_.setUnderline(on); }
  bool isStrikeOut() const { return logical_.isStrikeOut(); }
  void setStrikeOut(bool on) { logical_.setStrikeOut(on); }
  std::int32_t getWeight() const { return logical_.getWeight(); }
  void setWeight(std::int32_t w) { logical_.setWeight(w); }
  bool isWordWrap() const { return logical_.isWordWrap(); }
  void setWordWrap(bool on) { logical_.setWordWrap(on); }
  bool isEllipsis() const { return logical_.isEllipsis(); }
  void setEllipsis(bool on) { logical_.setEllipsis(on); }
  std::int32_t getTextEffect() const { return logical_.getTextEffect(); }
  void setTextEffect(std::int32_t effect) { logical_.setTextEffect(effect); }
  bool isClearType() const { return logical_.isClearType(); }
  void setClearType(bool on) { logical_.setClearType(on); }
  // As IFont's: take over what was not set explicitly here. Null: nothing.
  void adoptSetting(const FontSetting* setting);
  void adoptFont(s::gui::IFont* font);

  // A new Font with these settings and flags; the caller releases it.
  Font* createFont() const;

  const LogicalFont& getLogicalFont() const { return logical_; }
  // Replaces every setting and flag.
  void setLogicalFont(const LogicalFont& settings) { logical_ = settings; }

  const char16_t* getClassName() const override { return u"s_gui_win_FontSetting"; }
  void reset() override;

 private:
  LogicalFont logical_;
};

}  // namespace s::gui::win
