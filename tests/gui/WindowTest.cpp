// Real windows on the display given by tests/support/gui/with-display: the
// close protocol, named events from workers, the title by entry id, and a
// window the platform could not make.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "SpecialUi.h"
#include "gui/drawer/ISkin.h"
#include "gui/drawer/IWindow.h"
#include "gui/drawer/Skinner.h"
#include "gui/win/Window.h"
#include "lang/Localizer.h"
#include "os/System.h"
#include "os/gui/Ui.h"

namespace {

using s::gui::IWindow;
using s::gui::win::Window;

class Counting : public s::gui::IEventListener {
 public:
  std::function<void(IWindow*)> onCall;
  std::atomic<int> calls{0};
  std::atomic<bool> onUiThread{true};
  void onEvent(s::base::IObject* sender, std::int32_t) override {
    ++calls;
    if (!s::os::gui::ui().onUiThread()) onUiThread = false;
    if (onCall) onCall(dynamic_cast<IWindow*>(sender));
  }
};

class Windows : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(s::os::gui::ui().start()) << s::os::gui::ui().displayError();
  }
};

TEST_F(Windows, SendEventFromAWorkerReturnsAfterTheListenersRanOnTheInterfaceThread) {
  Window* window = Window::create();
  Counting listener;
  std::atomic<bool> listenerDone{false};
  listener.onCall = [&](IWindow* sender) {
    EXPECT_EQ(std::u16string(sender->getEventName()), u"ProcessStatusUpdate");
    s::os::system().sleepMillis(50);  // the sender must still be waiting
    sender->setEventReply(sender->getEventArg1() + sender->getEventArg2() + sender->getEventArg3());
    listenerDone = true;
  };
  window->addUserEventListener(&listener);
  std::int32_t reply = -1;
  bool doneWhenReturned = false;
  std::thread worker([&] {
    reply = window->sendEvent(u"ProcessStatusUpdate", 1, 20, 300);
    doneWhenReturned = listenerDone.load();
  });
  worker.join();
  EXPECT_EQ(reply, 321);
  EXPECT_TRUE(doneWhenReturned);
  EXPECT_TRUE(listener.onUiThread);
  EXPECT_EQ(listener.calls, 1);
  window->release();
}

TEST_F(Windows, ACloseListenerCanKeepTheWindowOpenAndIsAskedAgain) {
  Window* window = Window::create();
  window->show(true, true);
  Counting veto;
  veto.onCall = [](IWindow* sender) { sender->cancelClose(); };
  window->addCloseListener(&veto);
  window->close();
  s::os::gui::ui().call([] {});  // the posted close request has been handled
  EXPECT_EQ(veto.calls, 1);
  EXPECT_FALSE(window->isClosed());
  EXPECT_TRUE(window->isVisible());
  veto.onCall = nullptr;
  window->close();
  window->waitUntilClosed();
  EXPECT_EQ(veto.calls, 2);
  EXPECT_FALSE(window->isVisible());
  window->close();  // closed already: nobody is asked
  s::os::gui::ui().call([] {});
  EXPECT_EQ(veto.calls, 2);
  window->release();
}

TEST_F(Windows, AWindowThePlatformCouldNotMakeAnswersZeroAndCallsNobody) {
  SpecialUi failing;
  failing.failWindows = true;
  Window* window = Window::create();
  failing.uninstall();
  ASSERT_EQ(failing.boxes.size(), 1u);
  EXPECT_EQ(failing.boxes[0], u"Error!: Window Creation Failed!");
  Counting listener;
  listener.onCall = [](IWindow* sender) { sender->setEventReply(7); };
  window->addUserEventListener(&listener);
  EXPECT_EQ(window->sendEvent(u"ProcessStatusStart", 0, 0, 0), 0);
  EXPECT_EQ(listener.calls, 0);
  window->setBounds(5, 6, 300, 200);  // geometry is still kept
  EXPECT_EQ(window->getWidth(), 300);
  EXPECT_FALSE(window->isVisible());
  window->release();
}

TEST_F(Windows, TheTitleByEntryFollowsTheLanguage) {
  s::lang::Localizer* table = s::lang::Localizer::createFromResource();
  ASSERT_NE(table, nullptr);
  Window* window = Window::create();
  Counting languageListener;
  window->addLanguageListener(&languageListener);
  s::os::gui::ui().call([&] { table->selectLanguage(u"English"); });
  window->setLanguage(table);
  window->setTitleId(500000, -1);
  EXPECT_EQ(window->getTitle(), u"Vonq Drive Scrubber");
  window->setTitleId(500000, 500010);
  EXPECT_EQ(window->getTitle(), u"Vonq Drive Scrubber v" + std::u16string(table->text(500010)));
  s::os::gui::ui().call([&] { table->selectLanguage(u"German"); });
  EXPECT_EQ(languageListener.calls, 1);
  EXPECT_EQ(window->getTitle(), std::u16string(table->text(500000)) + u" v" + table->text(500010));
  window->release();
  table->release();
}

TEST_F(Windows, ASkinnedWindowDrawsItsFrameWithTheCurrentThemeAndFollowsChanges) {
  using s::gui::drawer::Skinner;
  Skinner* skinner = Skinner::makeThinWindowSkinner();
  const auto frameOf = [skinner] { return skinner->getCurrentTheme()->getWindowDrawer(); };
  s::os::gui::ui().call([&] { skinner->chooseTheme(u"Classic LG", u"White"); });
  Window* window = Window::create();
  EXPECT_FALSE(window->hasSkin());
  EXPECT_EQ(window->getFrameDrawer(), nullptr);
  window->setSkin(skinner);
  EXPECT_TRUE(window->hasSkin());
  EXPECT_EQ(window->getSkin(), skinner);
  EXPECT_EQ(window->getFrameDrawer(), frameOf());
  EXPECT_EQ(window->getFrameDrawer()->getBackground(), (s::os::gui::Rgb{116, 116, 116}));

  s::os::gui::ui().call([&] { skinner->chooseTheme(u"Pink", u"White"); });
  EXPECT_EQ(window->getFrameDrawer(), frameOf()) << "the new theme's frame";
  window->setSize(320, 240);  // a new shape for the new size; must not fail
  window->show(true, false);
  window->show(false, false);

  // A window that is gone is no longer told.
  window->release();
  s::os::gui::ui().call([&] { skinner->chooseTheme(u"Khaki", u"White"); });
  Window* unbound = Window::create();
  unbound->setSkin(skinner);
  unbound->setSkin(nullptr);
  s::os::gui::ui().call([&] { skinner->chooseTheme(u"Orange", u"White"); });
  EXPECT_NE(unbound->getFrameDrawer(), frameOf()) << "unbound: keeps the frame it had";
  unbound->release();
  skinner->release();
}

}  // namespace
