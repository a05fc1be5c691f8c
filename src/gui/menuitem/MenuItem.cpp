#include "gui/menuitem/MenuItem.h"

#include "lang/Localizer.h"

namespace s::gui::menuitem {

MenuItem* MenuItem::make(std::int32_t textId, s::lang::Localizer* table, std::int32_t commandId,
                         bool checked) {
  MenuItem* item = create();
  item->textId_ = textId;
  item->language_ = table;
  item->commandId_ = commandId;
  item->checked_ = checked;
  return item;
}

MenuItem* MenuItem::makeSeparator() {
  MenuItem* item = create();
  item->separator_ = true;
  return item;
}

std::u16string MenuItem::getText() {
  if (textId_ >= 0 && language_ != nullptr) text_ = language_->text(textId_);
  return text_;
}

void MenuItem::reset() {
  language_ = nullptr;
  text_.clear();
  textId_ = commandId_ = -1;
  checked_ = radio_ = separator_ = false;
  key_ = 0;
}

}  // namespace s::gui::menuitem
