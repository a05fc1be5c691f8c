#include "gui/combobox/ComboBoxItem.h"

#include "lang/Localizer.h"

namespace s::gui::combobox {

void ComboBoxItem::setTextId(std::int32_t id, s::lang::Localizer* table) {
  textId_ = id;
  if (table != nullptr) language_ = table;
  onEvent(language_, 0);
}

void ComboBoxItem::onEvent(s::base::IObject* sender, std::int32_t) {
  if (sender == nullptr || sender != static_cast<s::base::IObject*>(language_) || textId_ < 0)
    return;
  text_ = language_->text(textId_);
}

void ComboBoxItem::reset() {
  text_.clear();
  textId_ = -1;
  language_ = nullptr;
  value_ = 0;
  flags_ = 0;
}

}  // namespace s::gui::combobox
