#include "gui/drawer/skin/ThinWindow.h"

#include "gui/drawer/button/win/Thin.h"
#include "gui/drawer/checkbox/win/Thin.h"
#include "gui/drawer/combo/win/Thin.h"
#include "gui/drawer/menu/win/Basic.h"
#include "gui/drawer/statusbar/win/Thin.h"
#include "gui/drawer/text/win/Basic.h"
#include "gui/drawer/window/win/Thin.h"
#include "gui/win/FontSetting.h"

namespace s::gui::drawer::skin {

using s::os::gui::Rgb;

namespace {

void textColour(s::gui::win::FontSetting* setting, Rgb c) {
  setting->setTextColor(c.r, c.g, c.b);
}

}  // namespace

ThinWindow::~ThinWindow() {
  reset();
}

template <typename Drawer>
void ThinWindow::replace(Drawer*& held, Drawer* drawer) {
  if (held == drawer) return;
  if (held != nullptr) held->release();
  held = drawer;
}

void ThinWindow::setWindowDrawer(IWindow* drawer) {
  replace(window_, drawer);
}
void ThinWindow::setButtonDrawer(IButton* drawer) {
  replace(button_, drawer);
}
void ThinWindow::setTextDrawer(IText* drawer) {
  replace(text_, drawer);
}
void ThinWindow::setCheckBoxDrawer(ICheckBox* drawer) {
  replace(checkBox_, drawer);
}
void ThinWindow::setStatusBarDrawer(IStatusBar* drawer) {
  replace(statusBar_, drawer);
}
void ThinWindow::setMenuDrawer(IMenu* drawer) {
  replace(menu_, drawer);
}
void ThinWindow::setComboDrawer(ICombo* drawer) {
  replace(combo_, drawer);
}

void ThinWindow::reset() {
  setWindowDrawer(nullptr);
  setButtonDrawer(nullptr);
  setTextDrawer(nullptr);
  setCheckBoxDrawer(nullptr);
  setStatusBarDrawer(nullptr);
  setMenuDrawer(nullptr);
  setComboDrawer(nullptr);
  name_.clear();
  colours_ = Colours{};
}

Rgb ThinWindow::getColor(int n) const {
  if (n < 1 || n > static_cast<int>(colours_.size())) return Rgb{};
  return colours_[static_cast<std::size_t>(n - 1)];
}

ThinWindow* ThinWindow::build(std::u16string_view name, const Colours& colours) {
  ThinWindow* theme = create();
  theme->setName(name);
  theme->colours_ = colours;
  theme->buildDrawers();
  return theme;
}

void ThinWindow::buildDrawers() {
  const auto c = [this](int n) { return getColor(n); };

  auto* frame = s::gui::drawer::window::win::Thin::create();
  frame->setTopCorners(0);
  frame->setBottomCorners(0);
  frame->setBorderColor(c(2).r, c(2).g, c(2).b);
  frame->setBackground(c(1).r, c(1).g, c(1).b);
  setWindowDrawer(frame);

  auto* button = s::gui::drawer::button::win::Thin::create();
  button->setShiftText(true);
  button->setEnabledColor(c(4).r, c(4).g, c(4).b);
  button->setDisabledColor(c(3).r, c(3).g, c(3).b);
  button->setPushedColor(c(4).r, c(4).g, c(4).b);
  button->setFillColor(c(9).r, c(9).g, c(9).b);
  textColour(button->getNormalSetting(), c(6));
  textColour(button->getDisabledSetting(), c(3));
  textColour(button->getPushedSetting(), c(10));
  setButtonDrawer(button);

  auto* text = s::gui::drawer::text::win::Basic::create();
  textColour(text->getNormalSetting(), c(6));
  text->getNormalSetting()->setEffectColor1(c(1).r, c(1).g, c(1).b);
  text->getNormalSetting()->setEffectColor2(c(7).r, c(7).g, c(7).b);
  textColour(text->getDisabledSetting(), c(3));
  textColour(text->getLinkSetting(), c(6));
  textColour(text->getLinkHoverSetting(), c(4));
  setTextDrawer(text);

  auto* checkBox = s::gui::drawer::checkbox::win::Thin::create();
  checkBox->setColors(c(4).r, c(4).g, c(4).b, c(6).r, c(6).g, c(6).b);
  checkBox->setDisabledColor(c(3).r, c(3).g, c(3).b);
  setCheckBoxDrawer(checkBox);

  auto* statusBar = s::gui::drawer::statusbar::win::Thin::create();
  statusBar->setColor(c(4).r, c(4).g, c(4).b);
  setStatusBarDrawer(statusBar);

  auto* menu = s::gui::drawer::menu::win::Basic::create();
  menu->setNormalTextColor(c(6).r, c(6).g, c(6).b);
  menu->setHoverFill(c(4).r, c(4).g, c(4).b);
  menu->setHoverTextColor(c(1).r, c(1).g, c(1).b);
  menu->setFillOnHover(false);
  menu->setRaised(true);
  menu->getDropDownDrawer()->setColors(c(6).r, c(6).g, c(6).b, c(4).r, c(4).g, c(4).b);
  menu->getDropDownDrawer()->setArrowColor(c(6).r, c(6).g, c(6).b);
  setMenuDrawer(menu);

  auto* combo = s::gui::drawer::combo::win::Thin::create();
  combo->setColors(c(6).r, c(6).g, c(6).b, c(4).r, c(4).g, c(4).b);
  combo->setArrowColor(c(6).r, c(6).g, c(6).b);
  setComboDrawer(combo);
}

}  // namespace s::gui::drawer::skin
