#include "file/gui/dialogs/diskeraser/win/MainMenus.h"

#include "app/IAppBase.h"
#include "app/IAppWindow.h"
#include "gui/IMenuEx.h"
#include "gui/IWindow.h"
#include "gui/menuitem/MenuItem.h"
#include "gui/win/PopupMenu.h"
#include "lang/LangPack.h"
#include "lang/Localizer.h"
#include "str/strbuffer/StrBuffer.h"

namespace s::file::gui::dialogs::diskeraser::win {

using s::gui::menuitem::MenuItem;

namespace {

// Entry ids of the menus' titles and items, and of the pages they open.
constexpr std::int32_t kViewTitle = 609000;
constexpr std::int32_t kLanguageTitle = 700000;
constexpr std::int32_t kTranslateItem = 700001;
constexpr std::int32_t kAboutTitle = 701000;
constexpr std::int32_t kTranslatePage = 108500;

struct AboutItem {
  std::int32_t text;     // entry of the item's text; 0: a separator
  std::int32_t command;  // command id
  std::int32_t page;     // entry of the page's address; 0: none
};
constexpr AboutItem kAboutItems[] = {
    {701100, MainMenus::kVersionInfo, 0},
    {0, 0, 0},
    {701200, MainMenus::kSoftwarePage, 500003},
    {701300, MainMenus::kTellDevelopers, 500004},
    {0, 0, 0},
    {107000, MainMenus::kMoreSoftware, 108000},
    {0, 0, 0},
    {108100, MainMenus::kWorkplace, 108200},
};

}  // namespace

MainMenus::MainMenus(s::app::IAppWindow* record, s::gui::IWindow* window, s::lang::Localizer* table,
                     std::function<void()> showVersion)
    : record_(record), window_(window), table_(table), showVersion_(std::move(showVersion)) {}

void MainMenus::build(s::gui::IMenuEx* bar) {
  bar_ = bar;
  languages_ = makeLanguages();
  bar->addPopup(makeView());
  bar->addPopup(languages_);
  bar->addPopup(makeAbout());
}

s::gui::IPopupMenu* MainMenus::makeView() {
  auto* menu = s::gui::win::PopupMenu::create();
  menu->setLanguage(table_);
  menu->setTitleId(kViewTitle);
  menu->addItem(MenuItem::make(609100, table_, kKeepOnTop, record_->getKeepOnTop()));
  menu->addItem(MenuItem::make(609300, table_, kEasyDrag, record_->getEasyDrag()));
  menu->addItem(MenuItem::make(609350, table_, kMiddleClickClose, record_->isMiddleClickClose()));
  return menu;
}

s::gui::IPopupMenu* MainMenus::makeLanguages() {
  auto* menu = s::gui::win::PopupMenu::create();
  menu->setLanguage(table_);
  menu->setTitleId(kLanguageTitle);
  std::int32_t current = -1;
  const auto count = static_cast<std::int32_t>(table_->languageCount());
  for (std::int32_t i = 0; i < count; ++i) {
    const s::lang::LangPack* language = table_->languageAt(static_cast<std::uint32_t>(i));
    MenuItem* item = MenuItem::make(-1, nullptr, i, false);
    item->setText(language->getTrueName().getText());
    menu->addItem(item);
    if (language == table_->currentLanguage()) current = i;
  }
  menu->addItem(MenuItem::makeSeparator());
  menu->addItem(MenuItem::make(kTranslateItem, table_, count, false));
  if (current >= 0) menu->checkRadioAt(current);
  return menu;
}

s::gui::IPopupMenu* MainMenus::makeAbout() {
  auto* menu = s::gui::win::PopupMenu::create();
  menu->setLanguage(table_);
  menu->setTitleId(kAboutTitle);
  for (const AboutItem& item : kAboutItems) {
    menu->addItem(item.text == 0 ? MenuItem::makeSeparator()
                                 : MenuItem::make(item.text, table_, item.command, false));
  }
  return menu;
}

bool MainMenus::onCommand(std::int32_t id) {
  const auto languages = static_cast<std::int32_t>(table_->languageCount());
  if (id >= 0 && id < kKeepOnTop) {
    if (id == languages) {
      openEntry(kTranslatePage);
    } else if (id < languages) {
      chooseLanguage(id);
    }
    return id <= languages;
  }
  if (id == kKeepOnTop) {
    window_->setAlwaysOnTop(!flip(id));
  } else if (id == kEasyDrag) {
    window_->setEasyDrag(!flip(id));
  } else if (id == kMiddleClickClose) {
    window_->setMiddleClickAction(flip(id) ? u"DoNothing" : u"Close");
  } else if (id == kVersionInfo) {
    if (showVersion_) showVersion_();
  } else {
    for (const AboutItem& item : kAboutItems) {
      if (item.command == id && item.page != 0) {
        openEntry(item.page);
        return true;
      }
    }
    return false;
  }
  return true;
}

// Flips the item's mark; returns the mark it had.
bool MainMenus::flip(std::int32_t id) {
  const bool was = bar_->isChecked(id);
  bar_->setChecked(id, !was);
  return was;
}

void MainMenus::chooseLanguage(std::int32_t index) {
  table_->selectLanguageAt(static_cast<std::uint32_t>(index));
  const s::lang::LangPack* current = table_->currentLanguage();
  s::app::IAppBase* app = record_->getApp();
  if (current != nullptr && app != nullptr) {
    app->setLanguageSetting(std::u16string(current->getEngName().getText()));
  }
  languages_->checkRadioAt(index);
}

void MainMenus::openEntry(std::int32_t entry) {
  s::app::IAppBase* app = record_->getApp();
  if (app != nullptr) app->openUrl(table_->text(entry));
}

}  // namespace s::file::gui::dialogs::diskeraser::win
