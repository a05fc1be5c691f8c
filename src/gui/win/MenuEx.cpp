#include "gui/win/MenuEx.h"

#include <algorithm>

#include "gui/IWindow.h"
#include "gui/OnUi.h"
#include "gui/Scale.h"
#include "gui/menuitem/MenuItem.h"
#include "lang/Localizer.h"
#include "os/System.h"
#include "os/gui/NativeWidget.h"
#include "os/gui/Ui.h"

namespace s::gui::win {

using s::os::gui::Rect;

namespace {
constexpr Rgb kText{0, 0, 0};
constexpr Rgb kHoverFill{204, 232, 255};
constexpr Rgb kHoverFrame{153, 209, 255};
constexpr Rgb kLink{0, 0, 204};
constexpr std::int32_t kClick = 0;
constexpr std::int32_t kOpening = 1;
}  // namespace

MenuEx::MenuEx() : Component(s::os::gui::WidgetKind::kDrawn, s::os::gui::AccessibleRole::kMenuBar) {
  font_.pixelHeight = 13 * Scale::factor();
}

MenuEx::~MenuEx() {
  onUi([this] { clearEntries(); });
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
    font_ = s::os::gui::FontSpec{};
    font_.pixelHeight = 13 * Scale::factor();
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

void MenuEx::setFontSize(std::int32_t pixels) {
  onUi([&] {
    font_.pixelHeight = pixels;
    measure();
  });
}

void MenuEx::setBold(bool on) {
  onUi([&] {
    font_.bold = on;
    measure();
  });
}

void MenuEx::setUnderline(bool on) {
  onUi([&] {
    font_.underline = on;
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
  std::int32_t x = 0;
  std::int32_t height = 0;
  for (Entry& entry : entries_) {
    entry.text = entry.item != nullptr ? entry.item->getText() : entry.popup->getTitle();
    const s::os::gui::Size size =
        dc->measureText(entry.text, font_, -1, s::os::gui::kTextSingleLine);
    entry.rect = Rect{x, 0, size.width + 2 * padX_, size.height + 2 * padY_};
    x += entry.rect.width;
    height = std::max(height, entry.rect.height);
  }
  for (Entry& entry : entries_) entry.rect.height = height;
  const std::int32_t width = x + (singleEntry_ ? 15 : 0);
  height += singleEntry_ ? 4 : 0;
  setPreferredSize(width, height);
  setMaximumSize(width, height);
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
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    const Rect rect = placed(i);
    const bool hot =
        static_cast<std::int32_t>(i) == hovered_ || static_cast<std::int32_t>(i) == open_;
    if (hot) {
      dc.fillRect(rect, kHoverFill);
      dc.frameRect(rect, kHoverFrame);
    }
    const bool link = lastLink_ && i + 1 == entries_.size();
    s::os::gui::FontSpec font = font_;
    if (link && hot) font.underline = true;
    const std::int32_t shift = pressed_ && hot ? 1 : 0;
    dc.drawText(
        entries_[i].text,
        Rect{rect.x + padX_ + shift, rect.y + padY_ + shift, rect.width - 2 * padX_, rect.height},
        font, link ? kLink : kText, s::os::gui::kTextSingleLine);
  }
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
    if (on) font_.bold = true;
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
