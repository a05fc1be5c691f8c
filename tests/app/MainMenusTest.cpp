// The main window's menus without a display: which command id does what,
// the language switch that is stored, and the pages the About items open.

#include "file/gui/dialogs/diskeraser/win/MainMenus.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/win/AppBase.h"
#include "app/win/AppWindow.h"
#include "gui/win/MenuEx.h"
#include "lang/LangPack.h"
#include "lang/Localizer.h"

namespace {

using s::file::gui::dialogs::diskeraser::win::MainMenus;

class MainMenusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app_ = s::app::win::AppBase::create();
    ASSERT_TRUE(app_->init({}));
    table_ = app_->getLanguageTable();
    table_->selectLanguage(u"English");
    record_ = s::app::win::AppWindow::create();
    record_->init(app_, 1);
    bar_ = s::gui::win::MenuEx::make(100);
    menus_ = std::make_unique<MainMenus>(record_, nullptr, table_, [this] { ++versions_; });
    menus_->build(bar_);
    log_ = ::testing::TempDir() + "menu-urls.txt";
    std::remove(log_.c_str());
    ::setenv("VONQ_OPEN_URL_LOG", log_.c_str(), 1);
  }
  void TearDown() override {
    ::unsetenv("VONQ_OPEN_URL_LOG");
    menus_.reset();
    bar_->release();
    record_->release();
    app_->release();
  }
  std::vector<std::string> opened() {
    std::ifstream in(log_);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  std::string text(std::int32_t id) {
    const std::u16string t = table_->text(id);
    return std::string(t.begin(), t.end());
  }

  s::app::win::AppBase* app_ = nullptr;
  s::lang::Localizer* table_ = nullptr;
  s::app::win::AppWindow* record_ = nullptr;
  s::gui::win::MenuEx* bar_ = nullptr;
  std::unique_ptr<MainMenus> menus_;
  std::string log_;
  int versions_ = 0;
};

TEST_F(MainMenusTest, CommandIdsKeepLanguagesBelowTheViewAndAboutItems) {
  const auto languages = static_cast<std::int32_t>(table_->languageCount());
  ASSERT_GT(languages, 30);
  ASSERT_LT(languages, MainMenus::kKeepOnTop) << "language ids must stay below the view ids";
  for (std::int32_t id = 0; id <= languages; ++id) EXPECT_TRUE(bar_->containsCommand(id)) << id;
  for (std::int32_t id : {100, 120, 125, 10000, 10100, 10200, 10900, 10950}) {
    EXPECT_TRUE(bar_->containsCommand(id)) << id;
  }
  EXPECT_FALSE(bar_->containsCommand(languages + 1));
  EXPECT_FALSE(menus_->onCommand(languages + 1)) << "an unknown id does nothing";
  EXPECT_FALSE(menus_->onCommand(4242));
}

TEST_F(MainMenusTest, ChoosingALanguageSwitchesTheTableAndStoresIt) {
  std::int32_t german = -1;
  for (std::uint32_t i = 0; i < table_->languageCount(); ++i) {
    if (std::u16string(table_->languageAt(i)->getEngName().getText()) == u"German") {
      german = static_cast<std::int32_t>(i);
    }
  }
  ASSERT_GE(german, 0);
  EXPECT_TRUE(menus_->onCommand(german));
  EXPECT_EQ(std::u16string(table_->currentLanguage()->getEngName().getText()), u"German");
  EXPECT_EQ(app_->getLanguageSetting(), u"German");
  EXPECT_EQ(text(609000), "Ansicht") << "the View title follows";
  menus_->onCommand(0);  // English again
  EXPECT_EQ(app_->getLanguageSetting(), u"English");
}

TEST_F(MainMenusTest, AboutItemsOpenTheirPagesAndTheVersionWindow) {
  const auto languages = static_cast<std::int32_t>(table_->languageCount());
  struct Case {
    std::int32_t command, page;
  };
  for (const Case& c : {Case{languages, 108500}, Case{10100, 500003}, Case{10200, 500004},
                        Case{10900, 108000}, Case{10950, 108200}}) {
    EXPECT_TRUE(menus_->onCommand(c.command)) << c.command;
  }
  const std::vector<std::string> pages = opened();
  ASSERT_EQ(pages.size(), 5u);
  const std::int32_t entries[] = {108500, 500003, 500004, 108000, 108200};
  for (std::size_t i = 0; i < pages.size(); ++i) EXPECT_EQ(pages[i], text(entries[i])) << i;
  EXPECT_TRUE(menus_->onCommand(MainMenus::kVersionInfo));
  EXPECT_EQ(versions_, 1);
}

}  // namespace
