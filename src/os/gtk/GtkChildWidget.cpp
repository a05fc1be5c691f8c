#include "os/gtk/GtkChildWidget.h"

#include <algorithm>

#include "os/gtk/CairoMemDC.h"
#include "os/gtk/GtkTopWindow.h"
#include "os/gtk/Utf.h"

namespace s::os::gtk {

using s::os::gui::AccessibleRole;
using s::os::gui::MouseButton;
using s::os::gui::Rect;
using s::os::gui::WidgetKind;

namespace {

AtkRole atkRole(AccessibleRole role) {
  switch (role) {
    case AccessibleRole::kLabel:
      return ATK_ROLE_LABEL;
    case AccessibleRole::kPushButton:
      return ATK_ROLE_PUSH_BUTTON;
    case AccessibleRole::kCheckBox:
      return ATK_ROLE_CHECK_BOX;
    case AccessibleRole::kComboBox:
      return ATK_ROLE_COMBO_BOX;
    case AccessibleRole::kProgressBar:
      return ATK_ROLE_PROGRESS_BAR;
    case AccessibleRole::kStatusBar:
      return ATK_ROLE_STATUSBAR;
    case AccessibleRole::kMenuBar:
      return ATK_ROLE_MENU_BAR;
    case AccessibleRole::kMenuItem:
      return ATK_ROLE_MENU_ITEM;
    case AccessibleRole::kFiller:
      return ATK_ROLE_FILLER;
    case AccessibleRole::kPanel:
      break;
  }
  return ATK_ROLE_PANEL;
}

void putInto(GtkWidget* host, GtkWidget* child, gint x, gint y) {
  if (GTK_IS_LAYOUT(host)) {
    gtk_layout_put(GTK_LAYOUT(host), child, x, y);
  } else {
    gtk_fixed_put(GTK_FIXED(host), child, x, y);
  }
}

void moveWithin(GtkWidget* host, GtkWidget* child, gint x, gint y) {
  if (GTK_IS_LAYOUT(host)) {
    gtk_layout_move(GTK_LAYOUT(host), child, x, y);
  } else {
    gtk_fixed_move(GTK_FIXED(host), child, x, y);
  }
}

MouseButton buttonOf(guint button) {
  return button == 2   ? MouseButton::kMiddle
         : button == 3 ? MouseButton::kRight
                       : MouseButton::kLeft;
}

}  // namespace

GtkChildWidget::GtkChildWidget(WidgetKind kind, GtkWidget* host, s::os::gui::WidgetSink& sink)
    : kind_(kind),
      host_(host),
      widget_(kind == WidgetKind::kContainer ? gtk_fixed_new() : gtk_drawing_area_new()),
      sink_(sink) {
  g_object_set_data(G_OBJECT(widget_), "vonq-child-widget", this);
  if (kind_ == WidgetKind::kDrawn) {
    gtk_widget_add_events(widget_, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK);
    g_signal_connect(widget_, "draw", G_CALLBACK(&GtkChildWidget::onDraw), this);
    g_signal_connect(widget_, "button-press-event", G_CALLBACK(&GtkChildWidget::onButton), this);
    g_signal_connect(widget_, "button-release-event", G_CALLBACK(&GtkChildWidget::onButton), this);
  }
  gtk_widget_set_no_show_all(widget_, TRUE);
  putInto(host_, widget_, 0, 0);
}

GtkChildWidget::~GtkChildWidget() = default;

GtkWidget* GtkChildWidget::childHostOf(s::os::gui::NativeView& view) {
  if (auto* top = dynamic_cast<GtkTopWindow*>(&view)) return top->client();
  auto* child = dynamic_cast<GtkChildWidget*>(&view);
  if (child != nullptr && child->kind_ == WidgetKind::kContainer) return child->widget_;
  return nullptr;
}

void GtkChildWidget::destroy() {
  g_signal_handlers_disconnect_by_data(widget_, this);
  gtk_widget_destroy(widget_);
  delete this;
}

void GtkChildWidget::place(const Rect& bounds) {
  moveWithin(host_, widget_, bounds.x, bounds.y);
  gtk_widget_set_size_request(widget_, std::max(0, bounds.width), std::max(0, bounds.height));
}

void GtkChildWidget::setVisible(bool visible) {
  gtk_widget_set_visible(widget_, visible);
}

void GtkChildWidget::setEnabled(bool enabled) {
  gtk_widget_set_sensitive(widget_, enabled);
}

void GtkChildWidget::redraw(const Rect& area) {
  gtk_widget_queue_draw_area(widget_, area.x, area.y, area.width, area.height);
}

void GtkChildWidget::setAccessible(AccessibleRole role, std::u16string_view name) {
  AtkObject* accessible = gtk_widget_get_accessible(widget_);
  if (accessible == nullptr) return;
  atk_object_set_role(accessible, atkRole(role));
  atk_object_set_name(accessible, toUtf8(name).c_str());
}

gboolean GtkChildWidget::onDraw(GtkWidget* widget, cairo_t* cr, gpointer self) {
  CairoMemDC dc(gtk_widget_get_allocated_width(widget), gtk_widget_get_allocated_height(widget));
  static_cast<GtkChildWidget*>(self)->sink_.onPaint(dc);
  cairo_set_source_surface(cr, dc.surface(), 0, 0);
  cairo_paint(cr);
  return TRUE;
}

gboolean GtkChildWidget::onButton(GtkWidget*, GdkEventButton* event, gpointer self) {
  if (event->type == GDK_3BUTTON_PRESS) return TRUE;
  const bool pressed = event->type != GDK_BUTTON_RELEASE;
  const bool handled = static_cast<GtkChildWidget*>(self)->sink_.onMouseButton(
      buttonOf(event->button), pressed, event->type == GDK_2BUTTON_PRESS,
      static_cast<std::int32_t>(event->x), static_cast<std::int32_t>(event->y));
  return handled ? TRUE : FALSE;  // unhandled presses reach the window (easy drag)
}

}  // namespace s::os::gtk
