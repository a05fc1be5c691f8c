// Leaf components in a real window: attaching on the interface thread,
// hiding, deferred geometry and texts by entry id that follow the language.

#include <gtest/gtest.h>

#include "SpecialUi.h"
#include "gui/OnUi.h"
#include "gui/win/Component.h"
#include "gui/win/Window.h"
#include "lang/Localizer.h"

namespace {

using s::gui::win::Window;
using s::os::gui::Rect;

// A drawn component showing the text of one entry (a label in miniature).
class EntryText final : public s::gui::win::Component {
 public:
  explicit EntryText(std::int32_t entry)
      : Component(s::os::gui::WidgetKind::kDrawn, s::os::gui::AccessibleRole::kLabel),
        entry_(entry) {}
  std::u16string text() {
    return s::gui::onUi([this] { return text_; });
  }

 protected:
  void retext() override { text_ = language() != nullptr ? language()->text(entry_) : u""; }
  std::u16string accessibleText() override { return text_; }

 private:
  std::int32_t entry_;
  std::u16string text_;
};

class Components : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(s::os::gui::ui().start()) << s::os::gui::ui().displayError();
    table_ = s::lang::Localizer::createFromResource();
    s::os::gui::ui().call([this] { table_->selectLanguage(u"English"); });
    window_ = Window::create();
    window_->setLanguage(table_);
  }
  void TearDown() override {
    window_->release();
    table_->release();
  }
  SpecialUi ui_;
  s::lang::Localizer* table_ = nullptr;
  Window* window_ = nullptr;
};

TEST_F(Components, AChildAddedBeforeTheWindowShowsIsAttachedAndFollowsTheLanguage) {
  EntryText label(1002000);
  label.setPreferredSize(200, 20);
  window_->add(&label);  // from the test's thread, before the window shows
  ASSERT_EQ(ui_.widgets.size(), 1u);
  EXPECT_EQ(label.getWindow(), window_);
  EXPECT_EQ(label.text(), u"Erase Recoverable Data Now!");
  EXPECT_EQ(ui_.widgets[0]->accessibleNames.back(), u"Erase Recoverable Data Now!");
  window_->show(true, false);
  EXPECT_TRUE(label.isVisible());
  s::os::gui::ui().call([this] { table_->selectLanguage(u"German"); });
  EXPECT_EQ(label.text(), std::u16string(table_->text(1002000)));
  EXPECT_NE(label.text(), u"Erase Recoverable Data Now!");
  EXPECT_EQ(ui_.widgets[0]->accessibleNames.back(), label.text());
  window_->remove(&label, false);
  EXPECT_EQ(label.getWindow(), nullptr);
  EXPECT_FALSE(label.isVisible());
  s::os::gui::ui().call([this] { table_->selectLanguage(u"English"); });  // no longer listening
  EXPECT_NE(label.text(), u"Erase Recoverable Data Now!");
}

TEST_F(Components, HidingMovesTheControlAwayAndShowingBringsItBack) {
  EntryText label(1002000);
  window_->add(&label);
  label.setBounds(10, 20, 100, 30);
  const auto& places = ui_.widgets.at(0)->places;
  EXPECT_EQ(places.back(), (Rect{10, 20, 100, 30}));
  label.setVisible(false, false);
  EXPECT_EQ(places.back().x, -10000);
  EXPECT_EQ(places.back().y, -10000);
  EXPECT_FALSE(ui_.widgets[0]->visible);
  label.setVisible(true, false);
  EXPECT_TRUE(ui_.widgets[0]->visible);
  EXPECT_EQ(places.back().x, 0) << "the window's layout placed it again";
  window_->remove(&label, false);
}

TEST_F(Components, DeferredGeometryMovesTheControlOnceWithTheLastValues) {
  EntryText label(1002000);
  window_->add(&label);
  label.setOrigin(5, 7);
  const std::size_t before = ui_.widgets.at(0)->places.size();
  label.beginDeferring();
  label.setPosition(1, 2);
  label.setSize(50, 60);
  label.setBounds(3, 4, 70, 80);
  EXPECT_EQ(ui_.widgets[0]->places.size(), before);
  EXPECT_EQ(label.getWidth(), 70) << "values are stored at once";
  label.endDeferring();
  ASSERT_EQ(ui_.widgets[0]->places.size(), before + 1);
  EXPECT_EQ(ui_.widgets[0]->places.back(), (Rect{8, 11, 70, 80}));
  label.endDeferring();  // nothing pending: no move
  EXPECT_EQ(ui_.widgets[0]->places.size(), before + 1);
  window_->remove(&label, false);
}

TEST_F(Components, SizeLimitsFollowFixedSizesAndPercentages) {
  EntryText label(1002000);
  window_->setSize(400, 300);
  window_->add(&label);
  label.setPreferredSize(50, 10);
  label.setMaximumSize(30, 100);
  EXPECT_EQ(label.getMaximumWidth(), 50) << "the larger of preferred and maximum";
  EXPECT_EQ(label.getMaximumHeight(), 100);
  label.setWidthPercent(50);
  EXPECT_EQ(label.getMaximumWidth(), window_->getClientWidth() / 2);
  label.setFixedWidth(77);
  EXPECT_EQ(label.getPreferredWidth(), 77);
  EXPECT_EQ(label.getMaximumWidth(), 77);
  label.fitTo(10, 500);
  EXPECT_EQ(label.getWidth(), 77);
  EXPECT_EQ(label.getHeight(), 100);
  window_->remove(&label, false);
}

}  // namespace
