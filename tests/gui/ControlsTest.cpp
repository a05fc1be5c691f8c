// The platform's own controls in a real window: what was configured before
// the native control existed reaches it when it is made.

#include <gtest/gtest.h>

#include "SpecialUi.h"
#include "gui/combobox/ComboBoxItem.h"
#include "gui/win/ComboBox.h"
#include "gui/win/ProgressBar.h"
#include "gui/win/Window.h"

namespace {

using s::gui::win::Window;

class Controls : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(s::os::gui::ui().start()) << s::os::gui::ui().displayError();
    window_ = Window::create();
  }
  void TearDown() override { window_->release(); }
  SpecialUi ui_;
  Window* window_ = nullptr;
};

TEST_F(Controls, AProgressBarConfiguredBeforeItIsAttachedShowsItsRangeAndPosition) {
  auto* bar = s::gui::win::ProgressBar::create();
  bar->setRange(0, 200);
  bar->setPosition(50);
  window_->add(bar);
  ASSERT_EQ(ui_.widgets.size(), 1u);
  EXPECT_EQ(ui_.widgets[0]->maximum, 200);
  EXPECT_EQ(ui_.widgets[0]->position, 50);
  bar->setPosition(150);
  EXPECT_EQ(ui_.widgets[0]->position, 150);
  window_->remove(bar, true);
}

TEST_F(Controls, AListGivesItsItemsAndSelectionToTheNativeList) {
  auto* list = s::gui::win::ComboBox::create();
  for (const char16_t* text : {u"C:\\ - System", u"D:\\", u"E:\\"}) {
    auto* item = s::gui::combobox::ComboBoxItem::create();
    item->setText(text);
    list->addItem(item);
  }
  list->select(2, false);
  window_->add(list);
  ASSERT_EQ(ui_.widgets.size(), 1u);
  EXPECT_EQ(ui_.widgets[0]->items,
            (std::vector<std::u16string>{u"C:\\ - System", u"D:\\", u"E:\\"}));
  EXPECT_EQ(ui_.widgets[0]->selected, 2);
  EXPECT_EQ(ui_.widgets[0]->accessibleNames.back(), u"E:\\");
  list->deleteItemAt(1);
  EXPECT_EQ(ui_.widgets[0]->items, (std::vector<std::u16string>{u"C:\\ - System", u"E:\\"}));
  window_->remove(list, true);
}

}  // namespace
