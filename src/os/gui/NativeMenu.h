#pragma once

#include <cstdint>
#include <string_view>

#include "os/gui/Geometry.h"

namespace s::os::gui {

class NativeWidget;

// What a native drop-down menu tells its owner, on the interface thread.
class MenuSink {
 public:
  virtual ~MenuSink() = default;
  // The user chose the entry with command `id` (told from the main loop,
  // after the menu closed).
  virtual void onCommand(std::int32_t id) = 0;
  // The menu closed (chosen, dismissed or closed by close()).
  virtual void onClosed() = 0;
  // While the menu is open the pointer moved to (screenX, screenY), also
  // outside the menu (so a menu bar can switch to another drop-down).
  virtual void onPointer(std::int32_t screenX, std::int32_t screenY) = 0;
};

// How an entry is marked.
enum class MenuMark : std::uint8_t { kNone, kCheck, kRadio };

// The platform's drop-down menu: entries at positions 0.., each a command,
// a separator or a submenu. Made by Ui::createMenu; ends with destroy().
// Interface thread only.
class NativeMenu {
 public:
  virtual ~NativeMenu() = default;
  virtual void destroy() = 0;
  virtual std::int32_t count() = 0;
  virtual void clear() = 0;
  // Inserts at `pos` (appends when `pos` is the count or beyond).
  virtual void insertCommand(std::int32_t pos, std::u16string_view text, std::int32_t id) = 0;
  virtual void insertSeparator(std::int32_t pos) = 0;
  // `submenu` (made by Ui::createMenu, still owned by its maker) opens from
  // the entry; its sink hears its own commands.
  virtual void insertSubmenu(std::int32_t pos, NativeMenu& submenu, std::u16string_view text) = 0;
  virtual void remove(std::int32_t pos) = 0;
  // The entry's text, mark (`marked`: shown or not) and whether it can be
  // chosen. Never reports a command.
  virtual void setEntry(std::int32_t pos, std::u16string_view text, MenuMark mark, bool marked,
                        bool enabled) = 0;
  // Opens the menu below `area` (in `anchor`'s coordinates) and returns at
  // once; the sink hears the rest.
  virtual void popupBelow(NativeWidget& anchor, const Rect& area) = 0;
  // Closes the menu when it is open (the sink hears onClosed).
  virtual void close() = 0;
  virtual bool isOpen() = 0;
};

}  // namespace s::os::gui
