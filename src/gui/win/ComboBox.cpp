#include "gui/win/ComboBox.h"

#include <algorithm>

#include "gui/IWindow.h"
#include "gui/OnUi.h"
#include "gui/Scale.h"
#include "gui/combobox/ComboBoxItem.h"
#include "gui/drawer/ICombo.h"
#include "gui/drawer/ISkin.h"
#include "lang/Localizer.h"

namespace s::gui::win {

namespace {
constexpr std::int32_t kDefaultWidth = 50;
constexpr std::int32_t kDefaultHeight = 26;
}  // namespace

ComboBox::ComboBox()
    : Component(s::os::gui::WidgetKind::kComboBox, s::os::gui::AccessibleRole::kComboBox),
      FontLooks(1) {
  const std::int32_t scale = Scale::factor();
  setPreferredSize(kDefaultWidth * scale, kDefaultHeight * scale);
  setMaximumSize(kDefaultWidth * scale, kDefaultHeight * scale);
}

ComboBox::~ComboBox() {
  onUi([this] { clearItems(); });
}

void ComboBox::clearItems() {
  for (Item* item : items_) item->release();
  items_.clear();
}

void ComboBox::reset() {
  resetComponent();
  onUi([this] {
    clearItems();
    selected_ = previous_ = -1;
    listeners_.clear();
    resetLooks();
    setDrawer(nullptr, false);
  });
  const std::int32_t scale = Scale::factor();
  setPreferredSize(kDefaultWidth * scale, kDefaultHeight * scale);
  setMaximumSize(kDefaultWidth * scale, kDefaultHeight * scale);
}

std::int32_t ComboBox::indexOf(Item* item) const {
  const auto found = std::find(items_.begin(), items_.end(), item);
  return found == items_.end() ? -1 : static_cast<std::int32_t>(found - items_.begin());
}

ComboBox::Item* ComboBox::at(std::int32_t i) const {
  return i >= 0 && static_cast<std::size_t>(i) < items_.size() ? items_[static_cast<std::size_t>(i)]
                                                               : nullptr;
}

std::int32_t ComboBox::getItemCount() {
  return onUi([this] { return static_cast<std::int32_t>(items_.size()); });
}

ComboBox::Item* ComboBox::getItem(std::int32_t i) {
  return onUi([&] { return at(i); });
}

void ComboBox::addItem(Item* item) {
  onUi([&] { insertItem(static_cast<std::int32_t>(items_.size()), item); });
}

void ComboBox::insertItem(std::int32_t i, Item* item) {
  onUi([&] {
    if (item == nullptr || i < 0 || static_cast<std::size_t>(i) > items_.size()) return;
    if (language() != nullptr && item->getTextId() >= 0)
      item->setTextId(item->getTextId(), language());
    items_.insert(items_.begin() + i, item);
    if (selected_ >= i) ++selected_;
    if (previous_ >= i) ++previous_;
    if (native() != nullptr) native()->insertItem(i, item->getText());
  });
}

ComboBox::Item* ComboBox::removeItemAt(std::int32_t i) {
  return onUi([&]() -> Item* {
    Item* item = at(i);
    if (item == nullptr) return nullptr;
    items_.erase(items_.begin() + i);
    if (native() != nullptr) native()->removeItem(i);
    if (selected_ == i) selected_ = -1;
    if (selected_ > i) --selected_;
    if (previous_ == i) previous_ = -1;
    if (previous_ > i) --previous_;
    return item;
  });
}

void ComboBox::removeItem(Item* item) {
  onUi([&] {
    const std::int32_t i = indexOf(item);
    if (i < 0) return;
    const bool wasSelected = i == selected_;
    removeItemAt(i);
    if (!wasSelected) return;
    selected_ = previous_ = -1;
    notifySelection();
  });
}

void ComboBox::deleteItem(Item* item) {
  onUi([&] {
    if (indexOf(item) < 0) return;
    if (selected_ != 0) select(0, false);
    removeItem(item);
    item->release();
  });
}

void ComboBox::deleteItemAt(std::int32_t i) {
  onUi([&] { deleteItem(at(i)); });
}

void ComboBox::deleteItemByValue(std::int32_t value) {
  onUi([&] {
    const auto found = std::find_if(items_.begin(), items_.end(),
                                    [value](Item* item) { return item->getValue() == value; });
    if (found != items_.end()) deleteItem(*found);
  });
}

void ComboBox::select(std::int32_t i, bool notify) {
  onUi([&] {
    if (i < 0 || static_cast<std::size_t>(i) >= items_.size()) i = 0;
    if (i == selected_) return;
    if (native() != nullptr) native()->selectItem(at(i) != nullptr ? i : -1);
    previous_ = selected_;
    selected_ = i;
    updateAccessible();
    if (notify) notifySelection();
  });
}

void ComboBox::selectByValue(std::int32_t value, bool notify) {
  onUi([&] {
    for (std::size_t i = 0; i < items_.size(); ++i) {
      if (items_[i]->getValue() == value) {
        select(static_cast<std::int32_t>(i), notify);
        return;
      }
    }
  });
}

std::int32_t ComboBox::getSelectedIndex() {
  return onUi([this] { return selected_; });
}

ComboBox::Item* ComboBox::getSelectedItem() {
  return onUi([this] { return at(selected_); });
}

std::int32_t ComboBox::getPreviousIndex() {
  return onUi([this] { return previous_; });
}

ComboBox::Item* ComboBox::getPreviousItem() {
  return onUi([this] { return at(previous_); });
}

void ComboBox::fillParent() {
  setWidthPercent(100);
  setHeightPercent(100);
}

void ComboBox::addSelectionListener(IEventListener* listener) {
  if (listener == nullptr) return;
  onUi([&] { listeners_.push_back(listener); });
}

void ComboBox::notifySelection() {
  const std::vector<IEventListener*> listeners = listeners_;
  for (IEventListener* listener : listeners) listener->onEvent(this, 0);
}

void ComboBox::onActivated(std::int32_t index) {
  // The user's choice in the native list.
  if (index < 0 || index == selected_ || at(index) == nullptr) return;
  previous_ = selected_;
  selected_ = index;
  updateAccessible();
  notifySelection();
}

void ComboBox::retext() {
  if (language() == nullptr) return;
  for (std::size_t i = 0; i < items_.size(); ++i) {
    Item* item = items_[i];
    if (item->getTextId() < 0) continue;
    item->setTextId(item->getTextId(), language());
    showItemText(static_cast<std::int32_t>(i));
  }
}

void ComboBox::setItemText(std::int32_t i, const std::u16string& text) {
  onUi([&] {
    Item* item = at(i);
    if (item == nullptr || item->getText() == text) return;
    item->setText(text);
    showItemText(i);
  });
}

// Puts item `i`'s text into the native control, keeping the selection.
void ComboBox::showItemText(std::int32_t i) {
  if (native() == nullptr) return;
  native()->removeItem(i);
  native()->insertItem(i, items_[static_cast<std::size_t>(i)]->getText());
  native()->selectItem(selected_);
}

std::u16string ComboBox::accessibleText() {
  const Item* item = at(selected_);
  return item != nullptr ? item->getText() : std::u16string();
}

void ComboBox::fontsChanged() {
  if (native() != nullptr) native()->setFont(fontOf());
  const std::int32_t scale = Scale::factor();
  setPreferredSize(kDefaultWidth * scale, kDefaultHeight * scale);
  setMaximumSize(kDefaultWidth * scale, kDefaultHeight * scale);
  if (IWindow* window = getWindow()) window->layoutNow();
}

void ComboBox::nativeCreated(s::os::gui::NativeWidget& native) {
  native.setFont(fontOf());
  for (std::size_t i = 0; i < items_.size(); ++i) {
    native.insertItem(static_cast<std::int32_t>(i), items_[i]->getText());
  }
  if (selected_ < 0 && !items_.empty()) {
    selected_ = 0;  // a list that shows items shows a selection
  }
  native.selectItem(selected_);
}

// --- drawer -----------------------------------------------------------------------

void ComboBox::setDrawer(s::gui::drawer::ICombo* drawer, bool owned) {
  putDrawer(drawer_, drawer, owned, [this] { return lookOf(); });
}

s::gui::drawer::ICombo* ComboBox::getDrawer() {
  return onUi([this] { return drawer_.get(); });
}

bool ComboBox::takeTheme(s::gui::drawer::ISkin* theme) {
  setDrawer(theme != nullptr ? theme->getComboDrawer() : nullptr, false);
  return true;
}

void ComboBox::paintContent(s::os::gui::MemDC& dc) {
  s::gui::drawer::ICombo* drawer = drawer_.get();
  if (drawer == nullptr) return;
  dc.fillRect(s::os::gui::Rect{0, 0, dc.width(), dc.height()}, backdrop());
  const std::u16string text =
      selected_ >= 0 ? items_[static_cast<std::size_t>(selected_)]->getText() : std::u16string();
  IFont* font = makeFont();
  drawer->paintField(dc, 0, 0, dc.width(), dc.height(), text, 0, font);
  font->release();
}

// The field stands on what is behind the list, framed; its text and arrow
// take the drawer's colours.
std::optional<s::os::gui::ControlLook> ComboBox::lookOf() {
  s::gui::drawer::ICombo* drawer = drawer_.get();
  if (drawer == nullptr) return std::nullopt;
  return s::os::gui::ControlLook::flat(backdrop(), drawer->getTextColor(), drawer->getFrameColor(),
                                       drawer->getArrowColor(), drawer->getFrameColor());
}

}  // namespace s::gui::win
