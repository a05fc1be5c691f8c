// Start-up rules of the program that need no display: the scale factor, the
// window-state record's groups and defaults, its colour theme, the language
// choice stored back, and the product page after a silent install.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "app/win/AppBase.h"
#include "app/win/AppWindow.h"
#include "app/win/CNulmarkApp.h"
#include "gui/Scale.h"
#include "gui/drawer/ISkin.h"
#include "gui/drawer/Skinner.h"
#include "lang/LangPack.h"
#include "lang/Localizer.h"
#include "map/IMappedData.h"
#include "os/RegistryStore.h"
#include "reg/MappedData.h"
#include "str/strbuffer/StrBuffer.h"

namespace {

using s::app::win::AppBase;
using s::app::win::AppWindow;

// The product's key, opened afresh for each check (what another start of
// the program would see).
class ProductKey {
 public:
  explicit ProductKey(const std::u16string& path) : data_(s::reg::MappedData::create()) {
    data_->open(s::os::RegRoot::kCurrentUser, path.c_str());
  }
  ~ProductKey() { data_->release(); }
  s::reg::MappedData& operator*() { return *data_; }
  s::reg::MappedData* operator->() { return data_; }
  std::u16string text(const char16_t* group, const char16_t* name) {
    s::str::strbuffer::StrBuffer* value = s::str::strbuffer::StrBuffer::create();
    data_->getValue(group, name, *value, u"", nullptr, false);
    std::u16string result = value->getText();
    value->release();
    return result;
  }

 private:
  s::reg::MappedData* data_;
};

class AppStart : public ::testing::Test {
 protected:
  void SetUp() override {
    app_ = AppBase::create();
    ASSERT_TRUE(app_->init({}));
    key_ = app_->productKey();
  }
  void TearDown() override { app_->release(); }
  // A start of the program with the settings as they are now.
  void restart(const std::vector<std::u16string>& arguments = {}) {
    ASSERT_TRUE(app_->init(arguments));
  }

  AppBase* app_ = nullptr;
  std::u16string key_;
};

TEST(Scale, FollowsThePrimaryScreen) {
  struct Case {
    int width, height, factor;
  };
  for (const Case& c :
       {Case{1920, 1080, 1}, Case{1920, 1620, 1}, Case{1921, 1620, 2}, Case{3840, 2160, 2},
        Case{4096, 2160, 2}, Case{4096, 3240, 2}, Case{4097, 3240, 4}, Case{0, 0, 1}}) {
    EXPECT_EQ(s::gui::Scale::forScreen(c.width, c.height), c.factor)
        << c.width << " x " << c.height;
  }
}

TEST_F(AppStart, WritesItsIdentityAndKeepsTheGeometryPerScale) {
  ProductKey saved(key_ + u"\\SaveData");
  EXPECT_EQ(saved.text(u"SoftwareType", u""), u"Freeware");
  EXPECT_EQ(saved.text(u"SoftwareID", u""), app_->getLanguageTable()->text(AppBase::kProductId));
  struct Case {
    int scale;
    const char16_t* group;
  };
  for (const Case& c : {Case{1, u"MainWindow\\View"}, Case{2, u"MainWindow\\View4K"},
                        Case{4, u"MainWindow\\View8K"}}) {
    AppWindow* record = AppWindow::create();
    record->init(app_, c.scale);
    record->forgetGeometry();
    EXPECT_FALSE(record->hasPosition());
    EXPECT_EQ(record->getWidth(), 400 * c.scale);
    EXPECT_EQ(record->getHeight(), 501 * c.scale);
    record->setPositionAndSize(10 * c.scale, 20, 333, 444);
    EXPECT_TRUE(saved->hasValue(c.group, u"X")) << c.scale;
    EXPECT_EQ(saved->getValue(c.group, u"Width", 0), 333);
    record->release();
  }
  // Each scale keeps its own geometry.
  AppWindow* record = AppWindow::create();
  record->init(app_, 2);
  EXPECT_EQ(record->getX(), 20);
  EXPECT_EQ(saved.text(u"MainWindow\\SoftwareType", u""), u"Freeware");
  record->release();
}

TEST_F(AppStart, ARecordWithThemesChoosesTheOneItsSkinValueNames) {
  s::map::IMappedData* store = app_->getSettings();
  const char16_t* group = u"AboutWindow\\Skin";
  struct Case {
    const char16_t* stored;  // null: nothing stored
    const char16_t* fallback;
    const char16_t* chosen;
  };
  int i = 0;
  for (const Case& c :
       {Case{nullptr, u"Classic LG", u"Classic LG"}, Case{u"Pink", u"Classic LG", u"Pink"},
        Case{u"classic lg", u"Classic LG", u"Classic LG"}, Case{u"", u"Classic LG", u"Classic LG"},
        Case{u"Nope", u"Also nope", u"White"}}) {
    if (c.stored == nullptr) {
      store->deleteValue(group, nullptr);
    } else {
      store->setValue(group, nullptr, c.stored);
    }
    AppWindow* record = AppWindow::create();
    record->init(app_, 1, {u"AboutWindow", 340, 285, true, true, u"ThinWindow", c.fallback});
    ASSERT_TRUE(record->hasOwnSkins());
    ASSERT_NE(record->getSkinner()->getCurrentTheme(), nullptr);
    EXPECT_EQ(record->getSkinner()->getCurrentTheme()->getName(), c.chosen) << "case " << i;
    record->release();
    ++i;
  }

  // The name a window stores is what the next record starts from; storing
  // the name again writes nothing new.
  AppWindow* record = AppWindow::create();
  record->init(app_, 1, {u"AboutWindow", 340, 285, true, true, u"ThinWindow", u"Classic LG"});
  record->setSkin(u"Orange");
  record->setSkin(u"Orange");
  EXPECT_EQ(record->getSkin(), u"Orange");
  record->release();
  AppWindow* next = AppWindow::create();
  next->init(app_, 1, {u"AboutWindow", 340, 285, true, true, u"ThinWindow", u"Classic LG"});
  EXPECT_EQ(next->getSkinner()->getCurrentTheme()->getName(), u"Orange");
  next->release();
  store->deleteValue(group, nullptr);
}

TEST_F(AppStart, ARecordWithoutThemesOrWithAnUnknownSetHasNoSkinner) {
  s::map::IMappedData* store = app_->getSettings();
  store->deleteValue(u"MainWindow\\Skin", nullptr);
  for (const char16_t* set : {static_cast<const char16_t*>(nullptr), u"Basic"}) {
    AppWindow* record = AppWindow::create();
    record->init(app_, 1, {u"MainWindow", 400, 501, true, false, set, u"White"});
    EXPECT_FALSE(record->hasOwnSkins());
    EXPECT_EQ(record->getSkinner(), nullptr);
    EXPECT_EQ(record->getSkin(), u"");
    record->setSkin(u"Pink");
    EXPECT_FALSE(store->hasValue(u"MainWindow\\Skin", nullptr)) << "nothing to remember";
    record->release();
  }
}

TEST_F(AppStart, ViewOptionsHaveTheirDefaultsAndTheMiddleClickIsNormalised) {
  ProductKey saved(key_ + u"\\SaveData");
  saved->deleteGroup(u"MainWindow\\View");
  AppWindow* record = AppWindow::create();
  record->init(app_, 1);
  EXPECT_TRUE(record->getEasyDrag());
  EXPECT_FALSE(record->getKeepOnTop());
  EXPECT_FALSE(record->getMaximized());
  EXPECT_EQ(record->getMiddleClick(), u"Close");
  for (const char16_t* stored : {u"Minimize", u"", u"close "}) {
    saved->setValue(u"MainWindow\\View", u"OnMClick", stored);
    record->init(app_, 1);
    EXPECT_EQ(record->getMiddleClick(), u"DoNothing") << std::string(stored, stored + 1);
  }
  record->setMiddleClick(u"Iconize");
  EXPECT_EQ(saved.text(u"MainWindow\\View", u"OnMClick"), u"Iconize");
  record->setKeepOnTop(true);
  record->init(app_, 1);
  EXPECT_TRUE(record->isMiddleClickIconize());
  EXPECT_TRUE(record->getKeepOnTop());
  record->release();
}

TEST_F(AppStart, AnUnknownStoredLanguageBecomesEnglishAndIsStoredBack) {
  ProductKey saved(key_ + u"\\SaveData");
  saved->setValue(u"Language", u"", u"Klingon");
  restart();
  EXPECT_EQ(saved.text(u"Language", u""), u"English");
  EXPECT_EQ(std::u16string(app_->getLanguageTable()->currentLanguage()->getEngName().getText()),
            u"English");
  saved->setValue(u"Language", u"", u"German");
  restart();
  EXPECT_EQ(app_->getLanguageSetting(), u"German");
  EXPECT_EQ(saved.text(u"Language", u""), u"German");
  saved->deleteValue(u"Language", u"");
  restart();
  EXPECT_FALSE(saved.text(u"Language", u"").empty()) << "the system's language is stored";
}

TEST_F(AppStart, TheProductPageOpensOnceAfterASilentInstall) {
  const std::string log = ::testing::TempDir() + "opened-urls.txt";
  std::remove(log.c_str());
  ::setenv("VONQ_OPEN_URL_LOG", log.c_str(), 1);
  ProductKey(key_)->deleteValue(u"", u"Silent");
  EXPECT_FALSE(app_->openPageAfterSilentInstall()) << "no flag, no page";
  ProductKey(key_)->setValue(u"", u"Silent", static_cast<std::int32_t>(1));
  EXPECT_TRUE(app_->openPageAfterSilentInstall());
  EXPECT_FALSE(ProductKey(key_)->hasValue(u"", u"Silent"));
  EXPECT_FALSE(app_->openPageAfterSilentInstall()) << "only once";
  // A start with an argument leaves the installer's flag for a plain start.
  ProductKey(key_)->setValue(u"", u"Silent", static_cast<std::int32_t>(1));
  restart({u"/restart"});
  EXPECT_FALSE(s::app::win::CNulmarkApp::openPageOnPlainStart(*app_));
  EXPECT_TRUE(ProductKey(key_)->hasValue(u"", u"Silent"));
  restart();
  EXPECT_TRUE(s::app::win::CNulmarkApp::openPageOnPlainStart(*app_));
  ::unsetenv("VONQ_OPEN_URL_LOG");
  std::ifstream opened(log);
  std::string line;
  std::getline(opened, line);
  EXPECT_NE(line.find("http"), std::string::npos) << line;
  std::getline(opened, line);
  EXPECT_NE(line.find("http"), std::string::npos) << "the plain start opened it";
  EXPECT_FALSE(std::getline(opened, line)) << "opened a third time: " << line;
}

}  // namespace
