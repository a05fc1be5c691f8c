// The question window in a real window, keys given to its key handler:
// Return answers with the default button, Tab moves it, the close box
// answers No, and a long message widens the window.

#include "gui/dialogs/FlexAsker.h"

#include <gtest/gtest.h>

#include <gtk/gtk.h>

#include <initializer_list>
#include <string>
#include <thread>

#include "TestApp.h"
#include "app/win/AppBase.h"
#include "app/win/AppWindow.h"
#include "gui/win/Window.h"
#include "lang/Localizer.h"
#include "os/System.h"
#include "os/gtk/GtkTopWindow.h"
#include "os/gui/Ui.h"

namespace {

using s::gui::dialogs::FlexAsker;

class FlexAskerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    app_ = vonq::gui_test::startApp(error);
    ASSERT_NE(app_, nullptr) << error;
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
  // Key presses as GTK hands them to the window (in the window's own
  // key handler, on the interface thread).
  void keys(std::initializer_list<guint> keyvals) {
    s::gui::win::Window* window = asker_->window();
    s::os::gui::ui().call([&] {
      GtkWindow* native = s::os::gtk::GtkTopWindow::gtkWindowOf(window->getNativeView());
      ASSERT_NE(native, nullptr);
      for (guint keyval : keyvals) {
        GdkEvent* event = gdk_event_new(GDK_KEY_PRESS);
        event->key.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(GTK_WIDGET(native))));
        event->key.keyval = keyval;
        event->key.send_event = TRUE;
        event->key.time = GDK_CURRENT_TIME;
        gboolean handled = FALSE;
        g_signal_emit_by_name(native, "key-press-event", event, &handled);
        gdk_event_free(event);
      }
    });
  }

  s::app::win::AppBase* app_ = nullptr;
  s::app::win::AppWindow* record_ = nullptr;
  FlexAsker* asker_ = nullptr;
};

TEST_F(FlexAskerTest, ReturnAnswersWithTheDefaultButtonAndTabMovesIt) {
  struct Case {
    std::initializer_list<guint> keys;
    bool yes;
  };
  const Case cases[] = {{{GDK_KEY_Return}, true},
                        {{GDK_KEY_Tab, GDK_KEY_Return}, false},
                        {{GDK_KEY_Tab, GDK_KEY_Tab, GDK_KEY_Return}, true}};
  for (const Case& c : cases) {
    askAnd(u"Proceed?", [&] { keys(c.keys); });
    EXPECT_EQ(asker_->answeredYes(), c.yes) << c.keys.size() << " keys";
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
    keys({GDK_KEY_Return});
  });
  EXPECT_GT(width, 400 + FlexAsker::kMessageGap) << "the message is wider than the default size";
}

}  // namespace
