#include "os/gtk/GtkDropDown.h"

#include "os/gtk/GtkChildWidget.h"
#include "os/gtk/Utf.h"

namespace s::os::gtk {

using s::os::gui::MenuMark;

namespace {

constexpr const char* kCommand = "vonq-command";
constexpr const char* kMark = "vonq-mark";

}  // namespace

GtkDropDown::GtkDropDown(s::os::gui::MenuSink& sink) : sink_(sink), menu_(gtk_menu_new()) {
  g_object_ref_sink(menu_);
  g_signal_connect(menu_, "deactivate", G_CALLBACK(&GtkDropDown::onDeactivate), this);
  gtk_widget_add_events(menu_, GDK_POINTER_MOTION_MASK);
  g_signal_connect(menu_, "motion-notify-event", G_CALLBACK(&GtkDropDown::onMotion), this);
}

void GtkDropDown::destroy() {
  *alive_ = false;
  g_signal_handlers_disconnect_by_data(menu_, this);
  gtk_widget_destroy(menu_);
  g_object_unref(menu_);
  delete this;
}

std::int32_t GtkDropDown::count() {
  GList* children = gtk_container_get_children(GTK_CONTAINER(menu_));
  const auto n = static_cast<std::int32_t>(g_list_length(children));
  g_list_free(children);
  return n;
}

GtkWidget* GtkDropDown::entryAt(std::int32_t pos) {
  GList* children = gtk_container_get_children(GTK_CONTAINER(menu_));
  GList* found = pos >= 0 ? g_list_nth(children, static_cast<guint>(pos)) : nullptr;
  GtkWidget* entry = found != nullptr ? GTK_WIDGET(found->data) : nullptr;
  g_list_free(children);
  return entry;
}

void GtkDropDown::insert(std::int32_t pos, GtkWidget* entry) {
  gtk_menu_shell_insert(GTK_MENU_SHELL(menu_), entry, pos < count() ? pos : -1);
  gtk_widget_show(entry);
}

void GtkDropDown::clear() {
  GList* children = gtk_container_get_children(GTK_CONTAINER(menu_));
  for (GList* child = children; child != nullptr; child = child->next) {
    // A submenu belongs to its own maker: take it off before the entry goes.
    if (GTK_IS_MENU_ITEM(child->data))
      gtk_menu_item_set_submenu(GTK_MENU_ITEM(child->data), nullptr);
    gtk_widget_destroy(GTK_WIDGET(child->data));
  }
  g_list_free(children);
}

void GtkDropDown::insertCommand(std::int32_t pos, std::u16string_view text, std::int32_t id) {
  GtkWidget* entry = gtk_menu_item_new_with_label(toUtf8(text).c_str());
  g_object_set_data(G_OBJECT(entry), kCommand, GINT_TO_POINTER(id));
  g_signal_connect(entry, "activate", G_CALLBACK(&GtkDropDown::onActivate), this);
  insert(pos, entry);
}

void GtkDropDown::insertSeparator(std::int32_t pos) {
  insert(pos, gtk_separator_menu_item_new());
}

void GtkDropDown::insertSubmenu(std::int32_t pos, s::os::gui::NativeMenu& submenu,
                                std::u16string_view text) {
  auto* sub = dynamic_cast<GtkDropDown*>(&submenu);
  if (sub == nullptr) return;
  GtkWidget* entry = gtk_menu_item_new_with_label(toUtf8(text).c_str());
  gtk_menu_item_set_submenu(GTK_MENU_ITEM(entry), sub->menu_);
  insert(pos, entry);
}

void GtkDropDown::remove(std::int32_t pos) {
  if (GtkWidget* entry = entryAt(pos)) {
    gtk_menu_item_set_submenu(GTK_MENU_ITEM(entry), nullptr);
    gtk_widget_destroy(entry);
  }
}

GtkWidget* GtkDropDown::ensureClass(std::int32_t pos, MenuMark mark) {
  GtkWidget* entry = entryAt(pos);
  if (entry == nullptr || GTK_IS_SEPARATOR_MENU_ITEM(entry)) return entry;
  const bool checkable = GTK_IS_CHECK_MENU_ITEM(entry);
  if (checkable == (mark != MenuMark::kNone)) return entry;
  GtkWidget* replacement = mark != MenuMark::kNone ? gtk_check_menu_item_new_with_label("")
                                                   : gtk_menu_item_new_with_label("");
  g_object_set_data(G_OBJECT(replacement), kCommand, g_object_get_data(G_OBJECT(entry), kCommand));
  if (GtkWidget* submenu = gtk_menu_item_get_submenu(GTK_MENU_ITEM(entry))) {
    g_object_ref(submenu);
    gtk_menu_item_set_submenu(GTK_MENU_ITEM(entry), nullptr);
    gtk_menu_item_set_submenu(GTK_MENU_ITEM(replacement), submenu);
    g_object_unref(submenu);
  } else {
    g_signal_connect(replacement, "activate", G_CALLBACK(&GtkDropDown::onActivate), this);
  }
  gtk_widget_destroy(entry);
  insert(pos, replacement);
  return replacement;
}

void GtkDropDown::setEntry(std::int32_t pos, std::u16string_view text, MenuMark mark, bool marked,
                           bool enabled) {
  GtkWidget* entry = ensureClass(pos, mark);
  if (entry == nullptr || GTK_IS_SEPARATOR_MENU_ITEM(entry)) return;
  gtk_menu_item_set_use_underline(GTK_MENU_ITEM(entry), FALSE);
  gtk_menu_item_set_label(GTK_MENU_ITEM(entry), toUtf8(text).c_str());
  if (GTK_IS_CHECK_MENU_ITEM(entry)) {
    g_object_set_data(G_OBJECT(entry), kMark,
                      GINT_TO_POINTER(1));  // the program sets it, not the user
    gtk_check_menu_item_set_draw_as_radio(GTK_CHECK_MENU_ITEM(entry), mark == MenuMark::kRadio);
    gtk_check_menu_item_set_active(GTK_CHECK_MENU_ITEM(entry), marked);
    g_object_set_data(G_OBJECT(entry), kMark, nullptr);
  }
  gtk_widget_set_sensitive(entry, enabled);
}

void GtkDropDown::popupBelow(s::os::gui::NativeWidget& anchor, const s::os::gui::Rect& area) {
  open_ = true;
  auto* child = dynamic_cast<GtkChildWidget*>(&anchor);
  GdkWindow* window = child != nullptr ? gtk_widget_get_window(child->widget()) : nullptr;
  if (window == nullptr) {
    gtk_menu_popup_at_pointer(GTK_MENU(menu_), nullptr);
    return;
  }
  GdkRectangle rect{area.x, area.y, area.width, area.height};
  if (!gtk_widget_get_has_window(child->widget())) {
    GtkAllocation allocation;
    gtk_widget_get_allocation(child->widget(), &allocation);
    rect.x += allocation.x;
    rect.y += allocation.y;
  }
  gtk_menu_popup_at_rect(GTK_MENU(menu_), window, &rect, GDK_GRAVITY_SOUTH_WEST,
                         GDK_GRAVITY_NORTH_WEST, nullptr);
}

void GtkDropDown::close() {
  if (open_) gtk_menu_shell_deactivate(GTK_MENU_SHELL(menu_));
}

void GtkDropDown::onActivate(GtkMenuItem* item, gpointer self) {
  if (g_object_get_data(G_OBJECT(item), kMark) != nullptr) return;  // a mark set by the program
  if (gtk_menu_item_get_submenu(item) != nullptr) return;
  struct Later {
    std::shared_ptr<bool> alive;
    GtkDropDown* menu;
    std::int32_t id;
  };
  auto* drop = static_cast<GtkDropDown*>(self);
  const auto id =
      static_cast<std::int32_t>(GPOINTER_TO_INT(g_object_get_data(G_OBJECT(item), kCommand)));
  g_idle_add_full(
      G_PRIORITY_DEFAULT,
      [](gpointer data) -> gboolean {
        auto* later = static_cast<Later*>(data);
        if (*later->alive) later->menu->sink_.onCommand(later->id);
        return G_SOURCE_REMOVE;
      },
      new Later{drop->alive_, drop, id}, [](gpointer data) { delete static_cast<Later*>(data); });
}

void GtkDropDown::onDeactivate(GtkMenuShell*, gpointer self) {
  auto* drop = static_cast<GtkDropDown*>(self);
  drop->open_ = false;
  drop->sink_.onClosed();
}

gboolean GtkDropDown::onMotion(GtkWidget*, GdkEventMotion* event, gpointer self) {
  static_cast<GtkDropDown*>(self)->sink_.onPointer(static_cast<std::int32_t>(event->x_root),
                                                   static_cast<std::int32_t>(event->y_root));
  return FALSE;
}

}  // namespace s::os::gtk
