// Boxes in a real window: native container controls their children live
// in, margins as the children's origin, one native move per child and pass.

#include <gtest/gtest.h>

#include "SpecialUi.h"
#include "gui/win/Box.h"
#include "gui/win/Component.h"
#include "gui/win/Window.h"

namespace {

using s::gui::IBox;
using s::gui::win::Box;
using s::gui::win::Window;
using s::os::gui::Rect;

class Block final : public s::gui::win::Component {
 public:
  Block(std::int32_t w, std::int32_t h)
      : Component(s::os::gui::WidgetKind::kDrawn, s::os::gui::AccessibleRole::kPanel) {
    setPreferredSize(w, h);
    setMaximumSize(w, h);
  }
};

class Boxes : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(s::os::gui::ui().start()) << s::os::gui::ui().displayError();
    window_ = Window::create();
    window_->setSize(500, 300);
  }
  void TearDown() override { window_->release(); }
  SpecialUi ui_;
  Window* window_ = nullptr;
};

TEST_F(Boxes, AConfiguredBoxGivesItsChildrenNativeControlsInsideItWhenAttached) {
  Block leaf(40, 10);
  Box* box = Box::make(IBox::kColumn, 0, 100.0f);
  box->setMargins(6, false);
  box->add(&leaf);
  EXPECT_TRUE(ui_.widgets.empty()) << "nothing native before the box is in a window";
  window_->add(box);
  ASSERT_EQ(ui_.widgets.size(), 2u);  // the box, then the leaf inside it
  const std::int32_t client = window_->getClientWidth();
  EXPECT_EQ(box->getMaximumWidth(), client);
  EXPECT_EQ(box->getWidth(), client) << "a 100 % box is fitted to the window's width";
  EXPECT_EQ(ui_.widgets[0]->places.back(), (Rect{0, 0, client, 22}));
  EXPECT_EQ(ui_.widgets[1]->places.back(), (Rect{6, 6, 40, 10})) << "inside the margins";
  EXPECT_EQ(leaf.getWindow(), window_);
  window_->remove(box, false);
  EXPECT_EQ(leaf.getWindow(), nullptr) << "the leaf went with its box";
  box->removeAll(false);
  box->release();
}

TEST_F(Boxes, APassMovesEachNativeControlOnce) {
  Block first(40, 10);
  Block second(40, 10);
  Box* box = Box::make(IBox::kRow, 0, -1.0f, -1.0f, 0, 5);
  box->add(&first);
  box->add(&second);
  window_->add(box);
  const std::size_t before = ui_.widgets.at(2)->places.size();
  box->setGapX(9);
  box->layout();
  ASSERT_EQ(ui_.widgets[2]->places.size(), before + 1);
  EXPECT_EQ(ui_.widgets[2]->places.back(), (Rect{49, 0, 40, 10}));
  window_->remove(box, false);
  box->removeAll(false);
  box->release();
}

}  // namespace
