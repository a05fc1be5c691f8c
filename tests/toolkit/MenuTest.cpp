// Menus without a display: commands, marks that survive re-texting,
// submenus searched for their items.

#include <gtest/gtest.h>

#include <vector>

#include "gui/menuitem/MenuItem.h"
#include "gui/win/MenuEx.h"
#include "gui/win/PopupMenu.h"
#include "lang/Localizer.h"

namespace {

using s::gui::menuitem::MenuItem;
using s::gui::win::MenuEx;
using s::gui::win::PopupMenu;

class Commands : public s::gui::IEventListener {
 public:
  explicit Commands(std::vector<int>& log, int who) : log_(log), who_(who) {}
  void onEvent(s::base::IObject* sender, std::int32_t code) override {
    auto* bar = dynamic_cast<s::gui::IMenuEx*>(sender);
    log_.push_back(who_ * 1000 + (bar != nullptr ? bar->getLastCommand() : -1) * 10 + code);
  }

 private:
  std::vector<int>& log_;
  int who_;
};

class Menus : public ::testing::Test {
 protected:
  void SetUp() override {
    table_ = s::lang::Localizer::createFromResource();
    table_->selectLanguage(u"English");
    view_ = PopupMenu::create();
    view_->setTitleId(1000000 + 0);  // any entry: the title follows the table
    view_->addItem(MenuItem::make(1002000, table_, 100, true));
    view_->addItem(MenuItem::makeSeparator());
    language_ = PopupMenu::create();
    language_->setTitle(u"Language");
    for (int id = 0; id < 3; ++id)
      language_->addItem(MenuItem::make(1012000 + id * 100, table_, id, false));
    view_->addSubmenu(language_);
    view_->setLanguage(table_);
  }
  void TearDown() override {
    view_->release();  // with its submenu
    table_->release();
  }
  s::lang::Localizer* table_ = nullptr;
  PopupMenu* view_ = nullptr;
  PopupMenu* language_ = nullptr;
};

TEST_F(Menus, MarksAreFoundInSubmenusAndSurviveALanguageChange) {
  EXPECT_TRUE(view_->containsCommand(2)) << "an item of the submenu";
  EXPECT_FALSE(view_->containsCommand(7));
  EXPECT_EQ(view_->findById(2), nullptr) << "findById looks here only";
  view_->setChecked(1, true);
  EXPECT_TRUE(language_->findById(1)->isChecked());
  EXPECT_TRUE(view_->isChecked(1));
  language_->checkRadioById(2);
  const std::u16string english = language_->findById(2)->getText();
  table_->selectLanguage(u"German");
  EXPECT_NE(language_->findById(2)->getText(), english) << "re-read in the new language";
  EXPECT_TRUE(language_->findById(2)->isRadio());
  EXPECT_TRUE(view_->isChecked(100));
  EXPECT_TRUE(view_->isChecked(1));
  language_->checkRadioAt(-1);
  for (int id = 0; id < 3; ++id) EXPECT_FALSE(language_->findById(id)->isRadio()) << id;
}

TEST_F(Menus, EntriesAreRemovedByIdAndKeyAndCounted) {
  EXPECT_EQ(view_->getEntryCount(), 3);
  EXPECT_EQ(view_->getItemCount(), 2);
  language_->findById(1)->setKey(42);
  std::int32_t pos = -1;
  EXPECT_TRUE(language_->indexOfKey(42, pos));
  EXPECT_EQ(pos, 1);
  language_->removeByKey(42);
  EXPECT_FALSE(language_->containsCommand(1));
  language_->removeById(0);
  EXPECT_EQ(language_->getEntryCount(), 1);
  EXPECT_FALSE(language_->indexOfId(0, pos));
}

TEST(MenuBar, CommandsReachEveryListenerInOrder) {
  MenuEx* bar = MenuEx::make(100);
  std::vector<int> log;
  Commands first(log, 1);
  Commands second(log, 2);
  bar->addCommandListener(&first);
  bar->addCommandListener(&second);
  bar->addItem(MenuItem::make(-1, nullptr, 123, false));
  PopupMenu* popup = PopupMenu::create();
  popup->addItem(MenuItem::make(-1, nullptr, 7, false));
  bar->addPopup(popup);
  EXPECT_TRUE(bar->containsCommand(123));
  EXPECT_TRUE(bar->containsCommand(7));
  bar->fireCommand(123);
  EXPECT_EQ(log, (std::vector<int>{1000 + 1230, 2000 + 1230}));
  popup->fireCommand(7);  // chosen in the drop-down: the bar reports it
  EXPECT_EQ(log.back(), 2000 + 70);
  EXPECT_EQ(bar->getLastCommand(), 7);
  bar->release();
}

}  // namespace
