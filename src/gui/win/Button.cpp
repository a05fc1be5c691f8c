#include "gui/win/Button.h"

#include "gui/drawer/button/win/FaceSymbol.h"

#include <cstdio>

#include "gui/IWindow.h"
#include "gui/OnUi.h"
#include "gui/Scale.h"
#include "gui/drawer/IButton.h"
#include "gui/drawer/ISkin.h"
#include "gui/win/FontSetting.h"
#include "lang/Localizer.h"

namespace s::gui::win {

using s::os::gui::Rect;

namespace {

constexpr std::int32_t kClick = 1;
constexpr std::int32_t kAfterClick = 2;
constexpr std::int32_t kPress = 3;
constexpr std::int32_t kRelease = 4;
constexpr std::uint32_t kRepeatDelayMillis = 500;
constexpr std::uint32_t kRepeatTickMillis = 100;
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kSymbolColour{51, 51, 51};

}  // namespace

Button::Button()
    : Component(s::os::gui::WidgetKind::kPushButton, s::os::gui::AccessibleRole::kPushButton),
      FontLooks(3) {}  // normal, disabled, pushed

Button::~Button() {
  onUi([this] { drawer_.clear(); });
}

void Button::reset() {
  resetComponent();
  onUi([this] {
    setNativeKind(s::os::gui::WidgetKind::kPushButton, s::os::gui::AccessibleRole::kPushButton);
    text_.clear();
    textId_ = -1;
    resetLooks();
    interactive_ = canRelease_ = drawFlag_ = true;
    autoRepeat_ = toggle_ = inverted_ = drawFlag2_ = pushed_ = isDefault_ = held_ = false;
    mouseState_ = 0;
    clickListeners_.clear();
    afterClickListeners_.clear();
    pressListeners_.clear();
    setDrawer(nullptr, false);
  });
}

void Button::setText(const std::u16string& text) {
  onUi([&] {
    text_ = text;
    // The grip is drawn by the button itself; the kind counts at the next
    // attach, which is where a grip is configured.
    if (isGrip()) {
      setNativeKind(s::os::gui::WidgetKind::kDrawn, s::os::gui::AccessibleRole::kFiller);
    } else if (isDrawn()) {
      setNativeKind(s::os::gui::WidgetKind::kDrawn, s::os::gui::AccessibleRole::kPushButton);
    } else if (native() != nullptr) {
      native()->setText(text_);
    }
    updateAccessible();
    measure();
  });
}

void Button::setTextId(std::int32_t id) {
  onUi([&] {
    textId_ = id;
    if (language() != nullptr) setText(language()->text(id));
  });
}

std::int32_t Button::getTextId() {
  return onUi([this] { return textId_; });
}

std::u16string Button::getText() {
  return onUi([this] { return text_; });
}

void Button::retext() {
  if (textId_ < 0 || language() == nullptr) return;
  text_ = language()->text(textId_);
  if (native() != nullptr && !isDrawn()) native()->setText(text_);
  measure();
}

std::u16string Button::accessibleText() {
  return isGrip() ? std::u16string() : text_;
}

void Button::fontsChanged() {
  if (native() != nullptr && !isDrawn()) native()->setFont(fontOf());
  measure();
}

void Button::measure() {
  if (native() == nullptr || isDrawn()) return;
  const s::os::gui::Size ideal = native()->idealSize();
  setPreferredSize(ideal.width, ideal.height);
  setMaximumSize(ideal.width, ideal.height);
  if (IWindow* window = getWindow()) window->layoutNow();
}

void Button::nativeCreated(s::os::gui::NativeWidget& native) {
  if (textId_ >= 0 && language() != nullptr) text_ = language()->text(textId_);
  if (!isDrawn()) {
    native.setFont(fontOf());
    native.setText(text_);
  }
  if (!interactive_) native.setEnabled(false);
  measure();
}

void Button::addClickListener(IEventListener* listener) {
  if (listener != nullptr) onUi([&] { clickListeners_.push_back(listener); });
}

void Button::addAfterClickListener(IEventListener* listener) {
  if (listener != nullptr) onUi([&] { afterClickListeners_.push_back(listener); });
}

void Button::addPressListener(IEventListener* listener) {
  if (listener != nullptr) onUi([&] { pressListeners_.push_back(listener); });
}

void Button::fire(const std::vector<IEventListener*>& listeners, std::int32_t code) {
  const std::vector<IEventListener*> called = listeners;
  for (IEventListener* listener : called) listener->onEvent(this, code);
}

void Button::click() {
  onUi([this] {
    fire(clickListeners_, kClick);
    if (toggle_ && interactive_ && (!pushed_ || canRelease_)) {
      pushed_ = !pushed_;
      redraw();
    }
    fire(afterClickListeners_, kAfterClick);
  });
}

void Button::press() {
  mouseState_ = 2;
  held_ = true;
  fire(pressListeners_, kPress);
  if (autoRepeat_ && native() != nullptr) native()->startTimer(kRepeatDelay, kRepeatDelayMillis);
}

void Button::stopRepeat() {
  held_ = false;
  if (native() == nullptr) return;
  native()->stopTimer(kRepeatDelay);
  native()->stopTimer(kRepeatTick);
}

void Button::onActivated(std::int32_t code) {
  if (code == kClick) click();
  if (code == kPress) press();
  if (code == kRelease) {
    mouseState_ = 1;
    stopRepeat();
  }
}

void Button::onTimer(std::uint32_t id) {
  if (native() == nullptr) return;
  if (id == kRepeatDelay) {
    native()->stopTimer(kRepeatDelay);
    native()->startTimer(kRepeatTick, kRepeatTickMillis);
    return;
  }
  if (id == kRepeatTick && held_ && mouseState_ == 2 && !pressListeners_.empty())
    fire(pressListeners_, kPress);
}

void Button::onHover(bool inside) {
  if (mouseState_ != 2) mouseState_ = inside ? 1 : 0;
  if (isGrip() && native() != nullptr) {
    native()->setCursor(inside ? s::os::gui::Cursor::kSizeNWSE : s::os::gui::Cursor::kArrow);
  }
}

bool Button::onMouseButton(s::os::gui::MouseButton button, bool pressed, bool, std::int32_t,
                           std::int32_t) {
  // Only drawn buttons get the mouse here. A symbol is clicked by a left
  // release; the grip's left press drags the window's bottom-right corner.
  if (!isDrawn() || button != s::os::gui::MouseButton::kLeft) return false;
  if (!isGrip()) {
    if (!pressed && interactive_) click();
    return true;
  }
  if (pressed) {
    if (IWindow* window = getWindow()) window->resizeFromGrip();
  }
  return true;
}

void Button::paintGrip(s::os::gui::MemDC& dc, std::int32_t w, std::int32_t h) {
  const std::int32_t dots[6][2] = {{w - 3, h - 11}, {w - 3, h - 7}, {w - 7, h - 7},
                                   {w - 3, h - 3},  {w - 7, h - 3}, {w - 11, h - 3}};
  for (const auto& dot : dots) {
    dc.fillRect(Rect{dot[0], dot[1], 2, 2}, kWhite);
    dc.fillRect(Rect{dot[0] - 1, dot[1] - 1, 2, 2}, kGripShade);
  }
}

void Button::paintContent(s::os::gui::MemDC& dc) {
  if (isGrip()) {
    paintGrip(dc, dc.width(), dc.height());
  } else if (s::gui::drawer::IButton* drawer = drawer_.get()) {
    // A themed face (a symbol here; the whole control where the platform
    // leaves the drawing to the program) stands on what is behind the
    // button, drawn by the drawer.
    dc.fillRect(Rect{0, 0, dc.width(), dc.height()}, backdrop());
    const bool pushedLook = inverted_ ? !pushed_ : pushed_;
    IFont* font = makeFont(!isEnabled() ? 1 : pushedLook ? 2 : 0);
    drawer->paintButton(dc, 0, 0, dc.width(), dc.height(), mouseState_, text_, drawFlag_, font,
                        isEnabled(), pushedLook, drawFlag2_);
    font->release();
  } else if (isDrawn()) {
    s::gui::drawer::button::win::FaceSymbol::paint(dc, Rect{0, 0, dc.width(), dc.height()}, text_,
                                                   kSymbolColour, Scale::factor());
  }
}

// --- drawer -----------------------------------------------------------------------

void Button::setDrawer(s::gui::drawer::IButton* drawer, bool owned) {
  putDrawer(drawer_, drawer, owned, [this] { return lookOf(); });
  if (drawer == nullptr) return;
  // The drawer's text colours for the normal, disabled and pushed looks.
  onUi([&] {
    drawer->applyToSettings(&look(0), &look(1));
    drawer->applyToPushedSetting(&look(2));
  });
}

s::gui::drawer::IButton* Button::getDrawer() {
  return onUi([this] { return drawer_.get(); });
}

bool Button::takeTheme(s::gui::drawer::ISkin* theme) {
  setDrawer(theme != nullptr ? theme->getButtonDrawer() : nullptr, false);
  return true;
}

// The face shows what stands behind the button (the thin look draws only a
// frame), the caption the drawer's text colours, the pushed look its fill.
std::optional<s::os::gui::ControlLook> Button::lookOf() {
  s::gui::drawer::IButton* drawer = drawer_.get();
  if (drawer == nullptr) return std::nullopt;
  s::os::gui::ControlLook look;
  look.face = backdrop();
  look.text = drawer->getNormalSetting()->getTextColor();
  look.frame = drawer->getEnabledColor();
  look.pressedFace = drawer->getFillColor();
  look.pressedText = drawer->getPushedSetting()->getTextColor();
  look.mark = drawer->getEnabledColor();
  look.disabled = drawer->getDisabledSetting()->getTextColor();
  return look;
}

bool Button::isDrawn() const {
  return isGrip() || s::gui::drawer::button::win::FaceSymbol::isSymbol(text_);
}

void Button::setAutoRepeat(bool on) {
  onUi([&] { autoRepeat_ = on; });
}

void Button::setDrawFlag(bool on) {
  onUi([&] { drawFlag_ = on; });
}

void Button::setToggleMode(bool toggle, bool canRelease, bool inverted, bool drawFlag2) {
  onUi([&] {
    toggle_ = toggle;
    canRelease_ = canRelease;
    inverted_ = inverted;
    drawFlag2_ = drawFlag2;
  });
}

bool Button::canRelease() {
  return onUi([this] { return canRelease_; });
}

bool Button::isPushed() {
  return onUi([this] { return pushed_; });
}

void Button::setPushed(bool on) {
  onUi([&] {
    if (on == pushed_) return;
    pushed_ = on;
    redraw();
  });
}

void Button::makeDefault() {
  onUi([this] { isDefault_ = true; });
}

void Button::clearDefault() {
  onUi([this] { isDefault_ = false; });
}

bool Button::isDefault() {
  return onUi([this] { return isDefault_; });
}

void Button::setInteractive(bool on) {
  onUi([&] {
    interactive_ = on;
    if (native() != nullptr) native()->setEnabled(on && isEnabled());
  });
}

void Button::setColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  char colour[16];
  std::snprintf(colour, sizeof colour, "%02X%02X%02X", r, g, b);
  setText(u"#Color-" + std::u16string(colour, colour + 6));
}

}  // namespace s::gui::win
