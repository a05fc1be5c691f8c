#include "gui/win/FontSetting.h"

#include "gui/IFont.h"
#include "gui/win/Font.h"

namespace s::gui::win {

FontSetting::FontSetting() {
  reset();
}

void FontSetting::reset() {
  logical_ = Font::defaults();
}

void FontSetting::adoptSetting(const FontSetting* setting) {
  if (setting != nullptr && setting != this) logical_.adopt(setting->logical_);
}

void FontSetting::adoptFont(s::gui::IFont* font) {
  if (font != nullptr) logical_.adopt(font->getLogicalFont());
}

Font* FontSetting::createFont() const {
  Font* font = Font::create();
  if (font != nullptr) font->setLogicalFont(logical_);
  return font;
}

}  // namespace s::gui::win
