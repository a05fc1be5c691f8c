#include "gui/win/Window.h"

#include "gui/win/Arrange.h"

#include <algorithm>

#include "app/IAppWindow.h"
#include "gui/ILayoutManager.h"
#include "gui/OnUi.h"
#include "gui/Scale.h"
#include "gui/drawer/ISkin.h"
#include "gui/drawer/IWindow.h"
#include "gui/drawer/Skinner.h"
#include "gui/win/FrameZones.h"
#include "gui/win/MessageBoxW.h"
#include "gui/win/Vertical.h"
#include "lang/Localizer.h"
#include "os/System.h"
#include "os/gui/MemDC.h"
#include "os/gui/NativeWindow.h"
#include "os/gui/Ui.h"

namespace s::gui::win {

using s::os::gui::MouseButton;
using s::os::gui::Rect;

namespace {

// The timer that writes the geometry back a moment after the user stopped
// moving or resizing (user timers are numbered from 10000 on).
constexpr std::uint32_t kSaveTimer = 1;
constexpr std::uint32_t kUserTimerBase = 10000;
constexpr std::uint32_t kSaveDelayMillis = 400;
constexpr std::uint32_t kClosePollMillis = 10;
constexpr std::int32_t kScreenTolerance = 10;
constexpr std::int32_t kSmallestOnScreen = 11;
constexpr Rgb kButtonFace{240, 240, 240};

}  // namespace

Window::Window() : manager_(&Vertical::shared()) {
  onUi([this] {
    if (!thread_.begin(this)) return;
    s::os::gui::NativeWindow* native = s::os::gui::ui().createWindow(*this);
    if (native == nullptr) {
      s::os::gui::ui().messageBox(nullptr, s::os::gui::BoxKind::kWarning,
                                  u"Window Creation Failed!", u"Error!");
      return;
    }
    native->setTitle(title_);
    native->resize(width_, height_);
    native_.store(native);
  });
}

Window::~Window() {
  onUi([this] {
    children_.removeAll(false);
    if (language_ != nullptr) language_->removeListener(this);
    if (skin_ != nullptr) skin_->removeListener(this);
    releaseFrameDrawer();
    if (s::os::gui::NativeWindow* native = native_.exchange(nullptr)) native->destroy();
  });
  thread_.stop();
}

void Window::addListener(std::int32_t kind, IEventListener* listener) {
  if (listener == nullptr || kind <= 0 || kind >= kEventKinds) return;
  onUi([&] { listeners_[static_cast<std::size_t>(kind)].push_back(listener); });
}

void Window::fire(std::int32_t kind) {
  // A listener may register further listeners: call those that were there.
  const std::vector<IEventListener*> listeners = listeners_[static_cast<std::size_t>(kind)];
  for (IEventListener* listener : listeners) listener->onEvent(this, kind);
}

void Window::onEvent(s::base::IObject* sender, std::int32_t) {
  onUi([&] {
    if (sender == nullptr) return;
    if (skin_ != nullptr && sender == static_cast<s::base::IObject*>(skin_)) {
      takeTheme();
      return;
    }
    if (sender != static_cast<s::base::IObject*>(language_)) return;
    applyTitle();
    fire(kLanguageChanged);
  });
}

// --- geometry ---------------------------------------------------------------

std::int32_t Window::getX() {
  return onUi([this] { return x_; });
}

std::int32_t Window::getY() {
  return onUi([this] { return y_; });
}

void Window::setX(std::int32_t x) {
  onUi([&] { setPosition(x, y_); });
}

void Window::setY(std::int32_t y) {
  onUi([&] { setPosition(x_, y); });
}

std::int32_t Window::getScreenX() {
  return getX();
}

std::int32_t Window::getScreenY() {
  return getY();
}

bool Window::containsScreenPoint(std::int32_t sx, std::int32_t sy) {
  return onUi([&] {
    return visible_ && native_.load() != nullptr && sx >= x_ && sy >= y_ && sx <= x_ + width_ &&
           sy <= y_ + height_;
  });
}

std::int32_t Window::getWidth() {
  return onUi([this] { return width_; });
}

std::int32_t Window::getHeight() {
  return onUi([this] { return height_; });
}

void Window::setWidth(std::int32_t w) {
  onUi([&] { setSize(w, height_); });
}

void Window::setHeight(std::int32_t h) {
  onUi([&] { setSize(width_, h); });
}

std::int32_t Window::getClientWidth() {
  return onUi([this] {
    s::os::gui::NativeWindow* native = native_.load();
    return native != nullptr ? native->clientSize().width : width_;
  });
}

std::int32_t Window::getClientHeight() {
  return onUi([this] {
    s::os::gui::NativeWindow* native = native_.load();
    return native != nullptr ? native->clientSize().height : height_;
  });
}

void Window::setClientWidth(std::int32_t w) {
  onUi([&] { setSize(width_ - getClientWidth() + w, height_); });
}

void Window::setClientHeight(std::int32_t h) {
  onUi([&] { setSize(width_, height_ - getClientHeight() + h); });
}

void Window::setPosition(std::int32_t x, std::int32_t y) {
  onUi([&] {
    x_ = x;
    y_ = y;
    if (s::os::gui::NativeWindow* native = native_.load()) native->move(x, y);
  });
}

void Window::setSize(std::int32_t w, std::int32_t h) {
  onUi([&] {
    width_ = std::max(1, w);
    height_ = std::max(1, h);
    if (s::os::gui::NativeWindow* native = native_.load()) native->resize(width_, height_);
    // The platform's report of the new size finds it stored already: the
    // drawn frame's shape follows here.
    if (frameDrawer_ != nullptr) applyShape();
    layout();
  });
}

void Window::setBounds(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
  onUi([&] {
    setPosition(x, y);
    setSize(w, h);
  });
}

// The larger of the size set and what the children took in the last pass of
// the built-in column.
std::int32_t Window::getPreferredWidth() {
  return onUi([this] { return std::max(preferredWidth_, content_.width); });
}

std::int32_t Window::getPreferredHeight() {
  return onUi([this] { return std::max(preferredHeight_, content_.height); });
}

void Window::setPreferredWidth(std::int32_t w) {
  onUi([&] { preferredWidth_ = w; });
}

void Window::setPreferredHeight(std::int32_t h) {
  onUi([&] { preferredHeight_ = h; });
}

std::int32_t Window::getMaximumWidth() {
  return onUi([this] { return std::max(preferredWidth_, screenArea(true).width); });
}

std::int32_t Window::getMaximumHeight() {
  return onUi([this] { return std::max(preferredHeight_, screenArea(true).height); });
}

void Window::fitTo(std::int32_t w, std::int32_t h) {
  onUi([&] {
    const std::int32_t width = std::max(getPreferredWidth(), std::min(w, getMaximumWidth()));
    const std::int32_t height = std::max(getPreferredHeight(), std::min(h, getMaximumHeight()));
    setSize(width, height);
  });
}

void Window::ensureMinimumSize() {
  onUi([this] {
    setSize(std::max(width_, getPreferredWidth()), std::max(height_, getPreferredHeight()));
  });
}

void Window::fitHeight() {
  onUi([this] { setSize(width_, getPreferredHeight()); });
}

void Window::fitToPreferred() {
  onUi([this] { setSize(getPreferredWidth(), getPreferredHeight()); });
}

void Window::fitToMaximum() {
  onUi([this] { setSize(getMaximumWidth(), getMaximumHeight()); });
}

Rect Window::screenArea(bool virtualScreen) {
  Rect area = virtualScreen ? s::os::gui::ui().virtualScreen() : s::os::gui::ui().workArea();
  if (area.width <= 0 || area.height <= 0) area = s::os::gui::ui().primaryScreen();
  return area;
}

void Window::centerOn(bool horizontally, bool vertically) {
  const Rect area = screenArea(false);
  std::int32_t x = x_;
  std::int32_t y = y_;
  if (horizontally) x = area.x + std::max(0, (area.width - width_) / 2);
  if (vertically) y = area.y + std::max(0, (area.height - height_) / 2);
  setPosition(x, y);
}

void Window::centerInParent() {
  onUi([this] { centerOn(true, true); });
}

void Window::centerHorizontally() {
  onUi([this] { centerOn(true, false); });
}

void Window::centerVertically() {
  onUi([this] { centerOn(false, true); });
}

bool Window::isOnScreen() {
  return onUi([this] {
    if (width_ < kSmallestOnScreen || height_ < kSmallestOnScreen) return false;
    const Rect screen = screenArea(true);
    if (screen.width <= 0) return true;  // nothing to compare with
    return x_ >= screen.x - kScreenTolerance && y_ >= screen.y - kScreenTolerance &&
           x_ + width_ <= screen.right() + kScreenTolerance &&
           y_ + height_ <= screen.bottom() + kScreenTolerance;
  });
}

void Window::keepInsideScreen() {
  onUi([this] {
    if (maximized_) return;
    const Rect screen = screenArea(true);
    if (screen.width <= 0) return;
    std::int32_t x = std::min(x_, screen.right() - width_);
    std::int32_t y = std::min(y_, screen.bottom() - height_);
    x = std::max(x, screen.x);
    y = std::max(y, screen.y);
    if (x != x_ || y != y_) setPosition(x, y);
  });
}

void Window::setOnScreenCheck(bool on) {
  onUi([&] { onScreenCheck_ = on; });
}

void Window::setKeepInsideScreen(bool on) {
  onUi([&] { keepInside_ = on; });
}

// --- colours and painting ------------------------------------------------------

// With a drawn frame the drawer's background is what children stand on.
Rgb Window::getBackgroundColor() {
  return onUi(
      [this] { return frameDrawer_ != nullptr ? frameDrawer_->getBackground() : background_; });
}

void Window::setBackgroundDefault(bool redraw) {
  setBackgroundColor(kButtonFace.r, kButtonFace.g, kButtonFace.b, redraw);
}

void Window::setBackgroundPale(bool redraw) {
  // The inactive caption text colour of the classic scheme is black.
  setBackgroundColor(128, 128, 128, redraw);
}

void Window::setBackgroundColor(std::uint8_t r, std::uint8_t g, std::uint8_t b, bool redraw) {
  onUi([&] {
    background_ = Rgb{r, g, b};
    if (redraw) this->redraw();
  });
}

void Window::redrawRect(std::int32_t, std::int32_t, std::int32_t, std::int32_t) {
  redraw();
}

void Window::redraw() {
  onUi([this] {
    s::os::gui::NativeWindow* native = native_.load();
    if (native != nullptr && visible_) native->redraw();
  });
}

void Window::onPaintBackground(s::os::gui::MemDC& dc) {
  dc.fillRect(Rect{0, 0, dc.width(), dc.height()}, background_);
  if (frameDrawer_ != nullptr) frameDrawer_->paint(dc, 0, 0, dc.width(), dc.height());
}

// --- children -------------------------------------------------------------------

void Window::add(IComponent* child) {
  if (child == nullptr) return;
  onUi([&] {
    children_.add(child);
    layout();
  });
}

void Window::remove(IComponent* child, bool release) {
  onUi([&] {
    if (children_.remove(child, release)) layout();
  });
}

void Window::removeAll(bool release) {
  onUi([&] {
    children_.removeAll(release);
    layout();
  });
}

std::int32_t Window::getChildCount() {
  return onUi([this] { return children_.count(); });
}

IComponent* Window::getChild(std::int32_t i) {
  return onUi([&] { return children_.at(i); });
}

std::vector<IComponent*> Window::getChildren() {
  return onUi([this] { return children_.all(); });
}

s::os::gui::NativeView* Window::getNativeView() {
  return native_.load();
}

void Window::layout() {
  onUi([this] {
    if (manager_ == &Vertical::shared()) {
      content_ = Arrange::column(*this, Arrange::Settings{});
    } else {
      manager_->layout(this);
    }
  });
}

ILayoutManager* Window::getLayoutManager() {
  return onUi([this] { return manager_; });
}

void Window::setLayoutManager(ILayoutManager* manager) {
  onUi([&] { manager_ = manager != nullptr ? manager : &Vertical::shared(); });
}

// --- showing, closing -------------------------------------------------------------

bool Window::isVisible() {
  return onUi([this] { return visible_ && native_.load() != nullptr; });
}

void Window::show(bool visible, bool activate) {
  onUi([&] {
    s::os::gui::NativeWindow* native = native_.load();
    if (visible) {
      if (visible_) return;
      if (record_ != nullptr && !maximized_) {
        if (record_->getMaximized()) {
          if (native != nullptr) native->maximize();
        } else if (!keepInside_ && onScreenCheck_) {
          if (!record_->hasPosition()) centerOn(true, true);
          if (!isOnScreen()) centerOn(true, true);
        }
      }
      if (native != nullptr) {
        native->setVisible(true, activate);
        if (activate) bringToFront(true);
      }
      visible_ = true;
      layout();
    } else {
      if (!visible_) return;
      saveWindowState();
      if (native != nullptr) native->setVisible(false, false);
      visible_ = false;
    }
  });
}

void Window::close() {
  // Like a posted close request: the caller does not wait for the
  // listeners (without an interface thread they run here).
  if (s::os::gui::ui().onUiThread() || !s::os::gui::ui().post([this] { closeRequested(); })) {
    closeRequested();
  }
}

void Window::onCloseRequest() {
  closeRequested();
}

void Window::closeRequested() {
  if (closed_.load()) return;
  veto_ = false;
  fire(kClose);
  if (veto_) {
    veto_ = false;
    return;
  }
  show(false, true);
  closed_.store(true);
  veto_ = false;
}

void Window::cancelClose() {
  onUi([this] { veto_ = true; });
}

void Window::waitUntilClosed() {
  while (!closed_.load()) s::os::system().sleepMillis(kClosePollMillis);
}

void Window::bringToFront(bool force) {
  onUi([&] {
    s::os::gui::NativeWindow* native = native_.load();
    if (native == nullptr) return;
    native->raise();
    if (force && !keepOnTop_) {
      native->setKeepAbove(true);
      native->setKeepAbove(false);
    }
  });
}

void Window::activate() {
  onUi([this] {
    s::os::gui::NativeWindow* native = native_.load();
    if (native == nullptr || closed_.load()) return;
    if (minimized_) native->restore();
    if (!visible_) show(true, true);
    bringToFront(true);
  });
}

void Window::instanceMessage() {
  onUi([this] { fire(kInstanceMessage); });
}

bool Window::isMinimized() {
  return onUi([this] { return minimized_; });
}

bool Window::isMaximized() {
  return onUi([this] { return maximized_; });
}

void Window::minimize() {
  onUi([this] {
    if (s::os::gui::NativeWindow* native = native_.load()) native->minimize();
  });
}

void Window::maximize() {
  onUi([this] {
    if (s::os::gui::NativeWindow* native = native_.load()) native->maximize();
  });
}

void Window::restore() {
  onUi([this] {
    if (s::os::gui::NativeWindow* native = native_.load()) native->restore();
  });
}

void Window::showNormal() {
  onUi([this] {
    restore();
    show(true, true);
  });
}

void Window::setEasyDrag(bool on) {
  onUi([&] {
    easyDrag_ = on;
    if (record_ != nullptr && record_->getEasyDrag() != on) record_->setEasyDrag(on);
  });
}

bool Window::isResizable() {
  return onUi([this] { return resizable_; });
}

void Window::setResizable(bool on) {
  onUi([&] {
    resizable_ = on;
    if (s::os::gui::NativeWindow* native = native_.load()) native->setResizable(on);
  });
}

void Window::setAlwaysOnTop(bool on) {
  onUi([&] {
    keepOnTop_ = on;
    if (s::os::gui::NativeWindow* native = native_.load()) native->setKeepAbove(on);
    if (record_ != nullptr && record_->getKeepOnTop() != on) record_->setKeepOnTop(on);
  });
}

void Window::setModalFor(IWindow* owner) {
  onUi([&] {
    if (s::os::gui::NativeWindow* native = native_.load()) {
      native->setModalFor(owner != nullptr ? owner->getNativeView() : nullptr);
    }
  });
}

bool Window::isAlwaysOnTop() {
  return onUi([this] { return keepOnTop_; });
}

void Window::setMiddleClickAction(const std::u16string& action) {
  onUi([&] {
    middleClick_ = action;
    if (record_ != nullptr && record_->getMiddleClick() != action) record_->setMiddleClick(action);
  });
}

// --- title, icons, language ---------------------------------------------------------

std::u16string Window::getTitle() {
  return onUi([this] { return title_; });
}

void Window::setTitle(const std::u16string& title) {
  onUi([&] {
    title_ = title;
    if (s::os::gui::NativeWindow* native = native_.load()) native->setTitle(title_);
  });
}

void Window::setTitleId(std::int32_t id, std::int32_t suffixId) {
  onUi([&] {
    titleId_ = id;
    suffixId_ = suffixId;
    applyTitle();
  });
}

void Window::applyTitle() {
  if (titleId_ < 0 || language_ == nullptr) return;
  std::u16string title = language_->text(titleId_);
  if (suffixId_ != -1) title += u" v" + std::u16string(language_->text(suffixId_));
  setTitle(title);
}

void Window::setSmallIcon(std::span<const unsigned char> png) {
  onUi([&] {
    smallIcon_ = png;
    applyIcons();
  });
}

void Window::setBigIcon(std::span<const unsigned char> png) {
  onUi([&] {
    bigIcon_ = png;
    applyIcons();
  });
}

void Window::applyIcons() {
  s::os::gui::NativeWindow* native = native_.load();
  if (native == nullptr) return;
  std::vector<std::span<const unsigned char>> icons;
  if (!smallIcon_.empty()) icons.push_back(smallIcon_);
  if (!bigIcon_.empty()) icons.push_back(bigIcon_);
  native->setIcons(icons);
}

bool Window::hasLanguage() {
  return onUi([this] { return language_ != nullptr; });
}

s::lang::Localizer* Window::getLanguage() {
  return onUi([this] { return language_; });
}

void Window::setLanguage(s::lang::Localizer* table) {
  onUi([&] {
    if (table == language_) return;
    if (language_ != nullptr) language_->removeListener(this);
    language_ = table;
    if (language_ != nullptr) language_->addListener(this);
    applyTitle();
  });
}

// --- skin and frame ---------------------------------------------------------------

bool Window::hasSkin() {
  return onUi([this] { return skin_ != nullptr; });
}

s::gui::drawer::Skinner* Window::getSkin() {
  return onUi([this] { return skin_; });
}

void Window::setSkin(s::gui::drawer::Skinner* skinner) {
  onUi([&] {
    if (skinner == skin_) return;
    if (skin_ != nullptr) skin_->removeListener(this);
    skin_ = skinner;
    if (skin_ == nullptr) return;
    if (s::gui::drawer::ISkin* theme = skin_->getCurrentTheme())
      setFrameDrawer(theme->getWindowDrawer(), false);
    skin_->addListener(this);
  });
}

// The current theme's frame; the record remembers the theme's name.
void Window::takeTheme() {
  s::gui::drawer::ISkin* theme = skin_->getCurrentTheme();
  if (theme == nullptr) return;
  setFrameDrawer(theme->getWindowDrawer(), false);
  if (record_ != nullptr) record_->setSkin(theme->getName());
}

void Window::releaseFrameDrawer() {
  if (ownsFrameDrawer_ && frameDrawer_ != nullptr) frameDrawer_->release();
  frameDrawer_ = nullptr;
  ownsFrameDrawer_ = false;
}

void Window::setFrameDrawer(s::gui::drawer::IWindow* drawer, bool owned) {
  onUi([&] {
    if (drawer != frameDrawer_) releaseFrameDrawer();
    frameDrawer_ = drawer;
    ownsFrameDrawer_ = owned && drawer != nullptr;
    s::os::gui::NativeWindow* native = native_.load();
    if (native == nullptr) return;
    native->setFrameless(frameDrawer_ != nullptr);
    applyShape();
    native->redraw();
  });
}

s::gui::drawer::IWindow* Window::getFrameDrawer() {
  return onUi([this] { return frameDrawer_; });
}

void Window::applyShape() {
  s::os::gui::NativeWindow* native = native_.load();
  if (native == nullptr) return;
  native->setShape(frameDrawer_ != nullptr ? frameDrawer_->makeRegion(0, 0, width_, height_)
                                           : s::os::gui::Region{});
}

bool Window::resizeFromFrame(std::int32_t x, std::int32_t y) {
  s::os::gui::NativeWindow* native = native_.load();
  if (frameDrawer_ == nullptr || !resizable_ || native == nullptr) return false;
  const FrameZones::Zone zone = FrameZones::hitTest(width_, height_, x, y, Scale::factor());
  if (!FrameZones::isResizeZone(zone)) return false;
  native->beginEdgeDrag(FrameZones::edgeFor(zone));
  return true;
}

// --- events from workers --------------------------------------------------------------

std::int32_t Window::sendEvent(const char16_t* name, std::int32_t a1, std::int32_t a2,
                               std::int32_t a3) {
  if (native_.load() == nullptr) return 0;
  return onUi([&] {
    event_ = UserEvent{name, a1, a2, a3, 0};
    fire(kUserEvent);
    return event_.reply;
  });
}

void Window::postEvent(const char16_t* name, std::int32_t a1, std::int32_t a2, std::int32_t a3) {
  if (native_.load() == nullptr) return;
  s::os::gui::ui().post([this, name, a1, a2, a3] {
    event_ = UserEvent{name, a1, a2, a3, 0};
    fire(kUserEvent);
  });
}

// --- message boxes ------------------------------------------------------------------

namespace {

template <class Show>
auto withBox(s::os::gui::NativeView* owner, Show&& show) {
  MessageBoxW* box = MessageBoxW::create();
  box->setOwner(owner);
  auto answer = show(*box);
  box->release();
  return answer;
}

}  // namespace

void Window::infoBox(const std::u16string& text) {
  onUi([&] { withBox(native_.load(), [&](MessageBoxW& box) { return box.info(text); }); });
}

void Window::errorBox(const std::u16string& text) {
  onUi([&] { withBox(native_.load(), [&](MessageBoxW& box) { return box.error(text); }); });
}

bool Window::askBox(const std::u16string& text) {
  return onUi(
      [&] { return withBox(native_.load(), [&](MessageBoxW& box) { return box.ask(text); }); });
}

// --- the window-state record ----------------------------------------------------------

void Window::bindWindowState(s::app::IAppWindow* record, bool withVersion) {
  if (record == nullptr) return;
  onUi([&] {
    record_ = record;
    const std::int32_t scale = record->getScale();
    smallIcon_ = record->iconPng(16 * scale);
    bigIcon_ = record->iconPng(32 * scale);
    applyIcons();
    setLanguage(record->getLanguageTable());
    const std::int32_t titleEntry = record->getEntryBase();
    setTitleId(titleEntry, withVersion ? titleEntry + 10 : -1);
    if (s::gui::drawer::Skinner* skinner = record->getSkinner()) setSkin(skinner);
    setEasyDrag(record->getEasyDrag());
    setAlwaysOnTop(record->getKeepOnTop());
    setMiddleClickAction(record->getMiddleClick());
    if (record->hasPosition() && record->isWidthUsable() && record->isHeightUsable()) {
      setBounds(record->getX(), record->getY(), record->getWidth(), record->getHeight());
      if (!isOnScreen()) centerOn(true, true);
    } else {
      setSize(record->getWidth(), record->getHeight());
    }
  });
}

void Window::saveWindowState() {
  onUi([this] {
    if (record_ == nullptr || minimized_) return;
    if (record_->getMaximized() != maximized_) record_->setMaximized(maximized_);
    if (maximized_) return;
    if (!record_->hasPosition() || record_->getX() != x_ || record_->getY() != y_ ||
        record_->getWidth() != width_ || record_->getHeight() != height_) {
      record_->setPositionAndSize(x_, y_, width_, height_);
    }
  });
}

void Window::scheduleSave() {
  if (record_ == nullptr) return;
  if (s::os::gui::NativeWindow* native = native_.load())
    native->startTimer(kSaveTimer, kSaveDelayMillis);
}

void Window::resizeFromGrip() {
  onUi([this] {
    s::os::gui::NativeWindow* native = native_.load();
    if (native != nullptr && resizable_ && !maximized_) native->beginResizeDrag();
  });
}

void Window::captureMouse(bool capture) {
  onUi([&] {
    if (s::os::gui::NativeWindow* native = native_.load()) native->capturePointer(capture);
  });
}

// --- timers ---------------------------------------------------------------------------

void Window::startTimer(std::uint32_t id, std::uint32_t ms) {
  onUi([&] {
    if (s::os::gui::NativeWindow* native = native_.load())
      native->startTimer(id + kUserTimerBase, ms);
  });
}

void Window::stopTimer(std::uint32_t id) {
  onUi([&] {
    if (s::os::gui::NativeWindow* native = native_.load()) native->stopTimer(id + kUserTimerBase);
  });
}

// --- what the native window reports (interface thread) -----------------------------------

void Window::onGeometry(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) {
  const bool resized = width != width_ || height != height_;
  x_ = x;
  y_ = y;
  width_ = width;
  height_ = height;
  fire(kMoving);
  if (keepInside_) keepInsideScreen();
  if (resized) {
    if (frameDrawer_ != nullptr) applyShape();
    fire(kSizing);
    layout();
  }
  if (visible_) scheduleSave();
}

void Window::onStateChange(bool minimized, bool maximized) {
  const bool restored = minimized_ && !minimized;
  minimized_ = minimized;
  maximized_ = maximized;
  if (restored) fire(kRestore);
  if (visible_ && !minimized) saveWindowState();
}

void Window::onActivation(bool active) {
  fire(active ? kActivate : kDeactivate);
}

void Window::onMouseButton(MouseButton button, bool pressed, bool doubleClick, bool rightHeld,
                           std::int32_t x, std::int32_t y) {
  if (button == MouseButton::kMiddle) {
    if (!pressed) return;
    fire(kMiddleButton);
    if (middleClick_ == u"Close") close();
    if (middleClick_ == u"Iconize") minimize();
    return;
  }
  if (button == MouseButton::kRight) {
    if (pressed) {
      fire(kRightButtonDown);
      fire(kRightButtonDown2);
    } else {
      fire(kRightButtonUp);
    }
    return;
  }
  if (!pressed) {
    fire(kLeftButtonUp);
    return;
  }
  if (doubleClick) {
    fire(kDoubleClick);
    return;
  }
  if (resizeFromFrame(x, y)) return;
  fire(kLeftButtonDown);
  s::os::gui::NativeWindow* native = native_.load();
  if (easyDrag_ && !rightHeld && native != nullptr) native->beginDrag();
}

void Window::onMouseMove(std::int32_t x, std::int32_t y) {
  s::os::gui::NativeWindow* native = native_.load();
  if (frameDrawer_ != nullptr && resizable_ && native != nullptr) {
    const FrameZones::Zone zone = FrameZones::hitTest(width_, height_, x, y, Scale::factor());
    native->setCursor(FrameZones::cursorFor(zone));
  }
  fire(kMouseMove);
}

void Window::onWheel(std::int32_t) {
  fire(kWheel);
}

bool Window::onKey(std::uint32_t key) {
  lastKey_.store(key);
  fire(kKeyDown);
  return key == 13;
}

void Window::onTimer(std::uint32_t id) {
  if (id == kSaveTimer) {
    if (s::os::gui::NativeWindow* native = native_.load()) native->stopTimer(kSaveTimer);
    saveWindowState();
    return;
  }
  lastTimer_ = id - kUserTimerBase;
  fire(kTimer);
}

}  // namespace s::gui::win
