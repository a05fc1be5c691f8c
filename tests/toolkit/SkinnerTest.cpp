// The "ThinWindow" colour themes, choosing the current one, and telling the
// windows and components drawn with them.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "gui/IEventListener.h"
#include "gui/drawer/IButton.h"
#include "gui/drawer/ICombo.h"
#include "gui/drawer/IMenu.h"
#include "gui/drawer/ISkin.h"
#include "gui/drawer/IStatusBar.h"
#include "gui/drawer/IText.h"
#include "gui/drawer/IWindow.h"
#include "gui/drawer/Skinner.h"
#include "gui/drawer/skin/ThinWindow.h"
#include "gui/drawer/skin/ThinWindowPalette.h"
#include "gui/win/FontSetting.h"
#include "xml/MappedData.h"

namespace {

using s::gui::drawer::ISkin;
using s::gui::drawer::Skinner;
using s::gui::drawer::skin::ThinWindow;
using s::gui::drawer::skin::ThinWindowPalette;
using s::os::gui::Rgb;

const std::vector<std::u16string> kThemeNames{
    u"White",      u"Ivory",  u"Black",    u"Black II", u"Black Black", u"Black Black II",
    u"Classic LG", u"Beige",  u"Sky Blue", u"Pink",     u"Salmon Red",  u"Yellow",
    u"Green",      u"Orange", u"Khaki",    u"Indigo"};

// Records who was told, and with which sender and code.
struct Recorder : s::gui::IEventListener {
  Recorder(std::vector<std::string>& log, std::string name) : log(log), name(std::move(name)) {}
  void onEvent(s::base::IObject* sender, std::int32_t code) override {
    log.push_back(name + (dynamic_cast<Skinner*>(sender) != nullptr ? "" : "?") +
                  std::to_string(code));
  }
  std::vector<std::string>& log;
  std::string name;
};

struct SkinnerTest : ::testing::Test {
  Skinner* skinner = Skinner::makeThinWindowSkinner();
  void TearDown() override { skinner->release(); }
  std::u16string current() { return skinner->getCurrentTheme()->getName(); }
};

TEST_F(SkinnerTest, HoldsTheSixteenThemesInListOrderWithNoneCurrent) {
  EXPECT_EQ(skinner->getName(), u"ThinWindow");
  EXPECT_EQ(skinner->getThemeNames(), kThemeNames);
  ASSERT_EQ(skinner->getThemeCount(), 16);
  for (std::int32_t i = 0; i < 16; ++i) EXPECT_EQ(skinner->getTheme(i)->getName(), kThemeNames[i]);
  EXPECT_EQ(skinner->getTheme(16), nullptr);
  EXPECT_EQ(skinner->getCurrentTheme(), nullptr);
}

TEST_F(SkinnerTest, FindThemeIsExactAndCaseSensitive) {
  struct Case {
    std::u16string name;
    bool found;
    std::int32_t index;
  };
  for (const Case& c :
       {Case{u"White", true, 0}, Case{u"Classic LG", true, 6}, Case{u"Indigo", true, 15},
        Case{u"classic lg", false, -1}, Case{u"Classic LG ", false, -1}, Case{u"", false, -1}}) {
    std::int32_t index = 99;
    EXPECT_EQ(skinner->findTheme(c.name, index), c.found);
    EXPECT_EQ(index, c.index);
  }
}

TEST_F(SkinnerTest, ClassicLgDrawsAGreyWindowWithADarkBorderAndWhiteText) {
  std::int32_t index = -1;
  ASSERT_TRUE(skinner->findTheme(u"Classic LG", index));
  ISkin* theme = skinner->getTheme(index);
  EXPECT_EQ(theme->getWindowDrawer()->getBackground(), (Rgb{116, 116, 116}));
  EXPECT_EQ(theme->getWindowDrawer()->getBorderColor(), (Rgb{17, 17, 17}));
  EXPECT_EQ(theme->getTextDrawer()->getNormalSetting()->getTextColor(), (Rgb{255, 255, 255}));
  EXPECT_EQ(theme->getTextDrawer()->getDisabledSetting()->getTextColor(), (Rgb{86, 86, 86}));
  EXPECT_EQ(theme->getTextDrawer()->getLinkHoverSetting()->getTextColor(), (Rgb{17, 17, 17}));
  s::gui::drawer::IButton* button = theme->getButtonDrawer();
  EXPECT_EQ(button->getEnabledColor(), (Rgb{17, 17, 17}));
  EXPECT_EQ(button->getDisabledColor(), (Rgb{86, 86, 86}));
  EXPECT_EQ(button->getPushedColor(), (Rgb{17, 17, 17}));
  EXPECT_EQ(button->getFillColor(), (Rgb{25, 25, 25}));
  EXPECT_EQ(button->getNormalSetting()->getTextColor(), (Rgb{255, 255, 255}));
  EXPECT_EQ(button->getDisabledSetting()->getTextColor(), (Rgb{86, 86, 86}));
  EXPECT_EQ(button->getPushedSetting()->getTextColor(), (Rgb{255, 255, 255}));
  EXPECT_EQ(theme->getMenuDrawer()->getNormalSetting()->getTextColor(), (Rgb{255, 255, 255}));
  EXPECT_EQ(theme->getMenuDrawer()->getHoverSetting()->getTextColor(), (Rgb{116, 116, 116}));
  EXPECT_EQ(theme->getStatusBarDrawer()->getHeight(), 13);
  EXPECT_NE(theme->getComboDrawer(), nullptr);
  const auto* thin = dynamic_cast<ThinWindow*>(theme);
  ASSERT_NE(thin, nullptr);
  EXPECT_EQ(thin->getColor(14), (Rgb{0xC3, 0xEA, 0x00}));
  EXPECT_EQ(thin->getColor(15), (Rgb{0x19, 0x19, 0x19}));
  EXPECT_EQ(thin->getColor(0), (Rgb{}));
}

TEST_F(SkinnerTest, EveryThemeBuildsItsDrawersFromItsOwnColours) {
  // Window background c1 and border c2, button mark c4, text c6: a theme
  // given another theme's row would show here.
  const auto themes = ThinWindowPalette::themes();
  ASSERT_EQ(themes.size(), 16u);
  for (std::int32_t i = 0; i < 16; ++i) {
    const auto& row = themes[static_cast<std::size_t>(i)].colours;
    ISkin* theme = skinner->getTheme(i);
    SCOPED_TRACE(std::string(kThemeNames[i].begin(), kThemeNames[i].end()));
    EXPECT_EQ(theme->getWindowDrawer()->getBackground(), row[0]);
    EXPECT_EQ(theme->getWindowDrawer()->getBorderColor(), row[1]);
    EXPECT_EQ(theme->getButtonDrawer()->getEnabledColor(), row[3]);
    EXPECT_EQ(theme->getTextDrawer()->getNormalSetting()->getTextColor(), row[5]);
  }
  // The one pattern of the black themes: only c1 to c3 and c6 differ.
  for (std::size_t i = 3; i <= 5; ++i) {
    for (std::size_t c : {3u, 4u, 6u, 7u, 8u, 9u, 10u, 11u, 12u, 13u, 14u})
      EXPECT_EQ(themes[i].colours[c], themes[2].colours[c]) << i << " c" << c + 1;
  }
}

TEST_F(SkinnerTest, ChoosingFallsBackToTheDefaultThenTheFirstTheme) {
  struct Case {
    std::u16string stored, fallback, chosen;
  };
  const Case cases[] = {
      {u"Pink", u"Classic LG", u"Pink"},
      {u"classic lg", u"Classic LG", u"Classic LG"},  // letter case differs: not found
      {u"", u"Classic LG", u"Classic LG"},
      {u"Nope", u"Also nope", u"White"},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(skinner->chooseTheme(c.stored, c.fallback));
    EXPECT_EQ(current(), c.chosen);
  }
  Skinner* empty = Skinner::create();
  EXPECT_FALSE(empty->chooseTheme(u"White", u"White")) << "no theme to choose";
  EXPECT_EQ(empty->getCurrentTheme(), nullptr);
  EXPECT_EQ(empty->getName(), u"Basic");
  empty->loadThemes();
  EXPECT_EQ(empty->getThemeCount(), 0) << "only the ThinWindow set is known";
  empty->release();
}

TEST_F(SkinnerTest, ListenersHearAChangeInOrderAndNothingWhenTheThemeStays) {
  std::vector<std::string> log;
  Recorder window(log, "window"), button(log, "button");
  skinner->addListener(&window);
  skinner->addListener(&button);
  skinner->addListener(&window);  // already there
  skinner->chooseTheme(u"Classic LG", u"White");
  EXPECT_EQ(log, (std::vector<std::string>{"window0", "button0"}));
  skinner->chooseTheme(u"Classic LG", u"White");
  skinner->chooseTheme(u"nothing", u"Classic LG");
  EXPECT_EQ(log.size(), 2u) << "the same theme again notifies nobody";
  skinner->removeListener(&window);
  skinner->chooseTheme(u"Khaki", u"White");
  EXPECT_EQ(log, (std::vector<std::string>{"window0", "button0", "button0"}));
}

TEST_F(SkinnerTest, StoredThemeNameIsReadAndWrittenAsTheGroupsValue) {
  const std::filesystem::path file =
      std::filesystem::path(::testing::TempDir()) / "skinner-settings.xml";
  std::filesystem::remove(file);
  s::xml::MappedData* store = s::xml::MappedData::create();
  store->open(file.u16string().c_str());
  const char16_t* group = u"AboutWindow\\Skin";

  EXPECT_TRUE(skinner->chooseStoredTheme(store, group, u"Classic LG"));
  EXPECT_EQ(current(), u"Classic LG") << "nothing stored: the default";
  store->setValue(group, nullptr, u"Sky Blue");
  EXPECT_TRUE(skinner->chooseStoredTheme(store, group, u"Classic LG"));
  EXPECT_EQ(current(), u"Sky Blue");
  store->setValue(group, nullptr, u"SKY BLUE");
  EXPECT_TRUE(skinner->chooseStoredTheme(store, group, u"Classic LG"));
  EXPECT_EQ(current(), u"Classic LG") << "a broken name falls back to the default";

  skinner->chooseTheme(u"Orange", u"White");
  EXPECT_TRUE(skinner->storeCurrentTheme(store, group));
  Skinner* other = Skinner::makeThinWindowSkinner();
  other->chooseStoredTheme(store, group, u"Classic LG");
  EXPECT_EQ(other->getCurrentTheme()->getName(), u"Orange");
  Skinner* fresh = Skinner::create();
  EXPECT_FALSE(fresh->storeCurrentTheme(store, group)) << "no current theme";
  fresh->release();
  EXPECT_TRUE(skinner->chooseStoredTheme(nullptr, group, u"Beige"));
  EXPECT_EQ(current(), u"Beige");
  other->release();
  store->release();
  std::filesystem::remove(file);
}

TEST_F(SkinnerTest, ResetGivesTheThemesBackAndForgetsEverything) {
  std::vector<std::string> log;
  Recorder window(log, "window");
  skinner->addListener(&window);
  skinner->chooseTheme(u"Pink", u"White");
  skinner->reset();
  EXPECT_EQ(skinner->getName(), u"Basic");
  EXPECT_EQ(skinner->getThemeCount(), 0);
  EXPECT_TRUE(skinner->getThemeNames().empty());
  EXPECT_EQ(skinner->getCurrentTheme(), nullptr);
  skinner->notifyListeners();
  EXPECT_EQ(log.size(), 1u) << "listeners are forgotten";
}

TEST(ThinWindowTheme, SettingADrawerReleasesTheOneItHeld) {
  ThinWindow* theme = ThinWindow::build(u"Test", ThinWindowPalette::themes()[0].colours);
  EXPECT_EQ(theme->getName(), u"Test");
  theme->setWindowDrawer(theme->getWindowDrawer());  // the same: kept
  EXPECT_NE(theme->getWindowDrawer(), nullptr);
  theme->setWindowDrawer(nullptr);
  EXPECT_EQ(theme->getWindowDrawer(), nullptr);
  theme->release();
}

}  // namespace
