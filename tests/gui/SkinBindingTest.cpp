// A window bound to a record with colour themes, in a real window: the
// frame and every component kind take the current theme's drawer, follow a
// theme change (which the record remembers), and leave the skinner when they
// are detached or their window goes; platform controls show the drawer's
// colours.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "SpecialUi.h"
#include "TestApp.h"
#include "app/win/AppBase.h"
#include "app/win/AppWindow.h"
#include "gui/OnUi.h"
#include "gui/drawer/ISkin.h"
#include "gui/drawer/Skinner.h"
#include "gui/win/Button.h"
#include "gui/win/CheckBox.h"
#include "gui/win/ComboBox.h"
#include "gui/win/Label.h"
#include "gui/win/MenuEx.h"
#include "gui/win/StatusBar.h"
#include "gui/win/Window.h"
#include "lang/Localizer.h"
#include "map/IMappedData.h"
#include "os/gui/Ui.h"

namespace {

using s::gui::IComponent;
using s::gui::drawer::ISkin;
using s::gui::drawer::Skinner;
using s::gui::win::Window;
using s::os::gui::Rgb;

constexpr const char16_t* kSkinGroup = u"ThemedWindow\\Skin";

// One component kind: how to make it, the drawer it paints with, and the
// drawer of its kind in a theme.
struct Kind {
  const char* name;
  std::function<IComponent*()> make;
  std::function<const void*(IComponent*)> drawerOf;
  std::function<const void*(ISkin*)> themeDrawer;
};

template <class Component, class Drawer>
Kind kind(const char* name, Drawer* (Component::*drawerOf)(), Drawer* (ISkin::*themeDrawer)()) {
  return Kind{name, [] { return static_cast<IComponent*>(Component::create()); },
              [drawerOf](IComponent* c) -> const void* {
                return (dynamic_cast<Component*>(c)->*drawerOf)();
              },
              [themeDrawer](ISkin* theme) -> const void* { return (theme->*themeDrawer)(); }};
}

const std::vector<Kind>& kinds() {
  static const std::vector<Kind> all{
      kind("Label", &s::gui::win::Label::getTextDrawer, &ISkin::getTextDrawer),
      kind("Button", &s::gui::win::Button::getDrawer, &ISkin::getButtonDrawer),
      kind("CheckBox", &s::gui::win::CheckBox::getDrawer, &ISkin::getCheckBoxDrawer),
      kind("ComboBox", &s::gui::win::ComboBox::getDrawer, &ISkin::getComboDrawer),
      kind("StatusBar", &s::gui::win::StatusBar::getDrawer, &ISkin::getStatusBarDrawer),
      kind("MenuEx", &s::gui::win::MenuEx::getDrawer, &ISkin::getMenuDrawer),
  };
  return all;
}

void give(IComponent* component) {
  if (auto* poolable = dynamic_cast<s::thread::IPoolable*>(component)) poolable->release();
}

class SkinBinding : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    app_ = vonq::gui_test::startApp(error, nullptr);
    ASSERT_NE(app_, nullptr) << error;
    record_ = s::app::win::AppWindow::create();
    // The record and its store belong to the interface thread.
    s::gui::onUi([&] {
      app_->getSettings()->deleteValue(kSkinGroup, nullptr);
      record_->init(app_, 1,
                    {u"ThemedWindow", 300, 200, true, false, u"ThinWindow", u"Classic LG"});
    });
    skinner_ = record_->getSkinner();
    ASSERT_NE(skinner_, nullptr);
    window_ = Window::create();
    window_->bindWindowState(record_, false);
  }
  void TearDown() override {
    if (window_ != nullptr) window_->release();
    s::gui::onUi([&] { app_->getSettings()->deleteValue(kSkinGroup, nullptr); });
    record_->release();
    app_->release();
  }
  void choose(const char16_t* theme) {
    s::gui::onUi([&] { skinner_->chooseTheme(theme, u"White"); });
  }
  // A button, a ticked check box and a drop-down list, in that order.
  void addControls() {
    auto* button = s::gui::win::Button::create();
    button->setText(u"Close");
    auto* check = s::gui::win::CheckBox::create();
    check->setText(u"Check");
    check->setChecked(true);
    window_->add(button);
    window_->add(check);
    window_->add(s::gui::win::ComboBox::create());
  }
  ISkin* current() const { return skinner_->getCurrentTheme(); }
  std::u16string storedSkin() {
    return s::gui::onUi([&] { return record_->getSkin(); });
  }

  s::app::win::AppBase* app_ = nullptr;
  s::app::win::AppWindow* record_ = nullptr;
  Skinner* skinner_ = nullptr;
  Window* window_ = nullptr;
};

TEST_F(SkinBinding, WindowAndEveryKindTakeTheCurrentThemeAndFollowItsChanges) {
  ASSERT_EQ(current()->getName(), u"Classic LG");
  EXPECT_EQ(window_->getFrameDrawer(), current()->getWindowDrawer());
  EXPECT_EQ(window_->getBackgroundColor(), (Rgb{116, 116, 116})) << "children stand on the frame's";

  std::vector<IComponent*> attached;
  for (const Kind& k : kinds()) {
    attached.push_back(k.make());
    window_->add(attached.back());
    EXPECT_EQ(k.drawerOf(attached.back()), k.themeDrawer(current())) << k.name;
  }

  choose(u"Pink");
  EXPECT_EQ(window_->getFrameDrawer(), current()->getWindowDrawer());
  EXPECT_EQ(storedSkin(), u"Pink") << "the record remembers the new theme";
  for (std::size_t i = 0; i < attached.size(); ++i)
    EXPECT_EQ(kinds()[i].drawerOf(attached[i]), kinds()[i].themeDrawer(current()))
        << kinds()[i].name;

  // Attached after the change: the theme current now, not the first one.
  for (const Kind& k : kinds()) {
    IComponent* late = k.make();
    window_->add(late);
    EXPECT_EQ(k.drawerOf(late), k.themeDrawer(current())) << k.name << " attached late";
    window_->remove(late, true);
  }
  window_->removeAll(true);
}

TEST_F(SkinBinding, DetachedComponentsAndAWindowThatWentFirstHearNoMore) {
  const std::int32_t windowOnly = skinner_->getListenerCount();
  std::vector<IComponent*> held;
  for (const Kind& k : kinds()) {
    held.push_back(k.make());
    window_->add(held.back());
  }
  EXPECT_EQ(skinner_->getListenerCount(), windowOnly + static_cast<std::int32_t>(kinds().size()));

  // Taken out but kept: it draws with a drawer of its own, not the theme's.
  window_->remove(held[0], false);
  EXPECT_EQ(skinner_->getListenerCount(),
            windowOnly + static_cast<std::int32_t>(kinds().size()) - 1);
  EXPECT_NE(kinds()[0].drawerOf(held[0]), kinds()[0].themeDrawer(current()));

  // The window goes while its components live on: nobody is left to tell.
  window_->release();
  window_ = nullptr;
  EXPECT_EQ(skinner_->getListenerCount(), 0);
  choose(u"Khaki");
  for (std::size_t i = 0; i < held.size(); ++i) {
    EXPECT_NE(kinds()[i].drawerOf(held[i]), kinds()[i].themeDrawer(current())) << kinds()[i].name;
    give(held[i]);
  }
}

// Everything in `dc` that `hit` accepts.
int count(const s::os::gui::MemDC& dc, const std::function<bool(Rgb)>& hit) {
  int found = 0;
  for (int y = 0; y < dc.height(); ++y) {
    for (int x = 0; x < dc.width(); ++x) found += hit(dc.pixel(x, y)) ? 1 : 0;
  }
  return found;
}

TEST_F(SkinBinding, WhereThePlatformLeavesTheDrawingToTheProgramTheDrawersPaint) {
  SpecialUi special;
  addControls();
  ASSERT_EQ(special.widgets.size(), 3u);
  const auto white = [](Rgb c) { return c.r >= 250 && c.g >= 250 && c.b >= 250; };
  const auto frame = [](Rgb c) { return c == Rgb{17, 17, 17}; };
  const auto face = [](Rgb c) { return c == Rgb{116, 116, 116}; };
  for (std::size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    auto dc = s::os::gui::ui().createMemDC(60, 20);
    s::gui::onUi([&] { special.widgets[i]->sink->onPaint(*dc); });
    EXPECT_GT(count(*dc, face), 0) << "the window's background behind";
    EXPECT_GT(count(*dc, frame), 0) << "the frame, box or field in the theme's dark colour";
    EXPECT_GT(count(*dc, white), 0) << "caption, mark or arrow in white";
  }
  window_->removeAll(true);
}

TEST_F(SkinBinding, PlatformControlsShowTheDrawersColours) {
  SpecialUi special;
  addControls();
  ASSERT_EQ(special.widgets.size(), 3u);
  const auto& buttonLooks = special.widgets[0]->looks;
  const auto& checkLooks = special.widgets[1]->looks;
  ASSERT_FALSE(buttonLooks.empty());
  ASSERT_FALSE(checkLooks.empty());
  // Classic LG: grey face, white caption, a near-black frame.
  EXPECT_EQ(buttonLooks.back().face, (Rgb{116, 116, 116}));
  EXPECT_EQ(buttonLooks.back().text, (Rgb{255, 255, 255}));
  EXPECT_EQ(buttonLooks.back().frame, (Rgb{17, 17, 17}));
  EXPECT_EQ(checkLooks.back().text, (Rgb{255, 255, 255}));
  EXPECT_EQ(checkLooks.back().frame, (Rgb{17, 17, 17}));

  choose(u"White");
  EXPECT_EQ(buttonLooks.back().face, (Rgb{255, 255, 255})) << "the new window background";
  EXPECT_EQ(buttonLooks.back().text, (Rgb{0, 0, 0}));
  EXPECT_EQ(checkLooks.back().text, (Rgb{0, 0, 0}));
  window_->removeAll(true);
}

}  // namespace
