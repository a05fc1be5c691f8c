#pragma once

#include <gtk/gtk.h>

#include <memory>

#include "os/gui/NativeMenu.h"

namespace s::os::gtk {

// A drop-down menu on GTK: a GtkMenu of GtkMenuItems (GtkCheckMenuItems
// for marked entries, drawn as radio items for radio marks). Commands reach
// the sink from the main loop after the menu closed, so a command's
// listener may open a modal window without holding up whoever chose it (an
// accessibility client waits for its action to return). Interface thread.
class GtkDropDown final : public s::os::gui::NativeMenu {
 public:
  explicit GtkDropDown(s::os::gui::MenuSink& sink);
  ~GtkDropDown() override = default;
  GtkDropDown(const GtkDropDown&) = delete;
  GtkDropDown& operator=(const GtkDropDown&) = delete;

  void destroy() override;
  std::int32_t count() override;
  void clear() override;
  void insertCommand(std::int32_t pos, std::u16string_view text, std::int32_t id) override;
  void insertSeparator(std::int32_t pos) override;
  void insertSubmenu(std::int32_t pos, s::os::gui::NativeMenu& submenu,
                     std::u16string_view text) override;
  void remove(std::int32_t pos) override;
  void setEntry(std::int32_t pos, std::u16string_view text, s::os::gui::MenuMark mark, bool marked,
                bool enabled) override;
  void popupBelow(s::os::gui::NativeWidget& anchor, const s::os::gui::Rect& area) override;
  void close() override;
  bool isOpen() override { return open_; }

 private:
  GtkWidget* entryAt(std::int32_t pos);
  void insert(std::int32_t pos, GtkWidget* entry);
  // Replaces the entry at `pos` by one of the right class for `mark`
  // (keeping its command and submenu).
  GtkWidget* ensureClass(std::int32_t pos, s::os::gui::MenuMark mark);
  static void onActivate(GtkMenuItem* item, gpointer self);
  static void onDeactivate(GtkMenuShell*, gpointer self);
  static gboolean onMotion(GtkWidget*, GdkEventMotion* event, gpointer self);

  s::os::gui::MenuSink& sink_;
  GtkWidget* menu_;
  bool open_ = false;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace s::os::gtk
