#include "gui/win/MenuEx.h"

#include <algorithm>
#include <functional>

#include "gui/IWindow.h"
#include "gui/OnUi.h"
#include "gui/Scale.h"
#include "gui/drawer/ISkin.h"
#include "gui/drawer/menu/win/Basic.h"
#include "gui/menuitem/MenuItem.h"
#include "gui/win/Font.h"
#include "lang/Localizer.h"
#include "os/System.h"
#include "os/gui/NativeWidget.h"
#include "os/gui/Ui.h"

namespace s::gui::win {

using s::os::gui::Rect;

namespace {
constexpr std::int32_t kClick = 0;
constexpr std::int32_t kOpening = 1;
}  // namespace

MenuEx::MenuEx() : Component(s::os::gui::WidgetKind::kDrawn, s::os::gui::AccessibleRole::kMenuBar) {
  resetLooks();
}

void MenuEx::resetLooks() {
  for (Font*& font : {std::ref(font_), std::ref(hoverFont_)}) {
    if (font != nullptr) font->release();
    font = Font::create();
  }
  if (drawer_ != nullptr && ownsDrawer_) drawer_->release();
  drawer_ = s::gui::drawer::menu::win::Basic::create();
  ownsDrawer_ = true;
  drawer_->applyToFonts(font_, hoverFont_);
}

MenuEx::~MenuEx() {
  onUi([this] {
    clearEntries();
    font_->release();
    hoverFont_->release();
    if (ownsDrawer_) drawer_->release();
  });
}

MenuEx* MenuEx::make(double widthPercent) {
  MenuEx* bar = create();
  if (widthPercent >= 0) bar->setWidthPercent(static_cast<std::int32_t>(widthPercent));
  bar->setPadding(6, 3);
  return bar;
}

void MenuEx::clearEntries() {
  for (Entry& entry : entries_) {
    if (entry.popup != nullptr) entry.popup->close();
    if (entry.item != nullptr) entry.item->release();
    if (entry.popup != nullptr) entry.popup->release();
  }
  entries_.clear();
}

void MenuEx::reset() {
  resetComponent();
  onUi([this] {
    clearEntries();
    resetLooks();
    padX_ = 6;
    padY_ = 3;
    hovered_ = open_ = switchTo_ = lastCommand_ = -1;
    pressed_ = closedOnce_ = openOnHover_ = lastRight_ = lastLink_ = singleEntry_ = false;
    closedAt_ = 0;
    commandListeners_.clear();
    openListeners_.clear();
  });
}

void MenuEx::onEvent(s::base::IObject* sender, std::int32_t code) {
  onUi([&] {
    for (Entry& entry : entries_) {
      if (entry.popup != nullptr && sender == static_cast<s::base::IObject*>(entry.popup)) {
        fireCommand(entry.popup->getLastCommand());  // chosen in a drop-down
        return;
      }
    }
    Component::onEvent(sender, code);
  });
}

void MenuEx::setFontSize(std::int32_t code) {
  onUi([&] {
    font_->setSizeCode(code);
    hoverFont_->setSizeCode(code);
    measure();
  });
}

void MenuEx::setBold(bool on) {
  onUi([&] {
    font_->setBold(on);
    hoverFont_->setBold(on);
    measure();
  });
}

void MenuEx::setUnderline(bool on) {
  onUi([&] {
    font_->setUnderline(on);
    hoverFont_->setUnderline(on);
    measure();
  });
}

void MenuEx::setPadding(std::int32_t px, std::int32_t py) {
  onUi([&] {
    padX_ = px;
    padY_ = py;
    measure();
  });
}

void MenuEx::addItem(s::gui::menuitem::MenuItem* item) {
  if (item == nullptr) return;
  onUi([&] {
    if (language() != nullptr && item->getTextId() >= 0) item->setLanguage(language());
    entries_.push_back(Entry{item, nullptr, {}, {}});
    measure();
  });
}

void MenuEx::addPopup(IPopupMenu* popup) {
  auto* drop = dynamic_cast<PopupMenu*>(popup);
  if (drop == nullptr) return;
  onUi([&] {
    drop->setHost(this);
    drop->addCommandListener(this);
    if (language() != nullptr) drop->setLanguage(language());
    entries_.push_back(Entry{nullptr, drop, {}, {}});
    measure();
  });
}

void MenuEx::nativeCreated(s::os::gui::NativeWidget&) {
  for (Entry& entry : entries_) {
    if (entry.item != nullptr && entry.item->getTextId() >= 0) entry.item->setLanguage(language());
    if (entry.popup != nullptr) entry.popup->setLanguage(language());
  }
  measure();
}

void MenuEx::retext() {
  for (Entry& entry : entries_) {
    if (entry.popup != nullptr) entry.popup->refreshTexts();
  }
  measure();
}

void MenuEx::refreshTexts() {
  onUi([this] {
    retext();
    redraw();
  });
}

void MenuEx::measure() {
  std::unique_ptr<s::os::gui::MemDC> dc = s::os::gui::ui().createMemDC(1, 1);
  std::vector<std::u16string> texts;
  for (Entry& entry : entries_) {
    entry.text = entry.item != nullptr ? entry.item->getText() : entry.popup->getTitle();
    texts.push_back(entry.text);
  }
  std::vector<Rect> rects;
  std::int32_t preferredWidth = 0, preferredHeight = 0, maximumWidth = 0, maximumHeight = 0;
  drawer_->measureEntries(*dc, texts, rects, font_, preferredWidth, preferredHeight, maximumWidth,
                          maximumHeight, padX_, padY_, singleEntry_);
  for (std::size_t i = 0; i < entries_.size() && i < rects.size(); ++i) entries_[i].rect = rects[i];
  setPreferredSize(preferredWidth, preferredHeight);
  setMaximumSize(maximumWidth, maximumHeight);
  updateAccessible();
  if (native() != nullptr) {
    if (IWindow* window = getWindow()) window->layoutNow();
    redraw();
  }
}

std::u16string MenuEx::accessibleText() {
  std::u16string names;
  for (const Entry& entry : entries_) names += (names.empty() ? u"" : u" ") + entry.text;
  return names;
}

Rect MenuEx::placed(std::size_t i) {
  Rect rect = entries_[i].rect;
  if (lastRight_ && i + 1 == entries_.size()) rect.x = getWidth() - rect.width;
  return rect;
}

Rect MenuEx::entryRect(std::int32_t i) {
  return onUi([&] {
    return i >= 0 && static_cast<std::size_t>(i) < entries_.size()
               ? placed(static_cast<std::size_t>(i))
               : Rect{};
  });
}

PopupMenu* MenuEx::openPopup() {
  return onUi([this]() -> PopupMenu* {
    return open_ >= 0 ? entries_[static_cast<std::size_t>(open_)].popup : nullptr;
  });
}

std::int32_t MenuEx::entryAt(std::int32_t x, std::int32_t y) {
  if (singleEntry_ && !entries_.empty()) return 0;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    const Rect rect = placed(i);
    if (x >= rect.x && x < rect.right() && y >= rect.y && y < rect.bottom())
      return static_cast<std::int32_t>(i);
  }
  return -1;
}

void MenuEx::setHovered(std::int32_t i) {
  if (i == hovered_) return;
  hovered_ = i;
  redraw();
}

void MenuEx::paintContent(s::os::gui::MemDC& dc) {
  std::vector<std::u16string> texts;
  std::vector<Rect> rects;
  for (const Entry& entry : entries_) {
    texts.push_back(entry.text);
    rects.push_back(entry.rect);
  }
  const std::int32_t hot = open_ >= 0 ? open_ : hovered_;
  drawer_->paintEntries(dc, 0, 0, dc.width(), dc.height(), texts, rects, font_, hoverFont_, padX_,
                        padY_, hot, pressed_, singleEntry_, lastRight_, lastLink_);
}

s::gui::drawer::IMenu* MenuEx::getDrawer() {
  return onUi([this] { return drawer_; });
}

bool MenuEx::takeTheme(s::gui::drawer::ISkin* theme) {
  s::gui::drawer::IMenu* lent = theme != nullptr ? theme->getMenuDrawer() : nullptr;
  setDrawer(lent != nullptr ? lent : s::gui::drawer::menu::win::Basic::create(), lent == nullptr);
  return true;
}

void MenuEx::setDrawer(s::gui::drawer::IMenu* drawer, bool owned) {
  if (drawer == nullptr) return;
  onUi([&] {
    if (drawer_ != drawer && ownsDrawer_) drawer_->release();
    drawer_ = drawer;
    ownsDrawer_ = owned;
    drawer_->applyToFonts(font_, hoverFont_);
    measure();
  });
}

void MenuEx::open(std::int32_t i) {
  Entry& entry = entries_[static_cast<std::size_t>(i)];
  if (entry.popup == nullptr || native() == nullptr) return;
  open_ = i;
  hovered_ = i;
  const std::vector<IEventListener*> listeners = openListeners_;
  for (IEventListener* listener : listeners) listener->onEvent(this, kOpening);
  entry.popup->showBelow(*native(), placed(static_cast<std::size_t>(i)));
  redraw();
}

bool MenuEx::onMouseButton(s::os::gui::MouseButton button, bool pressed, bool, std::int32_t x,
                           std::int32_t y) {
  const std::int32_t i = entryAt(x, y);
  if (button != s::os::gui::MouseButton::kLeft || i < 0)
    return false;  // free areas belong to the window
  if (pressed) {
    pressed_ = true;
    if (open_ >= 0) {
      entries_[static_cast<std::size_t>(open_)].popup->close();
    } else if (!closedOnce_ || s::os::system().millis() - closedAt_ >= kReopenGuardMillis) {
      open(i);
    }
    redraw();
    return true;
  }
  const bool wasPressed = pressed_;
  pressed_ = false;
  Entry& entry = entries_[static_cast<std::size_t>(i)];
  if (wasPressed && entry.item != nullptr) {
    fireCommand(entry.item->getCommandId());
    hovered_ = -1;
  }
  redraw();
  return true;
}

void MenuEx::onMouseMove(std::int32_t x, std::int32_t y) {
  const std::int32_t i = entryAt(x, y);
  setHovered(i);
  if (i < 0 || entries_[static_cast<std::size_t>(i)].popup == nullptr) return;
  if (open_ >= 0 && i != open_) {
    switchTo_ = i;
    entries_[static_cast<std::size_t>(open_)].popup->close();
  } else if (open_ < 0 && openOnHover_) {
    open(i);
  }
}

void MenuEx::onHover(bool inside) {
  if (!inside && open_ < 0) setHovered(-1);
}

void MenuEx::popupPointer(std::int32_t screenX, std::int32_t screenY) {
  if (native() == nullptr) return;
  const Rect bar = native()->screenBounds();
  onMouseMove(screenX - bar.x, screenY - bar.y);
}

void MenuEx::popupClosed(PopupMenu*) {
  open_ = -1;
  pressed_ = false;
  if (switchTo_ >= 0) {
    const std::int32_t next = switchTo_;
    switchTo_ = -1;
    open(next);
    return;
  }
  closedAt_ = s::os::system().millis();
  closedOnce_ = true;
  hovered_ = -1;
  redraw();
}

bool MenuEx::containsCommand(std::int32_t id) {
  return onUi([&] {
    return std::any_of(entries_.begin(), entries_.end(), [id](const Entry& entry) {
      return (entry.item != nullptr && entry.item->getCommandId() == id) ||
             (entry.popup != nullptr && entry.popup->containsCommand(id));
    });
  });
}

bool MenuEx::isChecked(std::int32_t id) {
  return onUi([&] {
    return std::any_of(entries_.begin(), entries_.end(), [id](const Entry& entry) {
      return entry.popup != nullptr && entry.popup->isChecked(id);
    });
  });
}

void MenuEx::setChecked(std::int32_t id, bool on) {
  onUi([&] {
    for (Entry& entry : entries_) {
      if (entry.popup != nullptr) entry.popup->setChecked(id, on);
    }
  });
}

std::int32_t MenuEx::getLastCommand() {
  return onUi([this] { return lastCommand_; });
}

void MenuEx::addCommandListener(IEventListener* listener) {
  if (listener != nullptr) onUi([&] { commandListeners_.push_back(listener); });
}

void MenuEx::fireCommand(std::int32_t id) {
  onUi([&] {
    lastCommand_ = id;
    const std::vector<IEventListener*> listeners = commandListeners_;
    for (IEventListener* listener : listeners) listener->onEvent(this, kClick);
  });
}

void MenuEx::addOpenListener(IEventListener* listener) {
  if (listener != nullptr) onUi([&] { openListeners_.push_back(listener); });
}

void MenuEx::setSingleEntry(bool on) {
  onUi([&] {
    singleEntry_ = on;
    if (on) {
      font_->setBold(true);
      hoverFont_->setBold(true);
    }
    measure();
  });
}

void MenuEx::setOpenOnHover(bool on) {
  onUi([&] { openOnHover_ = on; });
}

void MenuEx::setLastEntryRight(bool on) {
  onUi([&] {
    lastRight_ = on;
    redraw();
  });
}

void MenuEx::setLastEntryLink(bool on) {
  onUi([&] {
    lastLink_ = on;
    redraw();
  });
}

}  // namespace s::gui::win
