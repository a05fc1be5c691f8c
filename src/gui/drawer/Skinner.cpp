#include "gui/drawer/Skinner.h"

#include <algorithm>

#include "gui/IEventListener.h"
#include "gui/drawer/ISkin.h"
#include "gui/drawer/skin/ThinWindow.h"
#include "map/IMappedData.h"
#include "str/strbuffer/StrBuffer.h"

namespace s::gui::drawer {

Skinner::~Skinner() {
  releaseThemes();
}

void Skinner::releaseThemes() {
  for (ISkin* theme : themes_) {
    if (auto* pooled = dynamic_cast<s::thread::IPoolable*>(theme)) pooled->release();
  }
  themes_.clear();
}

void Skinner::reset() {
  releaseThemes();
  themeNames_.clear();
  current_ = nullptr;
  listeners_.clear();
  name_ = u"Basic";
}

Skinner* Skinner::makeThinWindowSkinner() {
  Skinner* skinner = create();
  skinner->setName(kThinWindow);
  skinner->loadThemes();
  return skinner;
}

bool Skinner::addTheme(ISkin* theme) {
  themes_.push_back(theme);
  themeNames_.push_back(theme->getName());
  return true;
}

void Skinner::loadThemes() {
  if (name_ != kThinWindow) return;
  for (const auto& theme : skin::ThinWindowPalette::themes())
    addTheme(skin::ThinWindow::build(theme.name, theme.colours));
}

bool Skinner::findTheme(std::u16string_view name, std::int32_t& outIndex) const {
  outIndex = -1;
  const auto found = std::find(themeNames_.begin(), themeNames_.end(), name);
  if (found == themeNames_.end()) return false;
  outIndex = static_cast<std::int32_t>(found - themeNames_.begin());
  return true;
}

ISkin* Skinner::getTheme(std::int32_t index) const {
  if (index < 0 || index >= getThemeCount()) return nullptr;
  return themes_[static_cast<std::size_t>(index)];
}

bool Skinner::chooseTheme(std::u16string_view name, std::u16string_view defaultName) {
  if (themes_.empty()) return false;
  std::int32_t index = -1;
  if (!findTheme(name, index)) findTheme(defaultName, index);
  ISkin* chosen = index >= 0 ? getTheme(index) : themes_.front();
  if (chosen != current_) {
    current_ = chosen;
    notifyListeners();
  }
  return true;
}

bool Skinner::chooseStoredTheme(s::map::IMappedData* settings, const char16_t* group,
                                std::u16string_view defaultName) {
  if (settings == nullptr) return chooseTheme(defaultName, defaultName);
  const std::u16string fallback(defaultName);
  s::str::strbuffer::StrBuffer* value = s::str::strbuffer::StrBuffer::create();
  settings->getValue(group, nullptr, *value, fallback.c_str(), nullptr, false);
  const std::u16string stored = value->getText();
  value->release();
  return chooseTheme(stored, defaultName);
}

bool Skinner::storeCurrentTheme(s::map::IMappedData* settings, const char16_t* group) const {
  if (settings == nullptr || current_ == nullptr) return false;
  return settings->setValue(group, nullptr, current_->getName().c_str());
}

void Skinner::addListener(s::gui::IEventListener* listener) {
  if (listener == nullptr) return;
  if (std::find(listeners_.begin(), listeners_.end(), listener) != listeners_.end()) return;
  listeners_.push_back(listener);
}

void Skinner::removeListener(s::gui::IEventListener* listener) {
  std::erase(listeners_, listener);
}

void Skinner::notifyListeners() {
  // A copy: a listener may register or leave while it is told.
  const std::vector<s::gui::IEventListener*> listeners = listeners_;
  for (s::gui::IEventListener* listener : listeners) listener->onEvent(this, 0);
}

}  // namespace s::gui::drawer
