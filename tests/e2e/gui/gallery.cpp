// A window with one of every toolkit control, for the GUI tests: they drive
// it through the accessibility tree and the pointer and read what its
// listeners saw from standard output, one line per event ("checked 1",
// "selected 2", "clicked", "command 101", "language German").

#include <cstdio>
#include <string>

#include "gui/IEventListener.h"
#include "gui/Scale.h"
#include "gui/combobox/ComboBoxItem.h"
#include "gui/menuitem/MenuItem.h"
#include "gui/win/Box.h"
#include "gui/win/Button.h"
#include "gui/win/CheckBox.h"
#include "gui/win/ComboBox.h"
#include "gui/win/Label.h"
#include "gui/win/MenuEx.h"
#include "gui/win/PopupMenu.h"
#include "gui/win/ProgressBar.h"
#include "gui/win/StatusBar.h"
#include "gui/win/Window.h"
#include "lang/LangPack.h"
#include "lang/Localizer.h"
#include "os/gui/Ui.h"

namespace {

using namespace s::gui::win;
using s::gui::menuitem::MenuItem;

void say(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

std::string ascii(const std::u16string& text) {
  return std::string(text.begin(), text.end());
}

// Reports what the controls tell and acts on the menu's commands.
class Reporter : public s::gui::IEventListener {
 public:
  Reporter(s::lang::Localizer* table, CheckBox* box, ComboBox* list, Button* button, MenuEx* bar,
           PopupMenu* languages)
      : table_(table), box_(box), list_(list), button_(button), bar_(bar), languages_(languages) {}

  void onEvent(s::base::IObject* sender, std::int32_t code) override {
    if (sender == static_cast<s::base::IObject*>(box_))
      say(code == 1 ? "checked 1" : "unchecked 2");
    if (sender == static_cast<s::base::IObject*>(list_))
      say("selected " + std::to_string(list_->getSelectedIndex()));
    if (sender == static_cast<s::base::IObject*>(button_)) say("clicked");
    if (sender == static_cast<s::base::IObject*>(bar_)) command(bar_->getLastCommand());
  }

 private:
  void command(std::int32_t id) {
    say("command " + std::to_string(id));
    if (id < 0 || static_cast<std::uint32_t>(id) >= table_->languageCount()) return;
    table_->selectLanguageAt(static_cast<std::uint32_t>(id));
    languages_->checkRadioAt(id);
    say("language " + ascii(table_->currentLanguage()->getEngName().getText()));
  }

  s::lang::Localizer* table_;
  CheckBox* box_;
  ComboBox* list_;
  Button* button_;
  MenuEx* bar_;
  PopupMenu* languages_;
};

PopupMenu* languageMenu(s::lang::Localizer* table) {
  PopupMenu* menu = PopupMenu::create();
  menu->setLanguage(table);
  menu->setTitleId(700000);
  for (std::uint32_t i = 0; i < table->languageCount(); ++i) {
    MenuItem* item = MenuItem::make(-1, nullptr, static_cast<std::int32_t>(i), false);
    item->setText(table->languageAt(i)->getTrueName().getText());
    menu->addItem(item);
  }
  return menu;
}

PopupMenu* viewMenu(s::lang::Localizer* table) {
  PopupMenu* menu = PopupMenu::create();
  menu->setLanguage(table);
  menu->setTitleId(609000);
  menu->addItem(MenuItem::make(609100, table, 100, false));
  menu->addItem(MenuItem::make(609300, table, 120, true));
  return menu;
}

// A row of controls with gaps between them.
Box* row(std::int32_t scale, std::initializer_list<s::gui::IComponent*> controls) {
  Box* line = Box::make(s::gui::IBox::kRow, 0, -1.0f, -1.0f, 1, 8 * scale);
  for (s::gui::IComponent* control : controls) line->add(control);
  return line;
}

// The window's body: the rows inside margins, taking the height the menu
// and status bars leave.
Box* content(std::int32_t scale, std::initializer_list<s::gui::IComponent*> first,
             std::initializer_list<s::gui::IComponent*> below) {
  Box* body =
      Box::make(s::gui::IBox::kColumn, 0, 100.0f, 100.0f, 0, 0, 8 * scale, 10 * scale, 8 * scale);
  body->add(row(scale, first));
  for (s::gui::IComponent* control : below) body->add(control);
  return body;
}

StatusBar* statusBar(std::int32_t scale) {
  StatusBar* status = StatusBar::make(2 * scale, 2 * scale);
  Label* label = Label::create();
  label->setText(u"Ready", false);
  status->add(label);
  return status;
}

}  // namespace

int main() {
  if (!s::os::gui::ui().start()) {
    std::fprintf(stderr, "gallery: %s\n", s::os::gui::ui().displayError().c_str());
    return 2;
  }
  s::lang::Localizer* table = s::lang::Localizer::createFromResource();
  s::os::gui::ui().call([table] { table->selectLanguage(u"English"); });
  const std::int32_t scale = s::gui::Scale::factor();

  Window* window = Window::create();
  window->setLanguage(table);
  window->setTitle(u"Toolkit Gallery");
  window->setEasyDrag(true);
  window->setSize(580 * scale, 300 * scale);

  MenuEx* bar = MenuEx::make(100);
  PopupMenu* languages = languageMenu(table);
  bar->addPopup(viewMenu(table));
  bar->addPopup(languages);
  bar->addItem(MenuItem::make(701000, table, 10000, false));
  auto* box = CheckBox::create();
  box->setTextId(1008200);
  auto* list = ComboBox::create();
  for (const char16_t* drive : {u"C:\\", u"D:\\", u"E:\\"}) {
    auto* item = s::gui::combobox::ComboBoxItem::create();
    item->setText(drive);
    list->addItem(item);
  }
  auto* button = Button::create();
  button->setTextId(1002000);
  auto* bar2 = ProgressBar::create();
  bar2->setPreferredSize(200 * scale, 16 * scale);
  bar2->setPosition(40);
  Reporter reporter(table, box, list, button, bar, languages);
  bar->addCommandListener(&reporter);
  box->addCheckedListener(&reporter);
  box->addUncheckedListener(&reporter);
  list->addSelectionListener(&reporter);
  button->addClickListener(&reporter);

  window->add(bar);
  window->add(content(scale, {list, button}, {box, bar2}));
  window->add(statusBar(scale));
  languages->checkRadioAt(0);
  window->show(true, true);
  say("ready");
  window->waitUntilClosed();
  window->removeAll(true);
  window->release();
  table->release();
  s::os::gui::ui().stop();
  return 0;
}
