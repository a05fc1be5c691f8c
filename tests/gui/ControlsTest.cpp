// The platform's own controls in a real window: what was configured before
// the native control existed reaches it when it is made.

#include <gtest/gtest.h>

#include "SpecialUi.h"
#include "gui/combobox/ComboBoxItem.h"
#include "gui/win/Button.h"
#include "gui/win/CheckBox.h"
#include "gui/win/ComboBox.h"
#include "gui/win/ProgressBar.h"
#include "gui/win/Window.h"

namespace {

using s::gui::win::Window;

class Heard : public s::gui::IEventListener {
 public:
  std::vector<std::int32_t> codes;
  void onEvent(s::base::IObject*, std::int32_t code) override { codes.push_back(code); }
};

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

TEST_F(Controls, CheckBoxesTellTheirListenersOfRealChangesOnlyAndDriveTheirLinks) {
  auto* box = s::gui::win::CheckBox::create();
  auto* linked = s::gui::win::ProgressBar::create();
  box->setText(u"Wipe && keep");
  box->setChecked(true);  // before the native control: only stored
  Heard heard;
  box->addCheckedListener(&heard);
  box->addUncheckedListener(&heard);
  box->linkEnable(linked);
  window_->add(box);
  window_->add(linked);
  EXPECT_TRUE(ui_.widgets.at(0)->checked);
  EXPECT_EQ(ui_.widgets[0]->text, u"Wipe && keep") << "shown as it is";
  EXPECT_GT(box->getPreferredWidth(), box->getPreferredHeight());
  const std::int32_t normalWidth = box->getPreferredWidth();
  box->setFontSize(101);  // 15-point bold: measured again
  EXPECT_TRUE(box->isBold());
  EXPECT_GT(box->getPreferredWidth(), normalWidth);
  box->setChecked(true);
  EXPECT_TRUE(heard.codes.empty()) << "no change, nobody told";
  box->setCheckedSilently(false);
  EXPECT_FALSE(box->isChecked());
  EXPECT_TRUE(heard.codes.empty());
  EXPECT_TRUE(linked->isEnabled()) << "a silent change moves no link";
  box->setChecked(true);
  box->setChecked(false);
  EXPECT_EQ(heard.codes, (std::vector<std::int32_t>{1, 2}));
  EXPECT_FALSE(linked->isEnabled());
  box->setChecked(true);
  EXPECT_TRUE(linked->isEnabled());
  window_->remove(box, true);
  window_->remove(linked, true);
}

TEST_F(Controls, AToggleThatCannotBeReleasedStaysPushed) {
  auto* button = s::gui::win::Button::create();
  button->setText(u"Erase Recoverable Data Now!");
  Heard heard;
  button->addClickListener(&heard);
  button->addAfterClickListener(&heard);
  window_->add(button);
  EXPECT_EQ(ui_.widgets.at(0)->text, u"Erase Recoverable Data Now!");
  EXPECT_GT(button->getPreferredWidth(), 40) << "measured by the native control";
  button->setToggleMode(true, false, false, false);
  button->click();
  EXPECT_TRUE(button->isPushed());
  button->click();
  EXPECT_TRUE(button->isPushed()) << "cannot be released";
  EXPECT_EQ(heard.codes, (std::vector<std::int32_t>{1, 2, 1, 2}));
  button->setToggleMode(true, true, false, false);
  button->click();
  EXPECT_FALSE(button->isPushed());
  window_->remove(button, true);
}

}  // namespace
