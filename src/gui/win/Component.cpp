#include "gui/win/Component.h"

#include <algorithm>

#include "gui/IWindow.h"
#include "gui/OnUi.h"
#include "gui/drawer/ISkin.h"
#include "gui/drawer/Skinner.h"
#include "lang/Localizer.h"
#include "os/gui/MemDC.h"
#include "os/gui/Ui.h"

namespace s::gui::win {

using s::os::gui::Rect;

namespace {
constexpr Rgb kButtonFace{240, 240, 240};
}

Component::Component(s::os::gui::WidgetKind kind, s::os::gui::AccessibleRole role)
    : kind_(kind), role_(role) {}

Component::~Component() {
  onUi([this] { detach(); });
}

void Component::resetComponent() {
  onUi([this] {
    detach();
    x_ = y_ = originX_ = originY_ = width_ = height_ = 0;
    preferredWidth_ = preferredHeight_ = maximumWidth_ = maximumHeight_ = 0;
    widthPercent_ = heightPercent_ = fixedWidth_ = fixedHeight_ = -1;
    visible_ = enabled_ = true;
    background_ = kButtonFace;
    transparent_ = deferring_ = geometryPending_ = false;
    themed_ = true;
    look_.reset();
  });
}

void Component::onEvent(s::base::IObject* sender, std::int32_t) {
  onUi([&] {
    if (sender == nullptr) return;
    if (skinner_ != nullptr && sender == static_cast<s::base::IObject*>(skinner_)) {
      takeTheme(skinner_->getCurrentTheme());
      return;
    }
    if (sender != static_cast<s::base::IObject*>(language_)) return;
    retext();
    updateAccessible();
    redraw();
  });
}

// --- attaching ----------------------------------------------------------------------

void Component::setParent(IComponent* parent) {
  onUi([&] {
    if (parent == parent_) return;
    detach();
    if (parent != nullptr) attach(parent);
  });
}

void Component::attach(IComponent* parent) {
  parent_ = parent;
  window_ = parent->getWindow();
  language_ = window_ != nullptr ? window_->getLanguage() : nullptr;
  if (language_ != nullptr) language_->addListener(this);
  joinSkinner();
  s::os::gui::NativeView* host = parent->getNativeView();
  // Without a native parent only the geometry is kept, until the parent is
  // attached itself.
  if (host != nullptr) createNative(*host);
  attached();
}

void Component::joinSkinner() {
  s::gui::drawer::Skinner* skinner = window_ != nullptr ? window_->getSkin() : nullptr;
  if (!themed_ || skinner == nullptr || skinner->getCurrentTheme() == nullptr) return;
  if (!takeTheme(skinner->getCurrentTheme())) return;
  skinner_ = skinner;
  skinner_->addListener(this);
}

// The theme's drawer stays with its skinner, which may go before this
// component does: the component draws with one of its own again.
void Component::leaveSkinner() {
  if (skinner_ == nullptr) return;
  skinner_->removeListener(this);
  skinner_ = nullptr;
  takeTheme(nullptr);
}

void Component::createNative(s::os::gui::NativeView& host) {
  native_ = s::os::gui::ui().createWidget(kind_, host, *this);
  if (native_ == nullptr) {
    s::os::gui::ui().messageBox(nullptr, s::os::gui::BoxKind::kWarning, u"Window Creation Failed!",
                                u"Error!");
    return;
  }
  retext();
  nativeCreated(*native_);
  if (look_) native_->setLook(&*look_);
  updateAccessible();
  native_->setEnabled(enabled_);
  place();
  native_->setVisible(visible_);
}

void Component::detach() {
  if (parent_ != nullptr) detaching();
  if (native_ != nullptr) native_->destroy();
  native_ = nullptr;
  if (language_ != nullptr) language_->removeListener(this);
  language_ = nullptr;
  leaveSkinner();
  parent_ = nullptr;
  window_ = nullptr;
}

IWindow* Component::getWindow() {
  return onUi([this] { return window_; });
}

IComponent* Component::getParent() {
  return onUi([this] { return parent_; });
}

s::os::gui::NativeView* Component::getHostWindow() {
  return onUi([this] { return parent_ != nullptr ? parent_->getNativeView() : nullptr; });
}

s::os::gui::NativeView* Component::getNativeView() {
  return onUi([this]() -> s::os::gui::NativeView* { return native_; });
}

void Component::showLook(const std::optional<s::os::gui::ControlLook>& look) {
  look_ = look;
  if (native_ != nullptr) native_->setLook(look_ ? &*look_ : nullptr);
}

void Component::updateAccessible() {
  if (native_ != nullptr) native_->setAccessible(role_, accessibleText());
}

// --- geometry -------------------------------------------------------------------------

void Component::place() {
  if (native_ == nullptr || deferring_) return;
  if (!visible_) {
    native_->place(Rect{kHiddenPosition, kHiddenPosition, width_, height_});
    return;
  }
  native_->place(Rect{x_ + originX_, y_ + originY_, width_, height_});
}

std::int32_t Component::getX() {
  return onUi([this] { return x_; });
}

std::int32_t Component::getY() {
  return onUi([this] { return y_; });
}

void Component::setX(std::int32_t x) {
  onUi([&] { setPosition(x, y_); });
}

void Component::setY(std::int32_t y) {
  onUi([&] { setPosition(x_, y); });
}

std::int32_t Component::getScreenX() {
  return onUi([this] { return (parent_ != nullptr ? parent_->getScreenX() : 0) + originX_ + x_; });
}

std::int32_t Component::getScreenY() {
  return onUi([this] { return (parent_ != nullptr ? parent_->getScreenY() : 0) + originY_ + y_; });
}

bool Component::containsScreenPoint(std::int32_t sx, std::int32_t sy) {
  return onUi([&] {
    if (!isVisible()) return false;
    const std::int32_t left = getScreenX();
    const std::int32_t top = getScreenY();
    return sx >= left && sy >= top && sx <= left + width_ && sy <= top + height_;
  });
}

std::int32_t Component::getWidth() {
  return onUi([this] { return width_; });
}

std::int32_t Component::getHeight() {
  return onUi([this] { return height_; });
}

void Component::setWidth(std::int32_t w) {
  onUi([&] { setSize(w, height_); });
}

void Component::setHeight(std::int32_t h) {
  onUi([&] { setSize(width_, h); });
}

void Component::setPosition(std::int32_t x, std::int32_t y) {
  onUi([&] { setBounds(x, y, width_, height_); });
}

void Component::setSize(std::int32_t w, std::int32_t h) {
  onUi([&] { setBounds(x_, y_, w, h); });
}

void Component::setBounds(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
  onUi([&] {
    x_ = x;
    y_ = y;
    width_ = std::max(0, w);
    height_ = std::max(0, h);
    if (deferring_) {
      geometryPending_ = true;
      return;
    }
    place();
  });
}

void Component::setOrigin(std::int32_t ox, std::int32_t oy) {
  onUi([&] {
    originX_ = ox;
    originY_ = oy;
    setBounds(x_, y_, width_, height_);
  });
}

void Component::moveOrigin(std::int32_t dx, std::int32_t dy) {
  onUi([&] { setOrigin(originX_ + dx, originY_ + dy); });
}

bool Component::isDeferring() {
  return onUi([this] { return deferring_; });
}

void Component::beginDeferring() {
  onUi([this] { deferring_ = true; });
}

void Component::endDeferring() {
  onUi([this] {
    deferring_ = false;
    if (!geometryPending_) return;
    geometryPending_ = false;
    place();
  });
}

// --- sizes ----------------------------------------------------------------------------

std::int32_t Component::getPreferredWidth() {
  return onUi([this] { return fixedWidth_ >= 0 ? fixedWidth_ : preferredWidth_; });
}

std::int32_t Component::getPreferredHeight() {
  return onUi([this] { return fixedHeight_ >= 0 ? fixedHeight_ : preferredHeight_; });
}

std::int32_t Component::maximumOf(std::int32_t fixed, std::int32_t percent, std::int32_t preferred,
                                  std::int32_t maximum, bool horizontal) {
  if (fixed >= 0) return fixed;
  if (percent < 0) return std::max(preferred, maximum);
  const std::int32_t parentSize = parent_ == nullptr ? 0
                                  : horizontal       ? parent_->getClientWidth()
                                                     : parent_->getClientHeight();
  return parentSize * percent / 100;
}

std::int32_t Component::getMaximumWidth() {
  return onUi([this] {
    return maximumOf(fixedWidth_, widthPercent_, preferredWidth_, maximumWidth_, true);
  });
}

std::int32_t Component::getMaximumHeight() {
  return onUi([this] {
    return maximumOf(fixedHeight_, heightPercent_, preferredHeight_, maximumHeight_, false);
  });
}

void Component::fitTo(std::int32_t w, std::int32_t h) {
  onUi([&] {
    const std::int32_t width = std::max(getPreferredWidth(), std::min(w, getMaximumWidth()));
    const std::int32_t height = std::max(getPreferredHeight(), std::min(h, getMaximumHeight()));
    setSize(width, height);
  });
}

void Component::setPreferredSize(std::int32_t w, std::int32_t h) {
  onUi([&] {
    preferredWidth_ = w;
    preferredHeight_ = h;
  });
}

void Component::setMaximumSize(std::int32_t w, std::int32_t h) {
  onUi([&] {
    maximumWidth_ = w;
    maximumHeight_ = h;
  });
}

void Component::setFixedWidth(std::int32_t w) {
  onUi([&] { fixedWidth_ = w; });
}

void Component::setFixedHeight(std::int32_t h) {
  onUi([&] { fixedHeight_ = h; });
}

void Component::setWidthPercent(std::int32_t percent) {
  onUi([&] { widthPercent_ = percent; });
}

void Component::setHeightPercent(std::int32_t percent) {
  onUi([&] { heightPercent_ = percent; });
}

void Component::centerInParent() {
  onUi([this] {
    centerHorizontally();
    centerVertically();
  });
}

void Component::centerHorizontally() {
  onUi([this] {
    const std::int32_t room = parent_ != nullptr ? parent_->getClientWidth() : 0;
    setPosition(std::max(0, (room - width_) / 2), y_);
  });
}

void Component::centerVertically() {
  onUi([this] {
    const std::int32_t room = parent_ != nullptr ? parent_->getClientHeight() : 0;
    setPosition(x_, std::max(0, (room - height_) / 2));
  });
}

// --- state and colours --------------------------------------------------------------------

bool Component::isVisible() {
  return onUi([this] { return visible_ && native_ != nullptr; });
}

void Component::setVisible(bool visible, bool) {
  onUi([&] {
    visible_ = visible;
    if (native_ == nullptr) return;
    native_->setVisible(visible);
    place();
    if (visible && window_ != nullptr) window_->layoutNow();
  });
}

bool Component::isShown() {
  return onUi([this] { return visible_; });
}

bool Component::isEnabled() {
  return onUi([this] { return enabled_; });
}

void Component::setEnabled(bool enabled) {
  onUi([&] {
    enabled_ = enabled;
    if (native_ == nullptr) return;
    native_->setEnabled(enabled);
    redraw();
  });
}

Rgb Component::getBackgroundColor() {
  return onUi([this] { return background_; });
}

bool Component::isTransparent() {
  return onUi([this] { return transparent_; });
}

void Component::setTransparent(bool redraw) {
  onUi([&] {
    transparent_ = true;
    if (redraw) this->redraw();
  });
}

void Component::setBackgroundDefault(bool redraw) {
  onUi([&] {
    setBackgroundColor(kButtonFace.r, kButtonFace.g, kButtonFace.b, false);
    transparent_ = false;
    if (redraw) this->redraw();
  });
}

void Component::setBackgroundColor(std::uint8_t r, std::uint8_t g, std::uint8_t b, bool redraw) {
  onUi([&] {
    background_ = Rgb{r, g, b};
    transparent_ = false;
    if (redraw) this->redraw();
  });
}

void Component::redrawRect(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
  onUi([&] {
    if (native_ != nullptr && visible_) native_->redraw(Rect{x, y, w, h});
  });
}

void Component::redraw() {
  onUi([this] { redrawRect(0, 0, width_, height_); });
}

Rgb Component::shownBackground() {
  return transparent_ ? backdrop() : background_;
}

Rgb Component::backdrop() {
  // Up through the transparent ancestors to the first that paints a colour
  // (a window always does).
  for (IComponent* above = parent_; above != nullptr; above = above->getParent()) {
    if (!above->isTransparent()) return above->getBackgroundColor();
  }
  return kButtonFace;
}

void Component::onPaint(s::os::gui::MemDC& dc) {
  dc.fillRect(Rect{0, 0, dc.width(), dc.height()}, shownBackground());
  paintContent(dc);
}

}  // namespace s::gui::win
