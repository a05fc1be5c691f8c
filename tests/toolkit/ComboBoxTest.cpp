// The drop-down list's selection rules, without a display (no native
// control: the list keeps its own state).

#include <gtest/gtest.h>

#include <vector>

#include "gui/combobox/ComboBoxItem.h"
#include "gui/win/ComboBox.h"

namespace {

using s::gui::combobox::ComboBoxItem;
using s::gui::win::ComboBox;

class Heard : public s::gui::IEventListener {
 public:
  std::vector<std::int32_t> codes;
  void onEvent(s::base::IObject*, std::int32_t code) override { codes.push_back(code); }
};

ComboBoxItem* item(const char16_t* text, std::int32_t value) {
  ComboBoxItem* made = ComboBoxItem::create();
  made->setText(text);
  made->setValue(value);
  return made;
}

class Lists : public ::testing::Test {
 protected:
  void SetUp() override {
    list_ = ComboBox::create();
    for (int i = 0; i < 3; ++i) list_->addItem(item(u"drive", 10 + i));
    list_->addSelectionListener(&heard_);
  }
  void TearDown() override { list_->release(); }
  ComboBox* list_ = nullptr;
  Heard heard_;
};

TEST_F(Lists, SelectingOutOfRangeSelectsTheFirstAndNotifiesOnlyOnAChange) {
  list_->select(2, true);
  list_->select(7, true);
  EXPECT_EQ(list_->getSelectedIndex(), 0);
  EXPECT_EQ(list_->getPreviousIndex(), 2);
  list_->select(-1, true);  // index 0 again: no change, nobody told
  EXPECT_EQ(heard_.codes, (std::vector<std::int32_t>{0, 0}));
  list_->select(1, false);
  EXPECT_EQ(list_->getSelectedIndex(), 1);
  EXPECT_EQ(heard_.codes.size(), 2u) << "a silent selection tells nobody";
  list_->selectByValue(12, true);
  EXPECT_EQ(list_->getSelectedItem()->getValue(), 12);
  EXPECT_EQ(list_->getPreviousItem()->getValue(), 11);
  list_->selectByValue(99, true);
  EXPECT_EQ(list_->getSelectedIndex(), 2) << "an unknown value changes nothing";
}

TEST_F(Lists, RemovingTheSelectedItemNotifiesButRemovingByIndexDoesNot) {
  list_->select(1, false);
  ComboBoxItem* taken = list_->getItem(1);
  list_->removeItem(taken);
  EXPECT_EQ(list_->getSelectedIndex(), -1);
  EXPECT_EQ(list_->getPreviousIndex(), -1);
  EXPECT_EQ(heard_.codes, (std::vector<std::int32_t>{0}));
  EXPECT_EQ(list_->getSelectedItem(), nullptr);
  taken->release();  // the caller owns a removed item

  list_->select(1, false);
  ComboBoxItem* last = list_->removeItemAt(1);
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(last->getValue(), 12);
  EXPECT_EQ(list_->getSelectedIndex(), -1);
  EXPECT_EQ(heard_.codes.size(), 1u) << "removeItemAt tells nobody";
  last->release();
  EXPECT_EQ(list_->removeItemAt(5), nullptr);
}

TEST_F(Lists, IndicesFollowInsertionsAndRemovalsBeforeThem) {
  list_->select(1, false);
  list_->select(2, false);  // previous 1, selected 2
  list_->insertItem(0, item(u"first", 9));
  EXPECT_EQ(list_->getSelectedIndex(), 3);
  EXPECT_EQ(list_->getPreviousIndex(), 2);
  ComboBoxItem* front = list_->removeItemAt(0);
  front->release();
  EXPECT_EQ(list_->getSelectedIndex(), 2);
  EXPECT_EQ(list_->getPreviousIndex(), 1);
  ComboBoxItem* beyond = item(u"beyond", 0);
  list_->insertItem(9, beyond);  // past the end: ignored, still the caller's
  EXPECT_EQ(list_->getItemCount(), 3);
  beyond->release();
}

TEST_F(Lists, DeletingFirstSelectsTheFirstItemSilently) {
  list_->select(2, false);
  list_->deleteItemByValue(11);
  EXPECT_EQ(list_->getItemCount(), 2);
  EXPECT_EQ(list_->getSelectedIndex(), 0);
  EXPECT_TRUE(heard_.codes.empty());
  list_->deleteItemAt(0);  // the selected one: the list is left without a selection
  EXPECT_EQ(list_->getSelectedIndex(), -1);
  EXPECT_EQ(heard_.codes, (std::vector<std::int32_t>{0}));
  EXPECT_EQ(list_->getItem(0)->getValue(), 12);
}

}  // namespace
