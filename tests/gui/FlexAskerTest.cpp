// The question window with real keys and a real window manager's close:
// Return answers with the default button, Tab moves it, the close box
// answers No, and a long message widens the window.

#include "gui/dialogs/FlexAsker.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <thread>

#include "app/win/AppBase.h"
#include "app/win/AppWindow.h"
#include "gui/win/Window.h"
#include "lang/Localizer.h"
#include "os/System.h"
#include "os/gui/Ui.h"

namespace {

using s::gui::dialogs::FlexAsker;

class FlexAskerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(s::os::gui::ui().start()) << s::os::gui::ui().displayError();
    app_ = s::app::win::AppBase::create();
    ASSERT_TRUE(app_->init({}));
    app_->getLanguageTable()->selectLanguage(u"English");
    record_ = s::app::win::AppWindow::create();
    record_->init(app_, 1, {u"FlexAskerWindow", 400, 200, false, true});
    asker_ = FlexAsker::create();
    asker_->bind(record_);
  }
  void TearDown() override {
    asker_->release();
    record_->release();
    app_->release();
  }

  // Asks on a thread of its own, does `act` with the window's title once it
  // shows, and returns once the question was answered.
  template <class Act>
  void askAnd(const std::u16string& message, Act act) {
    std::thread asking([&] { asker_->ask(nullptr, u"Question Under Test", message); });
    for (int i = 0; i < 500 && asker_->window() == nullptr; ++i) s::os::system().sleepMillis(10);
    ASSERT_NE(asker_->window(), nullptr);
    s::os::system().sleepMillis(300);  // mapped and focused
    act();
    asking.join();
  }
  static void keys(const char* keys) {
    const std::string command =
        "xdotool search --sync --name '^Question Under Test$' windowfocus --sync key " +
        std::string(keys);
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
  }

  s::app::win::AppBase* app_ = nullptr;
  s::app::win::AppWindow* record_ = nullptr;
  FlexAsker* asker_ = nullptr;
};

TEST_F(FlexAskerTest, ReturnAnswersWithTheDefaultButtonAndTabMovesIt) {
  struct Case {
    const char* keys;
    bool yes;
  };
  for (const Case& c : {Case{"Return", true}, Case{"Tab Return", false}, Case{"Tab Tab Return", true}}) {
    askAnd(u"Proceed?", [&] { keys(c.keys); });
    EXPECT_EQ(asker_->answeredYes(), c.yes) << c.keys;
  }
}

TEST_F(FlexAskerTest, TheCloseBoxAnswersNo) {
  askAnd(u"Proceed?", [&] { asker_->window()->close(); });
  EXPECT_FALSE(asker_->answeredYes());
}

TEST_F(FlexAskerTest, ALongMessageWidensTheWindow) {
  const std::u16string longMessage(160, u'W');
  std::int32_t width = 0;
  askAnd(longMessage, [&] {
    width = asker_->window()->getWidth();
    keys("Return");
  });
  EXPECT_GT(width, 400 + FlexAsker::kMessageGap) << "the message is wider than the default size";
}

}  // namespace
