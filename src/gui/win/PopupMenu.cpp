#include "gui/win/PopupMenu.h"

#include <algorithm>

#include "gui/OnUi.h"
#include "gui/menuitem/MenuItem.h"
#include "lang/Localizer.h"
#include "os/gui/Ui.h"

namespace s::gui::win {

using s::os::gui::MenuMark;

PopupMenu::~PopupMenu() {
  onUi([this] {
    clear();
    if (language_ != nullptr) language_->removeListener(this);
    if (native_ != nullptr) native_->destroy();
    native_ = nullptr;
  });
}

void PopupMenu::reset() {
  onUi([this] {
    clear();
    if (language_ != nullptr) language_->removeListener(this);
    language_ = nullptr;
    title_.clear();
    titleId_ = lastCommand_ = -1;
    listeners_.clear();
    parent_ = nullptr;
    host_ = nullptr;
  });
}

void PopupMenu::setHost(Host* host) {
  onUi([&] { host_ = host; });
}

s::os::gui::NativeMenu* PopupMenu::native() {
  if (native_ == nullptr) {
    native_ = s::os::gui::ui().createMenu(*this);
    if (native_ == nullptr) return nullptr;
    for (std::size_t pos = 0; pos < entries_.size(); ++pos) {
      Entry& entry = entries_[pos];
      const auto at = static_cast<std::int32_t>(pos);
      if (entry.submenu != nullptr && entry.submenu->native() != nullptr) {
        native_->insertSubmenu(at, *entry.submenu->native_, entry.submenu->getTitle());
      } else if (entry.item != nullptr && entry.item->isSeparator()) {
        native_->insertSeparator(at);
      } else if (entry.item != nullptr) {
        native_->insertCommand(at, entry.item->getText(), entry.item->getCommandId());
      }
      show(at);
    }
  }
  return native_;
}

void PopupMenu::show(std::int32_t pos) {
  if (native_ == nullptr || pos < 0 || static_cast<std::size_t>(pos) >= entries_.size()) return;
  Entry& entry = entries_[static_cast<std::size_t>(pos)];
  if (entry.submenu != nullptr) {
    native_->setEntry(pos, entry.submenu->getTitle(), MenuMark::kNone, false, entry.enabled);
    return;
  }
  MenuItem* item = entry.item;
  if (item == nullptr || item->isSeparator()) return;
  const MenuMark mark = item->isRadio()     ? MenuMark::kRadio
                        : item->isChecked() ? MenuMark::kCheck
                                            : MenuMark::kNone;
  native_->setEntry(pos, item->getText(), mark, item->isRadio() || item->isChecked(),
                    entry.enabled);
}

void PopupMenu::insertEntry(std::int32_t pos, Entry entry) {
  pos = std::clamp<std::int32_t>(pos, 0, static_cast<std::int32_t>(entries_.size()));
  if (entry.item != nullptr && entry.item->getTextId() >= 0 && language_ != nullptr) {
    entry.item->setLanguage(language_);
  }
  entries_.insert(entries_.begin() + pos, entry);
  if (native_ == nullptr) return;
  if (entry.submenu != nullptr) {
    if (entry.submenu->native() != nullptr)
      native_->insertSubmenu(pos, *entry.submenu->native_, entry.submenu->getTitle());
  } else if (entry.item->isSeparator()) {
    native_->insertSeparator(pos);
  } else {
    native_->insertCommand(pos, entry.item->getText(), entry.item->getCommandId());
  }
  show(pos);
}

void PopupMenu::addItem(MenuItem* item) {
  if (item == nullptr) return;
  onUi([&] {
    insertEntry(static_cast<std::int32_t>(entries_.size()), Entry{item, nullptr, true});
  });
}

void PopupMenu::insertItem(std::int32_t pos, MenuItem* item) {
  if (item == nullptr) return;
  onUi([&] { insertEntry(pos, Entry{item, nullptr, true}); });
}

void PopupMenu::addSubmenu(IPopupMenu* popup) {
  auto* submenu = dynamic_cast<PopupMenu*>(popup);
  if (submenu == nullptr) return;
  onUi([&] {
    submenu->parent_ = this;
    if (language_ != nullptr) submenu->setLanguage(language_);
    insertEntry(static_cast<std::int32_t>(entries_.size()), Entry{nullptr, submenu, true});
  });
}

void PopupMenu::release(Entry& entry) {
  if (entry.item != nullptr) entry.item->release();
  if (entry.submenu != nullptr) entry.submenu->release();
  entry = Entry{};
}

void PopupMenu::clear() {
  onUi([this] {
    if (native_ != nullptr) native_->clear();
    for (Entry& entry : entries_) release(entry);
    entries_.clear();
  });
}

void PopupMenu::removeAt(std::int32_t pos) {
  onUi([&] {
    if (pos < 0 || static_cast<std::size_t>(pos) >= entries_.size()) return;
    if (native_ != nullptr) native_->remove(pos);
    release(entries_[static_cast<std::size_t>(pos)]);
    entries_.erase(entries_.begin() + pos);
  });
}

std::int32_t PopupMenu::findPos(bool byKey, std::int32_t value) const {
  for (std::size_t pos = 0; pos < entries_.size(); ++pos) {
    const MenuItem* item = entries_[pos].item;
    if (item != nullptr && (byKey ? item->getKey() : item->getCommandId()) == value) {
      return static_cast<std::int32_t>(pos);
    }
  }
  return -1;
}

void PopupMenu::removeById(std::int32_t id) {
  onUi([&] { removeAt(findPos(false, id)); });
}

void PopupMenu::removeByKey(std::int32_t key) {
  onUi([&] { removeAt(findPos(true, key)); });
}

PopupMenu::MenuItem* PopupMenu::findById(std::int32_t id) {
  return onUi([&]() -> MenuItem* {
    const std::int32_t pos = findPos(false, id);
    return pos < 0 ? nullptr : entries_[static_cast<std::size_t>(pos)].item;
  });
}

PopupMenu::MenuItem* PopupMenu::deepFind(std::int32_t id, PopupMenu** owner) {
  for (Entry& entry : entries_) {
    if (entry.item != nullptr && !entry.item->isSeparator() && entry.item->getCommandId() == id) {
      if (owner != nullptr) *owner = this;
      return entry.item;
    }
    if (entry.submenu != nullptr) {
      if (MenuItem* found = entry.submenu->deepFind(id, owner)) return found;
    }
  }
  return nullptr;
}

bool PopupMenu::containsCommand(std::int32_t id) {
  return onUi([&] { return deepFind(id, nullptr) != nullptr; });
}

bool PopupMenu::indexOfId(std::int32_t id, std::int32_t& out) {
  return onUi([&] {
    out = findPos(false, id);
    return out >= 0;
  });
}

bool PopupMenu::indexOfKey(std::int32_t key, std::int32_t& out) {
  return onUi([&] {
    out = findPos(true, key);
    return out >= 0;
  });
}

void PopupMenu::enableSubmenu(IPopupMenu* submenu, bool on) {
  onUi([&] {
    for (std::size_t pos = 0; pos < entries_.size(); ++pos) {
      if (entries_[pos].submenu == submenu) {
        entries_[pos].enabled = on;
        show(static_cast<std::int32_t>(pos));
      }
    }
  });
}

void PopupMenu::enableItem(std::int32_t id, bool on) {
  onUi([&] {
    const std::int32_t pos = findPos(false, id);
    if (pos < 0) return;
    entries_[static_cast<std::size_t>(pos)].enabled = on;
    show(pos);
  });
}

void PopupMenu::setLanguage(s::lang::Localizer* table) {
  onUi([&] {
    if (table == language_) return;
    if (language_ != nullptr) language_->removeListener(this);
    language_ = table;
    if (language_ != nullptr) language_->addListener(this);
    for (Entry& entry : entries_) {
      if (entry.item != nullptr) entry.item->setLanguage(table);
      if (entry.submenu != nullptr) entry.submenu->setLanguage(table);
    }
    refreshTexts();
  });
}

void PopupMenu::onEvent(s::base::IObject* sender, std::int32_t) {
  onUi([&] {
    if (sender != nullptr && sender == static_cast<s::base::IObject*>(language_)) refreshTexts();
  });
}

void PopupMenu::refreshTexts() {
  onUi([this] {
    for (std::size_t pos = 0; pos < entries_.size(); ++pos) {
      if (entries_[pos].submenu != nullptr) entries_[pos].submenu->refreshTexts();
      show(static_cast<std::int32_t>(pos));
    }
  });
}

bool PopupMenu::isChecked(std::int32_t id) {
  return onUi([&] {
    const MenuItem* item = deepFind(id, nullptr);
    return item != nullptr && item->isChecked();
  });
}

void PopupMenu::setChecked(std::int32_t id, bool on) {
  onUi([&] {
    PopupMenu* owner = nullptr;
    MenuItem* item = deepFind(id, &owner);
    if (item == nullptr || item->isChecked() == on) return;
    item->setChecked(on);
    owner->show(owner->findPos(false, id));
  });
}

void PopupMenu::setItemText(std::int32_t id, const std::u16string& text) {
  onUi([&] {
    PopupMenu* owner = nullptr;
    MenuItem* item = deepFind(id, &owner);
    if (item == nullptr) return;
    item->setTextId(-1);
    item->setText(text);
    owner->show(owner->findPos(false, id));
  });
}

void PopupMenu::setItemTextId(std::int32_t id, std::int32_t textId) {
  onUi([&] {
    PopupMenu* owner = nullptr;
    MenuItem* item = deepFind(id, &owner);
    if (item == nullptr) return;
    item->setTextId(textId);
    item->setLanguage(owner->language_);
    owner->show(owner->findPos(false, id));
  });
}

std::u16string PopupMenu::getTitle() {
  return onUi([this] {
    if (titleId_ >= 0 && language_ != nullptr) title_ = language_->text(titleId_);
    return title_;
  });
}

std::int32_t PopupMenu::getItemCount() {
  return onUi([this] {
    return static_cast<std::int32_t>(
        std::count_if(entries_.begin(), entries_.end(),
                      [](const Entry& entry) { return entry.item != nullptr; }));
  });
}

std::int32_t PopupMenu::getEntryCount() {
  return onUi([this] { return static_cast<std::int32_t>(entries_.size()); });
}

void PopupMenu::setTitleId(std::int32_t id) {
  onUi([&] {
    titleId_ = id;
    if (parent_ != nullptr) parent_->refreshTexts();
  });
}

void PopupMenu::setTitle(const std::u16string& text) {
  onUi([&] {
    titleId_ = -1;
    title_ = text;
    if (parent_ != nullptr) parent_->refreshTexts();
  });
}

void PopupMenu::checkRadioRange(std::int32_t checkPos, std::int32_t firstPos,
                                std::int32_t lastPos) {
  onUi([&] {
    for (std::int32_t pos = std::max(0, firstPos);
         pos <= lastPos && static_cast<std::size_t>(pos) < entries_.size(); ++pos) {
      MenuItem* item = entries_[static_cast<std::size_t>(pos)].item;
      if (item == nullptr || item->isSeparator()) continue;
      item->setRadio(pos == checkPos);
      show(pos);
    }
  });
}

void PopupMenu::checkRadioAt(std::int32_t pos) {
  onUi([&] { checkRadioRange(pos, 0, static_cast<std::int32_t>(entries_.size()) - 1); });
}

void PopupMenu::checkRadioById(std::int32_t id) {
  onUi([&] { checkRadioAt(findPos(false, id)); });
}

void PopupMenu::checkRadioByKey(std::int32_t key) {
  onUi([&] { checkRadioAt(findPos(true, key)); });
}

std::int32_t PopupMenu::getLastCommand() {
  return onUi([this] { return lastCommand_; });
}

void PopupMenu::addCommandListener(IEventListener* listener) {
  if (listener != nullptr) onUi([&] { listeners_.push_back(listener); });
}

void PopupMenu::fireCommand(std::int32_t id) {
  onUi([&] {
    lastCommand_ = id;
    const std::vector<IEventListener*> listeners = listeners_;
    for (IEventListener* listener : listeners) listener->onEvent(this, 0);
  });
}

void PopupMenu::showBelow(s::os::gui::NativeWidget& anchor, const s::os::gui::Rect& area) {
  onUi([&] {
    if (s::os::gui::NativeMenu* menu = native()) menu->popupBelow(anchor, area);
  });
}

void PopupMenu::close() {
  onUi([this] {
    if (native_ != nullptr) native_->close();
  });
}

bool PopupMenu::isOpen() {
  return onUi([this] { return native_ != nullptr && native_->isOpen(); });
}

void PopupMenu::onCommand(std::int32_t id) {
  // A submenu's command is the command of the menu it sits in.
  PopupMenu* top = this;
  while (top->parent_ != nullptr) top = top->parent_;
  top->fireCommand(id);
}

void PopupMenu::onClosed() {
  if (host_ != nullptr) host_->popupClosed(this);
}

void PopupMenu::onPointer(std::int32_t screenX, std::int32_t screenY) {
  if (host_ != nullptr) host_->popupPointer(screenX, screenY);
}

}  // namespace s::gui::win
