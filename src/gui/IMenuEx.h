#pragma once

#include <cstdint>

#include "gui/IComponent.h"

namespace s::gui::menuitem {
class MenuItem;
}

namespace s::gui::drawer {
class IMenu;
}

namespace s::gui {

class IPopupMenu;

// The drawn menu bar: entries side by side, each a command (a MenuItem) or
// a drop-down (a PopupMenu); commands, also those chosen in a drop-down,
// reach the command listeners with code 0 (the command is
// getLastCommand()); open listeners hear code 1 before a drop-down opens.
// Operations after the component's, in this order. Any thread; listeners
// run on the interface thread.
class IMenuEx : public virtual IComponent {
 public:
  ~IMenuEx() override = default;
  // A size code (as fonts take it) on both the normal and the hover font.
  virtual void setFontSize(std::int32_t code) = 0;
  virtual void setBold(bool on) = 0;
  virtual void setUnderline(bool on) = 0;
  virtual void setWidthPercent(std::int32_t percent) = 0;
  virtual void setHeightPercent(std::int32_t percent) = 0;
  virtual void setFixedWidth(std::int32_t w) = 0;
  virtual void setFixedHeight(std::int32_t h) = 0;
  // Space around each entry's text, horizontally and vertically.
  virtual void setPadding(std::int32_t px, std::int32_t py) = 0;
  // Appends a command entry (the bar owns it).
  virtual void addItem(s::gui::menuitem::MenuItem* item) = 0;
  // Appends a drop-down entry (the bar owns it).
  virtual void addPopup(IPopupMenu* popup) = 0;
  virtual bool containsCommand(std::int32_t id) = 0;
  virtual bool isChecked(std::int32_t id) = 0;
  virtual void setChecked(std::int32_t id, bool on) = 0;
  virtual std::int32_t getLastCommand() = 0;
  virtual void addCommandListener(IEventListener* listener) = 0;
  virtual void fireCommand(std::int32_t id) = 0;
  virtual void addOpenListener(IEventListener* listener) = 0;
  // Replaces the drawer (released when replaced if `owned`).
  virtual void setDrawer(s::gui::drawer::IMenu* drawer, bool owned) = 0;
  virtual void setSingleEntry(bool on) = 0;
  virtual void refreshTexts() = 0;
  virtual void setOpenOnHover(bool on) = 0;
  virtual void setLastEntryRight(bool on) = 0;
  virtual void setLastEntryLink(bool on) = 0;
};

}  // namespace s::gui
