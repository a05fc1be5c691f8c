#include "gui/LogicalFont.h"

#include <algorithm>
#include <cstdlib>

namespace s::gui {

namespace {
constexpr std::int32_t kDefaultPoints = 10;
constexpr std::int64_t kScreenDpi = 96;
// Taller text has no use and would overflow the text layout's units.
constexpr std::int64_t kLargestPixels = 32767;
}  // namespace

LogicalFont::LogicalFont(std::int32_t scale, std::u16string_view face)
    : scale_(std::max(1, scale)),
      face_(face.substr(0, kFaceCapacity)),
      height_(heightForSize(kDefaultPoints, scale_)) {}

std::int32_t LogicalFont::heightForSize(std::int32_t points, std::int32_t scale) {
  const std::int64_t a = static_cast<std::int64_t>(points) * scale;
  if (a == 1) return -1;
  if (a > 100) return -13;
  return static_cast<std::int32_t>(-(a + (a - 2) / 3 + 1));
}

std::int32_t LogicalFont::heightForPoints(std::int32_t points, std::int32_t scale) {
  // points x 10 decipoints x dpi / 720, rounded half away from zero.
  const std::int64_t product = static_cast<std::int64_t>(points) * 10 * kScreenDpi * scale;
  const std::int64_t rounded = (std::llabs(product) + 360) / 720;
  return static_cast<std::int32_t>(-rounded);
}

bool LogicalFont::setSizeCode(std::int32_t code) {
  const std::int64_t magnitude = std::llabs(static_cast<std::int64_t>(code));
  std::int32_t weight = kNormalWeight;
  std::int32_t points = 0;
  if (magnitude < 100) {
    points = code + 10;
  } else if (magnitude < 1000) {
    weight = kBoldWeight;
    points = code % 100 + 14;
  } else if (code == kSmallCode) {
    points = 8;
  } else {
    return false;
  }
  sizeCode_ = code;
  mark(kSizeCode);
  if (!isChanged(kWeight)) weight_ = weight;
  if (!isChanged(kHeight)) height_ = heightForSize(points, scale_);
  return true;
}

void LogicalFont::setFaceName(std::u16string_view name) {
  face_ = std::u16string(name.substr(0, kFaceCapacity));
  mark(kFace);
}

void LogicalFont::setTextColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  textColor_ = s::os::gui::Rgb{r, g, b};
  mark(kTextColor);
}

void LogicalFont::setEffectColor1(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  effectColor1_ = s::os::gui::Rgb{r, g, b};
  mark(kEffectColor1);
}

void LogicalFont::setEffectColor2(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  effectColor2_ = s::os::gui::Rgb{r, g, b};
  mark(kEffectColor2);
}

void LogicalFont::setPointSize(std::int32_t points) {
  height_ = heightForPoints(points, scale_);
  mark(kHeight);
}

void LogicalFont::setHeight(std::int32_t h) {
  height_ = h;
  mark(kHeight);
}

void LogicalFont::setWidth(std::int32_t w) {
  width_ = w;
  mark(kWidth);
}

void LogicalFont::setBold(bool on) {
  weight_ = on ? kBoldWeight : kNormalWeight;
  mark(kWeight);
}

void LogicalFont::setItalic(bool on) {
  italic_ = on;
  mark(kItalic);
}

void LogicalFont::setUnderline(bool on) {
  underline_ = on;
  mark(kUnderline);
}

void LogicalFont::setStrikeOut(bool on) {
  strikeOut_ = on;
  mark(kStrikeOut);
}

void LogicalFont::setWeight(std::int32_t w) {
  weight_ = w;
  mark(kWeight);
}

void LogicalFont::setWordWrap(bool on) {
  wordWrap_ = on;
  mark(kWordWrap);
}

void LogicalFont::setEllipsis(bool on) {
  ellipsis_ = on;
  mark(kEllipsis);
}

void LogicalFont::setTextEffect(std::int32_t effect) {
  textEffect_ = effect;
  mark(kTextEffect);
}

void LogicalFont::setClearType(bool on) {
  quality_ = on ? kClearTypeQuality : kPlainQuality;
  mark(kClearType);
}

void LogicalFont::adopt(const LogicalFont& from) {
  if (!isChanged(kFace)) face_ = from.face_;
  if (!isChanged(kTextColor)) textColor_ = from.textColor_;
  if (!isChanged(kEffectColor1)) effectColor1_ = from.effectColor1_;
  if (!isChanged(kEffectColor2)) effectColor2_ = from.effectColor2_;
  if (!isChanged(kWeight)) weight_ = from.weight_;
  if (!isChanged(kHeight)) height_ = from.height_;
  if (!isChanged(kWidth)) width_ = from.width_;
  if (!isChanged(kItalic)) italic_ = from.italic_;
  if (!isChanged(kUnderline)) underline_ = from.underline_;
  if (!isChanged(kStrikeOut)) strikeOut_ = from.strikeOut_;
  if (!isChanged(kClearType)) quality_ = from.quality_;
}

s::os::gui::FontSpec LogicalFont::toFontSpec() const {
  s::os::gui::FontSpec shape;
  shape.face = face_;
  const std::int32_t height = height_ != 0 ? height_ : heightForSize(kDefaultPoints, scale_);
  shape.pixelHeight = static_cast<std::int32_t>(
      std::min<std::int64_t>(std::llabs(static_cast<std::int64_t>(height)), kLargestPixels));
  shape.bold = isBold();
  shape.italic = italic_;
  shape.underline = underline_;
  return shape;
}

}  // namespace s::gui
