#include "app/win/AppWindow.h"

#include "app/IAppBase.h"
#include "app/win/VersionCheck.h"
#include "gui/IWindow.h"
#include "gui/OnUi.h"
#include "gui/dialogs/FlexAsker.h"
#include "gui/drawer/Skinner.h"
#include "lang/Localizer.h"
#include "map/IMappedData.h"
#include "os/gui/Ui.h"
#include "str/strbuffer/StrBuffer.h"

namespace s::app::win {

namespace {
constexpr std::int32_t kSmallestUsable = 10;
}  // namespace

void AppWindow::init(IAppBase* app, std::int32_t scale) {
  init(app, scale, Shape{});
}

void AppWindow::init(IAppBase* app, std::int32_t scale, const Shape& shape) {
  releaseSkins();
  app_ = app;
  scale_ = scale;
  shape_ = shape;
  loadSkins();
  s::map::IMappedData* store = settings();
  if (store == nullptr) return;
  store->setValue(groupPath(u"SoftwareType"), u"", app_->getSoftwareType());
  store->setValue(groupPath(u"SoftwareID"), u"", app_->getLanguageTable()->text(300000));
  store->setValue(groupPath(u"Version"), u"",
                  app_->getLanguageTable()->text(app_->getEntryBase() + 10));
  middleClick_ = readMiddleClick();
}

const char16_t* AppWindow::viewGroupFor(std::int32_t scale) {
  if (scale == 4) return u"View8K";
  if (scale == 2) return u"View4K";
  return u"View";
}

void AppWindow::reset() {
  releaseSkins();
  app_ = nullptr;
  scale_ = 1;
  shape_ = Shape{};
  keyBuffer_.clear();
  middleClick_ = u"Close";
}

const char16_t* AppWindow::groupPath(const char16_t* name) {
  keyBuffer_ = std::u16string(shape_.name) + u"\\" + name;
  return keyBuffer_.c_str();
}

// The group of the view options: "<name>\View" at every scale.
const char16_t* AppWindow::viewOptions() {
  return groupPath(u"View");
}

std::int32_t AppWindow::getEntryBase() {
  return app_ != nullptr ? app_->getEntryBase() : 500000;
}

s::lang::Localizer* AppWindow::getLanguageTable() {
  return app_ != nullptr ? app_->getLanguageTable() : nullptr;
}

s::map::IMappedData* AppWindow::settings() {
  return app_ != nullptr ? app_->getSettings() : nullptr;
}

bool AppWindow::stored(const char16_t* name) {
  s::map::IMappedData* store = settings();
  return store != nullptr && store->hasValue(groupPath(viewGroupFor(scale_)), name);
}

std::int32_t AppWindow::geometry(const char16_t* name, std::int32_t defaultValue) {
  s::map::IMappedData* store = settings();
  return store != nullptr ? store->getValue(groupPath(viewGroupFor(scale_)), name, defaultValue)
                          : defaultValue;
}

void AppWindow::setGeometry(const char16_t* name, std::int32_t value) {
  if (s::map::IMappedData* store = settings())
    store->setValue(groupPath(viewGroupFor(scale_)), name, value);
}

bool AppWindow::option(const char16_t* name, bool defaultValue) {
  s::map::IMappedData* store = settings();
  return store != nullptr ? store->getValue(viewOptions(), name, defaultValue) : defaultValue;
}

void AppWindow::setOption(const char16_t* name, bool value) {
  if (s::map::IMappedData* store = settings()) store->setValue(viewOptions(), name, value);
}

void AppWindow::setPositionAndSize(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
  setX(x);
  setY(y);
  setSize(w, h);
}

void AppWindow::setSize(std::int32_t w, std::int32_t h) {
  setWidth(w);
  setHeight(h);
}

void AppWindow::forgetGeometry() {
  s::map::IMappedData* store = settings();
  if (store == nullptr) return;
  for (const char16_t* name : {u"X", u"Y", u"Width", u"Height"}) {
    store->deleteValue(groupPath(viewGroupFor(scale_)), name);
  }
}

bool AppWindow::isWidthUsable() {
  const std::int32_t width = getWidth();
  const std::int32_t screen = s::os::gui::ui().virtualScreen().width;
  return width >= kSmallestUsable && (screen <= 0 || width <= screen);
}

bool AppWindow::isHeightUsable() {
  const std::int32_t height = getHeight();
  const std::int32_t screen = s::os::gui::ui().virtualScreen().height;
  return height >= kSmallestUsable && (screen <= 0 || height <= screen);
}

std::u16string AppWindow::readText(const char16_t* group, const char16_t* name,
                                   const char16_t* fallback) {
  s::map::IMappedData* store = settings();
  if (store == nullptr) return fallback;
  s::str::strbuffer::StrBuffer* value = s::str::strbuffer::StrBuffer::create();
  store->getValue(group, name, *value, fallback, nullptr, false);
  std::u16string text = value->getText();
  value->release();
  return text;
}

std::u16string AppWindow::readMiddleClick() {
  std::u16string action = readText(viewOptions(), u"OnMClick", u"Close");
  if (action != u"Close" && action != u"Iconize") action = u"DoNothing";
  return action;
}

void AppWindow::setMiddleClick(const std::u16string& action) {
  if (action == middleClick_) return;
  middleClick_ = action;
  if (s::map::IMappedData* store = settings())
    store->setValue(viewOptions(), u"OnMClick", action.c_str());
}

// A skinner only with at least one theme: with none there is nothing to
// choose or fall back to.
void AppWindow::loadSkins() {
  if (shape_.skinSet == nullptr) return;
  skinner_ = s::gui::drawer::Skinner::create();
  skinner_->setName(shape_.skinSet);
  skinner_->loadThemes();
  if (skinner_->getThemeCount() == 0) {
    releaseSkins();
    return;
  }
  skinner_->chooseStoredTheme(settings(), groupPath(u"Skin"), shape_.defaultSkin);
}

void AppWindow::releaseSkins() {
  if (skinner_ != nullptr) skinner_->release();
  skinner_ = nullptr;
}

std::u16string AppWindow::getSkin() {
  if (skinner_ == nullptr) return {};
  return readText(groupPath(u"Skin"), nullptr, shape_.defaultSkin);
}

void AppWindow::setSkin(const std::u16string& name) {
  if (skinner_ == nullptr || name == getSkin()) return;
  if (s::map::IMappedData* store = settings())
    store->setValue(groupPath(u"Skin"), nullptr, name.c_str());
}

std::span<const unsigned char> AppWindow::iconPng(std::int32_t pixels) {
  return app_ != nullptr ? app_->getIconPng(pixels) : std::span<const unsigned char>();
}

}  // namespace s::app::win

namespace s::app::win {

void AppWindow::checkForUpdate(s::gui::IWindow* window) {
  if (app_ == nullptr || window == nullptr) return;
  // The record is the interface thread's (the window saves its state
  // through it), so even its group path is asked there.
  const std::u16string group =
      s::gui::onUi([this] { return std::u16string(groupPath(u"Version")); });
  VersionCheck check(settings(), group, app_->getLanguageTable());
  check.run([window](const std::u16string&,
                     const std::u16string& message) { return window->askBox(message); },
            [this](const std::u16string& address) { app_->openUrl(address); });
}

}  // namespace s::app::win
