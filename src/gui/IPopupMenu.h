#pragma once

#include <cstdint>
#include <string>

#include "gui/IEventListener.h"
#include "os/gui/Geometry.h"

namespace s::gui::menuitem {
class MenuItem;
}
namespace s::lang {
class Localizer;
}
namespace s::os::gui {
class NativeWidget;
}

namespace s::gui {

// A drop-down menu: entries (items and submenus) in order, texts by entry id
// that follow the language, check and radio marks that survive re-texting,
// and command listeners (code 0; the command is getLastCommand()).
// Operations in this order. Any thread (passed to the interface thread);
// listeners run there.
class IPopupMenu : public IEventListener {
 public:
  using MenuItem = s::gui::menuitem::MenuItem;
  ~IPopupMenu() override = default;

  // Appends (inserts at `pos`) an item; the menu owns it from now on.
  virtual void addItem(MenuItem* item) = 0;
  virtual void insertItem(std::int32_t pos, MenuItem* item) = 0;
  // Removes every entry, releasing items and submenus.
  virtual void clear() = 0;
  virtual void removeAt(std::int32_t pos) = 0;
  virtual void removeById(std::int32_t id) = 0;
  virtual void removeByKey(std::int32_t key) = 0;
  // The item with command `id` here (not in submenus); null when none.
  virtual MenuItem* findById(std::int32_t id) = 0;
  // True when an item here or in a submenu (at any depth) reports `id`.
  virtual bool containsCommand(std::int32_t id) = 0;
  // The position of the item with that id (key) in `out`; false when none.
  virtual bool indexOfId(std::int32_t id, std::int32_t& out) = 0;
  virtual bool indexOfKey(std::int32_t key, std::int32_t& out) = 0;
  virtual void enableSubmenu(IPopupMenu* submenu, bool on) = 0;
  virtual void enableItem(std::int32_t id, bool on) = 0;
  // Appends `popup` as a submenu under its title; the menu owns it.
  virtual void addSubmenu(IPopupMenu* popup) = 0;
  // Binds the language table (not owned) and listens to its changes.
  virtual void setLanguage(s::lang::Localizer* table) = 0;
  // The check mark of the item with `id`, here or in a submenu.
  virtual bool isChecked(std::int32_t id) = 0;
  virtual void setChecked(std::int32_t id, bool on) = 0;
  virtual void setItemText(std::int32_t id, const std::u16string& text) = 0;
  virtual void setItemTextId(std::int32_t id, std::int32_t textId) = 0;
  // Reads every text again and shows it (marks kept).
  virtual void refreshTexts() = 0;
  virtual std::u16string getTitle() = 0;
  virtual std::int32_t getItemCount() = 0;
  virtual void setTitleId(std::int32_t id) = 0;
  virtual void setTitle(const std::u16string& text) = 0;
  // The radio mark on the entry at `checkPos`; the items from `firstPos` to
  // `lastPos` record whether they hold it.
  virtual void checkRadioRange(std::int32_t checkPos, std::int32_t firstPos,
                               std::int32_t lastPos) = 0;
  // The same over the whole menu; a negative `pos` clears every radio mark.
  virtual void checkRadioAt(std::int32_t pos) = 0;
  virtual void checkRadioById(std::int32_t id) = 0;
  virtual void checkRadioByKey(std::int32_t key) = 0;
  virtual std::int32_t getLastCommand() = 0;
  virtual void addCommandListener(IEventListener* listener) = 0;
  // Last command = `id`; the command listeners hear code 0.
  virtual void fireCommand(std::int32_t id) = 0;
  // Opens the menu below `area` of `anchor` and returns at once.
  virtual void showBelow(s::os::gui::NativeWidget& anchor, const s::os::gui::Rect& area) = 0;
  virtual std::int32_t getEntryCount() = 0;
  // Closes the menu when it is open.
  virtual void close() = 0;
  virtual bool isOpen() = 0;
};

}  // namespace s::gui
