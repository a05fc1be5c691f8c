#include "gui/win/CheckBox.h"

#include <algorithm>

#include "gui/IWindow.h"
#include "gui/OnUi.h"
#include "gui/Scale.h"
#include "gui/drawer/ICheckBox.h"
#include "gui/drawer/ISkin.h"
#include "gui/events/Disabler.h"
#include "gui/events/Enabler.h"
#include "gui/win/FontSetting.h"
#include "lang/Localizer.h"
#include "os/gui/Ui.h"

namespace s::gui::win {

namespace {

constexpr std::int32_t kChecked = 1;
constexpr std::int32_t kUnchecked = 2;

std::int32_t extraHeight(std::int32_t scale) {
  return scale >= 4 ? 12 : scale >= 2 ? 7 : 0;
}

// The widest word of `text`, measured.
std::int32_t longestWord(s::os::gui::MemDC& dc, const std::u16string& text,
                         const s::os::gui::FontSpec& font) {
  std::int32_t widest = 0;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find_first_of(u" \n\t", start);
    if (end == std::u16string::npos) end = text.size();
    if (end > start) {
      widest = std::max(widest, dc.measureText(std::u16string_view(text).substr(start, end - start),
                                               font, -1, s::os::gui::kTextSingleLine)
                                    .width);
    }
    start = end + 1;
  }
  return widest;
}

}  // namespace

CheckBox::CheckBox()
    : Component(s::os::gui::WidgetKind::kCheckBox, s::os::gui::AccessibleRole::kCheckBox),
      FontLooks(1) {}

CheckBox::~CheckBox() {
  onUi([this] { clearLinks(); });
}

void CheckBox::clearLinks() {
  for (auto& state : links_) {
    for (auto*& switcher : state) {
      if (switcher != nullptr) switcher->release();
      switcher = nullptr;
    }
  }
}

void CheckBox::reset() {
  resetComponent();
  onUi([this] {
    clearLinks();
    text_.clear();
    textId_ = -1;
    checked_ = false;
    resetLooks();
    setDrawer(nullptr, false);
    checkedListeners_.clear();
    uncheckedListeners_.clear();
  });
}

void CheckBox::setWordWrap(bool on) {
  onUi([&] {
    look().setWordWrap(on);
    measure();
  });
}

void CheckBox::fontsChanged() {
  if (native() != nullptr) native()->setFont(fontOf());
  measure();
}

void CheckBox::setText(const std::u16string& text) {
  onUi([&] {
    text_ = text;
    if (native() != nullptr) native()->setText(text_);
    updateAccessible();
    measure();
  });
}

void CheckBox::setTextId(std::int32_t id) {
  onUi([&] {
    textId_ = id;
    if (language() != nullptr) setText(language()->text(id));
  });
}

void CheckBox::retext() {
  if (textId_ < 0 || language() == nullptr) return;
  text_ = language()->text(textId_);
  if (native() != nullptr) native()->setText(text_);
  measure();
}

std::u16string CheckBox::getText() {
  return onUi([this] { return text_; });
}

void CheckBox::measure() {
  const std::int32_t scale = Scale::factor();
  std::unique_ptr<s::os::gui::MemDC> dc = s::os::gui::ui().createMemDC(1, 1);
  const s::os::gui::FontSpec font = fontOf();
  const s::os::gui::Size text = dc->measureText(text_, font, -1, s::os::gui::kTextSingleLine);
  const std::int32_t height = text.height + extraHeight(scale);
  if (!look().isWordWrap()) {
    const std::int32_t width = text.width + text.height + (text.height / 3) * scale;
    setPreferredSize(width, height);
    setMaximumSize(width, height);
  } else {
    const std::int32_t box = height + (height / 3) * scale;
    setPreferredSize(longestWord(*dc, text_, font) + box, height);
    setMaximumSize(text.width + box, height);
  }
  if (IWindow* window = getWindow()) window->layoutNow();
}

void CheckBox::nativeCreated(s::os::gui::NativeWidget& native) {
  if (textId_ >= 0 && language() != nullptr) text_ = language()->text(textId_);
  native.setFont(fontOf());
  native.setText(text_);
  native.setChecked(checked_);
  measure();
}

void CheckBox::addCheckedListener(IEventListener* listener) {
  if (listener != nullptr) onUi([&] { checkedListeners_.push_back(listener); });
}

void CheckBox::addUncheckedListener(IEventListener* listener) {
  if (listener != nullptr) onUi([&] { uncheckedListeners_.push_back(listener); });
}

bool CheckBox::isChecked() {
  return onUi([this] { return checked_; });
}

void CheckBox::setChecked(bool on) {
  onUi([&] {
    if (native() == nullptr) {
      checked_ = on;
      return;
    }
    native()->setChecked(on);
    change(on, true);
  });
}

void CheckBox::setCheckedSilently(bool on) {
  onUi([&] {
    if (native() != nullptr) native()->setChecked(on);
    change(on, false);
  });
}

void CheckBox::onActivated(std::int32_t code) {
  change(code == kChecked, true);  // the user ticked or unticked it
}

void CheckBox::change(bool on, bool notify) {
  if (on == checked_) return;
  checked_ = on;
  if (!notify) return;
  const std::vector<IEventListener*> listeners = on ? checkedListeners_ : uncheckedListeners_;
  for (IEventListener* listener : listeners) listener->onEvent(this, on ? kChecked : kUnchecked);
}

void CheckBox::link(bool whenChecked, bool enable, IComponent* component) {
  onUi([&] {
    s::gui::events::Switcher*& switcher = links_[whenChecked ? 1 : 0][enable ? 1 : 0];
    if (switcher == nullptr) {
      switcher = enable
                     ? static_cast<s::gui::events::Switcher*>(s::gui::events::Enabler::create())
                     : static_cast<s::gui::events::Switcher*>(s::gui::events::Disabler::create());
      switcher->setSource(this);
      (whenChecked ? checkedListeners_ : uncheckedListeners_).push_back(switcher);
    }
    switcher->addTarget(component);
  });
}

void CheckBox::linkEnable(IComponent* component) {
  enableWhenChecked(component);
  disableWhenUnchecked(component);
}

void CheckBox::enableWhenChecked(IComponent* component) {
  link(true, true, component);
}

void CheckBox::disableWhenUnchecked(IComponent* component) {
  link(false, false, component);
}

void CheckBox::linkDisable(IComponent* component) {
  enableWhenUnchecked(component);
  disableWhenChecked(component);
}

void CheckBox::enableWhenUnchecked(IComponent* component) {
  link(false, true, component);
}

void CheckBox::disableWhenChecked(IComponent* component) {
  link(true, false, component);
}

// --- drawer -----------------------------------------------------------------------

void CheckBox::setDrawer(s::gui::drawer::ICheckBox* drawer, bool owned) {
  putDrawer(drawer_, drawer, owned, [this] { return lookOf(); });
}

s::gui::drawer::ICheckBox* CheckBox::getDrawer() {
  return onUi([this] { return drawer_.get(); });
}

bool CheckBox::takeTheme(s::gui::drawer::ISkin* theme) {
  setDrawer(theme != nullptr ? theme->getCheckBoxDrawer() : nullptr, false);
  return true;
}

void CheckBox::paintContent(s::os::gui::MemDC& dc) {
  s::gui::drawer::ICheckBox* drawer = drawer_.get();
  if (drawer == nullptr) return;
  const std::int32_t h = dc.height();
  dc.fillRect(s::os::gui::Rect{0, 0, dc.width(), h}, backdrop());
  drawer->paintCheck(dc, 0, 0, h, h, checked_, isEnabled());
  const s::os::gui::Rect caption{h + h / 3, 0, std::max(0, dc.width() - h - h / 3), h};
  dc.drawText(text_, caption, fontOf(),
              isEnabled() ? drawer->getMarkColor() : drawer->getDisabledColor(),
              s::os::gui::kTextSingleLine | s::os::gui::kTextVCenter);
}

// The box stands on what is behind the check box; the caption and the mark
// take the mark colour.
std::optional<s::os::gui::ControlLook> CheckBox::lookOf() {
  s::gui::drawer::ICheckBox* drawer = drawer_.get();
  if (drawer == nullptr) return std::nullopt;
  return s::os::gui::ControlLook::flat(backdrop(), drawer->getMarkColor(), drawer->getBoxColor(),
                                       drawer->getMarkColor(), drawer->getDisabledColor());
}

}  // namespace s::gui::win
