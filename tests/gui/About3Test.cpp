// The version window as a person sees it: its record's "Classic LG" theme
// shows in the window's own pixels (grey background, white text, the Close
// button framed in the theme's dark colour with a white caption on the
// grey). The
// picture is kept as about3-classic-lg.png in the test's temporary folder.

#include "gui/dialogs/About3.h"

#include <gtest/gtest.h>

#include <gtk/gtk.h>

#include <cstdio>
#include <filesystem>
#include <functional>

#include "TestApp.h"
#include "app/win/AppBase.h"
#include "app/win/AppWindow.h"
#include "gui/OnUi.h"
#include "gui/win/Button.h"
#include "gui/win/Label.h"
#include "gui/win/Window.h"
#include "lang/Localizer.h"
#include "map/IMappedData.h"
#include "os/System.h"
#include "os/gtk/GtkTopWindow.h"
#include "os/gui/Ui.h"

namespace {

using s::gui::IComponent;
using s::os::gui::Rect;
using s::os::gui::Rgb;

constexpr const char16_t* kSkinGroup = u"AboutWindow\\Skin";

// A picture of a window's client area, read back from the screen.
class Shot {
 public:
  explicit Shot(GdkPixbuf* pixbuf) : pixbuf_(pixbuf) {}
  ~Shot() {
    if (pixbuf_ != nullptr) g_object_unref(pixbuf_);
  }
  Shot(const Shot&) = delete;
  Shot& operator=(const Shot&) = delete;

  bool valid() const { return pixbuf_ != nullptr; }
  Rgb at(int x, int y) const {
    const guchar* row = gdk_pixbuf_get_pixels(pixbuf_) + y * gdk_pixbuf_get_rowstride(pixbuf_);
    const guchar* p = row + x * gdk_pixbuf_get_n_channels(pixbuf_);
    return Rgb{p[0], p[1], p[2]};
  }
  // How many pixels inside `area` satisfy `test`.
  int count(const Rect& area, const std::function<bool(Rgb)>& test) const {
    int found = 0;
    for (int y = std::max(0, area.y); y < std::min(area.bottom(), height()); ++y) {
      for (int x = std::max(0, area.x); x < std::min(area.right(), width()); ++x)
        found += test(at(x, y)) ? 1 : 0;
    }
    return found;
  }
  int width() const { return gdk_pixbuf_get_width(pixbuf_); }
  int height() const { return gdk_pixbuf_get_height(pixbuf_); }
  void save(const std::filesystem::path& file) const {
    gdk_pixbuf_save(pixbuf_, file.c_str(), "png", nullptr, nullptr);
  }

 private:
  GdkPixbuf* pixbuf_;
};

bool white(Rgb c) {
  return c.r >= 250 && c.g >= 250 && c.b >= 250;
}

// The first component under `root` (depth first) for which `match` holds.
IComponent* find(IComponent* root, const std::function<bool(IComponent*)>& match) {
  if (match(root)) return root;
  for (IComponent* child : root->getChildren()) {
    if (IComponent* found = find(child, match)) return found;
  }
  return nullptr;
}

class About3Test : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    app_ = vonq::gui_test::startApp(error);
    ASSERT_NE(app_, nullptr) << error;
    record_ = s::app::win::AppWindow::create();
    s::gui::onUi([&] {
      // "classic lg" is not a theme's name: the record's default is used.
      app_->getSettings()->setValue(kSkinGroup, nullptr, u"classic lg");
      record_->init(app_, 1, {u"AboutWindow", 340, 285, true, true, u"ThinWindow", u"Classic LG"});
    });
    about_ = s::gui::dialogs::About3::create();
    about_->bind(record_);
  }
  void TearDown() override {
    about_->release();
    s::gui::onUi([&] { app_->getSettings()->deleteValue(kSkinGroup, nullptr); });
    record_->release();
    app_->release();
  }

  // The window's client area as the screen shows it now.
  GdkPixbuf* grab() {
    s::gui::win::Window* window = about_->window();
    return s::gui::onUi([&]() -> GdkPixbuf* {
      GtkWindow* native = s::os::gtk::GtkTopWindow::gtkWindowOf(window->getNativeView());
      if (native == nullptr) return nullptr;
      GdkWindow* drawn = gtk_widget_get_window(GTK_WIDGET(native));
      return gdk_pixbuf_get_from_window(drawn, 0, 0, gdk_window_get_width(drawn),
                                        gdk_window_get_height(drawn));
    });
  }
  // Where `component` lies in the window's client area.
  Rect placeOf(IComponent* component) {
    s::gui::win::Window* window = about_->window();
    return Rect{component->getScreenX() - window->getScreenX(),
                component->getScreenY() - window->getScreenY(), component->getWidth(),
                component->getHeight()};
  }

  s::app::win::AppBase* app_ = nullptr;
  s::app::win::AppWindow* record_ = nullptr;
  s::gui::dialogs::About3* about_ = nullptr;
};

TEST_F(About3Test, TheClassicLgThemeShowsInTheWindowsPixels) {
  about_->show(nullptr);
  s::gui::win::Window* window = about_->window();
  ASSERT_NE(window, nullptr);
  for (int i = 0; i < 100 && !window->isVisible(); ++i) s::os::system().sleepMillis(10);
  s::os::system().sleepMillis(600);  // mapped and painted
  Shot shot(grab());
  ASSERT_TRUE(shot.valid());
  const auto file = std::filesystem::path(::testing::TempDir()) / "about3-classic-lg.png";
  shot.save(file);
  std::printf("the version window: %s\n", file.c_str());

  // The theme's background where no component draws its own.
  EXPECT_EQ(shot.at(4, shot.height() / 2), (Rgb{116, 116, 116}));

  IComponent* caption = find(window, [](IComponent* c) {
    auto* label = dynamic_cast<s::gui::win::Label*>(c);
    return label != nullptr && label->getText() == u"Version:";
  });
  ASSERT_NE(caption, nullptr);
  EXPECT_GT(shot.count(placeOf(caption), white), 0) << "white text on the caption";

  IComponent* close = find(window, [](IComponent* c) {
    auto* button = dynamic_cast<s::gui::win::Button*>(c);
    return button != nullptr && button->getText() == u"Close";
  });
  ASSERT_NE(close, nullptr);
  const Rect button = placeOf(close);
  EXPECT_GT(shot.count(button,
                       [](Rgb c) {
                         return c == Rgb{17, 17, 17};
                       }),
            2 * button.width)
      << "a frame in the theme's dark colour";
  EXPECT_GT(shot.count(button, white), 0) << "a white caption";
  EXPECT_GT(shot.count(button,
                       [](Rgb c) {
                         return c == Rgb{116, 116, 116};
                       }),
            button.width * button.height / 2)
      << "the face shows the window's background, not the desktop's button face";

  // The donation question sits on its own pale green: dark text, not the
  // theme's white, which could not be read there.
  IComponent* question = find(window, [](IComponent* c) {
    auto* label = dynamic_cast<s::gui::win::Label*>(c);
    return label != nullptr && label->getText() == u"Is this freeware useful?";
  });
  ASSERT_NE(question, nullptr);
  const Rect asked = placeOf(question);
  EXPECT_EQ(shot.count(asked, white), 0) << "no white text on pale green";
  EXPECT_GT(shot.count(asked, [](Rgb c) { return c.r + c.g + c.b < 150; }), 0) << "dark text";
  window->close();
}

}  // namespace
