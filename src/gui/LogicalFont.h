#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "os/gui/Geometry.h"
#include "os/gui/MemDC.h"

namespace s::gui {

// The settings of one look of text, as Font and FontSetting keep them: the
// logical description of the platform font (face, height, width, weight,
// italic, underline, strike-out and the fixed bytes a Windows font is made
// with), the colours, the layout flags and the text effect, and one flag per
// setting telling whether it was set explicitly (adopt() leaves those alone).
//
// Size codes become heights through the scale factor the description was
// made for. A plain value; no platform resources.
class LogicalFont {
 public:
  // The settings that carry a "set explicitly" flag.
  enum Field : std::uint32_t {
    kFace = 1u << 0,
    kSizeCode = 1u << 1,
    kTextColor = 1u << 2,
    kEffectColor1 = 1u << 3,
    kEffectColor2 = 1u << 4,
    kHeight = 1u << 5,  // the height or the point size
    kWidth = 1u << 6,
    kWeight = 1u << 7,  // the weight or bold
    kItalic = 1u << 8,
    kUnderline = 1u << 9,
    kStrikeOut = 1u << 10,
    kWordWrap = 1u << 11,
    kEllipsis = 1u << 12,
    kTextEffect = 1u << 13,
    kClearType = 1u << 14,
  };

  // A face name holds at most this many UTF-16 units (32 with the
  // terminator of a platform description); longer names are cut.
  static constexpr std::size_t kFaceCapacity = 31;
  static constexpr std::int32_t kNormalWeight = 400;
  static constexpr std::int32_t kBoldWeight = 700;
  // Weights from here on are drawn bold.
  static constexpr std::int32_t kBoldFrom = 600;
  static constexpr std::uint8_t kClearTypeQuality = 5;
  static constexpr std::uint8_t kPlainQuality = 3;
  // The size code that means 8 points, normal weight.
  static constexpr std::int32_t kSmallCode = 100001;

  // The default look at scale factor `scale` (at least 1) with `face`: 10
  // points (height -13 at scale 1, -27 at 2, -53 at 4), weight 400, black
  // text, effect colours (238, 238, 238), nothing set explicitly.
  explicit LogicalFont(std::int32_t scale = 1, std::u16string_view face = u"");

  // The logical height of a font of `points` at scale factor `scale`: with
  // a = points x scale, -1 when a is 1, -13 when a is over 100, otherwise
  // -(a + (a - 2) / 3 + 1) in integer arithmetic.
  static std::int32_t heightForSize(std::int32_t points, std::int32_t scale);
  // The height the platform gives `points` on the screen: points x 10
  // decipoints at 96 pixels per inch x scale, rounded, negative (character
  // height).
  static std::int32_t heightForPoints(std::int32_t points, std::int32_t scale);

  std::int32_t scale() const { return scale_; }

  // A size code (see heightForSize): magnitude under 100: weight 400 and
  // code + 10 points; 100 to 999: weight 700 and (code mod 100) + 14 points
  // (the remainder keeps the code's sign); kSmallCode: weight 400 and 8
  // points. The weight is kept when it was set explicitly, the height when
  // a height or point size was. Any other code changes nothing (false).
  bool setSizeCode(std::int32_t code);
  std::int32_t getSizeCode() const { return sizeCode_; }
  bool isCustomized() const { return changed_ != 0; }
  bool isChanged(Field field) const { return (changed_ & field) != 0; }

  const std::u16string& getFaceName() const { return face_; }
  void setFaceName(std::u16string_view name);
  s::os::gui::Rgb getTextColor() const { return textColor_; }
  void setTextColor(std::uint8_t r, std::uint8_t g, std::uint8_t b);
  s::os::gui::Rgb getEffectColor1() const { return effectColor1_; }
  void setEffectColor1(std::uint8_t r, std::uint8_t g, std::uint8_t b);
  s::os::gui::Rgb getEffectColor2() const { return effectColor2_; }
  void setEffectColor2(std::uint8_t r, std::uint8_t g, std::uint8_t b);
  void setPointSize(std::int32_t points);
  std::int32_t getHeight() const { return height_; }
  void setHeight(std::int32_t h);
  std::int32_t getWidth() const { return width_; }
  void setWidth(std::int32_t w);
  bool isBold() const { return weight_ >= kBoldFrom; }
  void setBold(bool on);
  bool isItalic() const { return italic_; }
  void setItalic(bool on);
  bool isUnderline() const { return underline_; }
  void setUnderline(bool on);
  bool isStrikeOut() const { return strikeOut_; }
  void setStrikeOut(bool on);
  std::int32_t getWeight() const { return weight_; }
  void setWeight(std::int32_t w);
  bool isWordWrap() const { return wordWrap_; }
  void setWordWrap(bool on);
  bool isEllipsis() const { return ellipsis_; }
  void setEllipsis(bool on);
  std::int32_t getTextEffect() const { return textEffect_; }
  void setTextEffect(std::int32_t effect);
  bool isClearType() const { return quality_ == kClearTypeQuality; }
  void setClearType(bool on);

  // Takes over from `from` every setting not set explicitly here: face,
  // text colour, both effect colours, weight, height, width, italic,
  // underline, strike-out and ClearType. The size code, word wrap, ellipsis
  // and text effect stay; so do the flags.
  void adopt(const LogicalFont& from);

  // The font the drawing surface uses: the face, the height's magnitude in
  // pixels (height 0, the platform's "any size", is the default 10 points;
  // at most 32767), bold from weight 600, italic and underline.
  s::os::gui::FontSpec toFontSpec() const;

  // The fixed parts of a platform description, for the platforms that make
  // fonts from one.
  std::int32_t escapement() const { return 0; }
  std::int32_t orientation() const { return 0; }
  std::uint8_t charSet() const { return 1; }
  std::uint8_t outPrecision() const { return 1; }
  std::uint8_t clipPrecision() const { return 2; }
  std::uint8_t pitchAndFamily() const { return 2; }
  std::uint8_t quality() const { return quality_; }

 private:
  void mark(Field field) { changed_ |= field; }

  std::int32_t scale_;
  std::u16string face_;
  std::int32_t height_;
  std::int32_t width_ = 0;
  std::int32_t weight_ = kNormalWeight;
  bool italic_ = false;
  bool underline_ = false;
  bool strikeOut_ = false;
  std::uint8_t quality_ = kClearTypeQuality;
  s::os::gui::Rgb textColor_{0, 0, 0};
  s::os::gui::Rgb effectColor1_{238, 238, 238};
  s::os::gui::Rgb effectColor2_{238, 238, 238};
  std::int32_t sizeCode_ = 0;
  bool wordWrap_ = false;
  bool ellipsis_ = false;
  std::int32_t textEffect_ = 0;
  std::uint32_t changed_ = 0;
};

}  // namespace s::gui
