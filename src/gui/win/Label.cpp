#include "gui/win/Label.h"

#include <memory>

#include "gui/IWindow.h"
#include "gui/OnUi.h"
#include "gui/drawer/ISkin.h"
#include "gui/drawer/text/win/Basic.h"
#include "gui/win/Font.h"
#include "lang/Localizer.h"
#include "os/Shell.h"
#include "os/gui/NativeWidget.h"
#include "os/gui/Ui.h"

namespace s::gui::win {

namespace {

constexpr std::size_t kDisabled = 0;
constexpr std::size_t kLink = 1;
constexpr std::size_t kLinkHover = 2;
constexpr std::size_t kLinkPressed = 3;
constexpr std::int32_t kClick = 1;
constexpr std::int32_t kUnbounded = 100000;

std::unique_ptr<s::os::gui::MemDC> measuringSurface() {
  return s::os::gui::ui().createMemDC(1, 1);
}

}  // namespace

Label::Label() : Component(s::os::gui::WidgetKind::kDrawn, s::os::gui::AccessibleRole::kLabel) {
  resetFields();
}

Label::~Label() {
  onUi([this] {
    for (Font*& font : states_) {
      if (font != nullptr) font->release();
      font = nullptr;
    }
    if (font_ != nullptr) font_->release();
    font_ = nullptr;
    if (drawer_ != nullptr && ownsDrawer_) drawer_->release();
    drawer_ = nullptr;
  });
}

void Label::resetFields() {
  for (Font*& font : states_) {
    if (font != nullptr) font->release();
    font = nullptr;
  }
  if (font_ != nullptr) font_->release();
  font_ = Font::create();
  if (drawer_ != nullptr && ownsDrawer_) drawer_->release();
  drawer_ = s::gui::drawer::text::win::Basic::create();
  ownsDrawer_ = true;
  drawer_->applyToFonts(font_, nullptr, nullptr, nullptr, nullptr);
  text_.clear();
  savedText_.clear();
  saved_ = false;
  textId_ = -1;
  link_ = pressed_ = inside_ = false;
  target_.clear();
  linkState_ = 0;
  clickListeners_.clear();
  measured_.clear();
  measures_ = 0;
  setTransparent(false);
}

void Label::reset() {
  resetComponent();
  onUi([this] { resetFields(); });
}

// --- fonts ---------------------------------------------------------------------

Font*& Label::stateFont(std::size_t which) {
  Font*& font = states_[which];
  if (font == nullptr) {
    font = Font::create();
    font->setSizeCode(font_->getSizeCode());
    if (font_->isBold()) font->setBold(true);
    font->setWordWrap(font_->isWordWrap());
    font->setEllipsis(font_->isEllipsis());
    drawer_->applyToFonts(nullptr, states_[kDisabled], states_[kLink], states_[kLinkHover],
                          states_[kLinkPressed]);
  }
  return font;
}

IFont* Label::currentFont() {
  if (!isEnabled()) return stateFont(kDisabled);
  if (!link_) return font_;
  if (linkState_ == 2) return stateFont(kLinkPressed);
  if (linkState_ == 1) return stateFont(kLinkHover);
  return stateFont(kLink);
}

template <class Change>
void Label::changeFonts(bool allStates, Change&& change) {
  onUi([&] {
    change(*font_);
    if (allStates) {
      for (Font* font : states_) {
        if (font != nullptr) change(*font);
      }
    }
    measure();
  });
}

IFont* Label::getFont() {
  return onUi([this]() -> IFont* { return font_; });
}

IFont* Label::getDisabledFont() {
  return onUi([this]() -> IFont* { return stateFont(kDisabled); });
}

IFont* Label::getLinkFont() {
  return onUi([this]() -> IFont* { return stateFont(kLink); });
}

IFont* Label::getLinkHoverFont() {
  return onUi([this]() -> IFont* { return stateFont(kLinkHover); });
}

IFont* Label::getLinkPressedFont() {
  return onUi([this]() -> IFont* { return stateFont(kLinkPressed); });
}

void Label::setWordWrap(bool on) {
  changeFonts(false, [on](Font& font) { font.setWordWrap(on); });
}

void Label::setEllipsis(bool on) {
  changeFonts(true, [on](Font& font) { font.setEllipsis(on); });
}

void Label::setFontSize(std::int32_t code) {
  changeFonts(true, [code](Font& font) { font.setSizeCode(code); });
}

std::u16string Label::getFaceName() {
  return onUi([this] { return font_->getFaceName(); });
}

void Label::setFaceName(const std::u16string& name) {
  changeFonts(false, [&name](Font& font) { font.setFaceName(name); });
}

s::os::gui::Rgb Label::getTextColor() {
  return onUi([this] { return font_->getTextColor(); });
}

void Label::setTextColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  changeFonts(false, [=](Font& font) { font.setTextColor(r, g, b); });
  redraw();
}

void Label::setPointSize(std::int32_t points) {
  changeFonts(false, [points](Font& font) { font.setPointSize(points); });
}

std::int32_t Label::getFontHeight() {
  return onUi([this] { return font_->getHeight(); });
}

void Label::setFontHeight(std::int32_t h) {
  changeFonts(false, [h](Font& font) { font.setHeight(h); });
}

bool Label::isBold() {
  return onUi([this] { return font_->isBold(); });
}

void Label::setBold(bool on) {
  changeFonts(true, [on](Font& font) { font.setBold(on); });
}

bool Label::isItalic() {
  return onUi([this] { return font_->isItalic(); });
}

void Label::setItalic(bool on) {
  changeFonts(false, [on](Font& font) { font.setItalic(on); });
}

bool Label::isUnderline() {
  return onUi([this] { return font_->isUnderline(); });
}

void Label::setUnderline(bool on) {
  changeFonts(false, [on](Font& font) { font.setUnderline(on); });
}

std::int32_t Label::getTextEffect() {
  return onUi([this] { return font_->getTextEffect(); });
}

void Label::setTextEffect(std::int32_t effect) {
  changeFonts(false, [effect](Font& font) { font.setTextEffect(effect); });
}

void Label::setTextDrawer(s::gui::drawer::IText* drawer, bool owned) {
  if (drawer == nullptr) return;
  onUi([&] {
    if (drawer_ != nullptr && ownsDrawer_ && drawer_ != drawer) drawer_->release();
    drawer_ = drawer;
    ownsDrawer_ = owned;
    drawer_->applyToFonts(font_, states_[kDisabled], states_[kLink], states_[kLinkHover],
                          states_[kLinkPressed]);
    measure();
    redraw();
  });
}

s::gui::drawer::IText* Label::getTextDrawer() {
  return onUi([this] { return drawer_; });
}

bool Label::takeTheme(s::gui::drawer::ISkin* theme) {
  s::gui::drawer::IText* lent = theme != nullptr ? theme->getTextDrawer() : nullptr;
  setTextDrawer(lent != nullptr ? lent : s::gui::drawer::text::win::Basic::create(),
                lent == nullptr);
  return true;
}

// --- text ------------------------------------------------------------------------

bool Label::setText(const std::u16string& text, bool relayout) {
  return onUi([&] {
    if (text == text_) return false;
    text_ = text;
    measure();
    updateAccessible();
    if (relayout) redraw();
    return true;
  });
}

std::u16string Label::getText() {
  return onUi([this] { return text_; });
}

void Label::setTextFor(const std::u16string& text, std::uint32_t ms) {
  onUi([&] {
    if (native() != nullptr) native()->stopTimer(kRestoreTimer);
    if (!saved_) {
      savedText_ = text_;
      saved_ = true;
    }
    setText(text, true);
    if (native() != nullptr) native()->startTimer(kRestoreTimer, ms);
  });
}

void Label::onTimer(std::uint32_t id) {
  if (id != kRestoreTimer) return;
  if (native() != nullptr) native()->stopTimer(kRestoreTimer);
  const std::u16string restored = savedText_;
  savedText_.clear();
  saved_ = false;
  setText(restored, true);
}

void Label::setTextId(std::int32_t id) {
  onUi([&] {
    textId_ = id;
    if (id < 0) {
      setText(u"", true);
    } else if (language() != nullptr) {
      setText(language()->text(id), true);
    }
  });
}

std::int32_t Label::getTextId() {
  return onUi([this] { return textId_; });
}

void Label::retext() {
  if (textId_ >= 0 && language() != nullptr) setText(language()->text(textId_), true);
}

void Label::nativeCreated(s::os::gui::NativeWidget&) {
  measure();
}

std::int32_t Label::measureCount() {
  return onUi([this] { return measures_; });
}

void Label::measure() {
  measured_.clear();
  if (native() == nullptr) return;  // measured once it has a native window
  ++measures_;
  std::int32_t preferredWidth = 0;
  std::int32_t preferredHeight = 0;
  std::int32_t maximumWidth = 0;
  std::int32_t maximumHeight = 0;
  auto surface = measuringSurface();
  drawer_->measureRange(*surface, text_, isEnabled() ? font_ : stateFont(kDisabled), preferredWidth,
                        preferredHeight, maximumWidth, maximumHeight);
  setPreferredSize(preferredWidth, preferredHeight);
  setMaximumSize(maximumWidth, maximumHeight);
  if (IWindow* window = getWindow()) window->layoutNow();
}

void Label::fitTo(std::int32_t w, std::int32_t) {
  onUi([&] {
    auto cached = measured_.find(w);
    if (cached == measured_.end()) {
      s::os::gui::Size size;
      auto surface = measuringSurface();
      drawer_->measureText(*surface, 0, 0, w, kUnbounded, text_, currentFont(), size.width,
                           size.height);
      cached = measured_.emplace(w, size).first;
    }
    setSize(cached->second.width, cached->second.height);
  });
}

void Label::paintContent(s::os::gui::MemDC& dc) {
  drawer_->paintText(dc, 0, 0, dc.width(), dc.height(), text_, currentFont());
}

// --- links ------------------------------------------------------------------------

bool Label::isLink() {
  return onUi([this] { return link_; });
}

void Label::setLink(bool on) {
  onUi([&] {
    link_ = on;
    if (on) {
      for (std::size_t which : {kLink, kLinkHover, kLinkPressed}) {
        stateFont(which)->setWordWrap(font_->isWordWrap());
        stateFont(which)->setEllipsis(font_->isEllipsis());
      }
    }
    updateAccessible();
    redraw();
  });
}

void Label::setLinkTarget(const std::u16string& address) {
  onUi([&] { target_ = address; });
}

void Label::addClickListener(IEventListener* listener) {
  if (listener != nullptr) onUi([&] { clickListeners_.push_back(listener); });
}

void Label::setLinkState(std::int32_t state) {
  if (state == linkState_) return;
  linkState_ = state;
  redraw();
}

void Label::onHover(bool inside) {
  inside_ = inside;
  if (!link_) return;
  if (native() != nullptr)
    native()->setCursor(inside ? s::os::gui::Cursor::kHand : s::os::gui::Cursor::kArrow);
  setLinkState(inside ? (pressed_ ? 2 : 1) : 0);
}

bool Label::onMouseButton(s::os::gui::MouseButton button, bool pressed, bool, std::int32_t x,
                          std::int32_t y) {
  if (!link_ || button != s::os::gui::MouseButton::kLeft)
    return false;  // the window beneath gets it
  const bool inside = x >= 0 && y >= 0 && x < getWidth() && y < getHeight();
  if (pressed) {
    pressed_ = inside;
    if (inside) setLinkState(2);
    return true;
  }
  if (pressed_ && inside) {
    if (!target_.empty()) s::os::shell().openUrl(target_);
    const std::vector<IEventListener*> listeners = clickListeners_;
    for (IEventListener* listener : listeners) listener->onEvent(this, kClick);
  }
  pressed_ = false;
  setLinkState(inside ? 1 : 0);
  return true;
}

}  // namespace s::gui::win
