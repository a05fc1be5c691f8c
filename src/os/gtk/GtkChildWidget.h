#pragma once

#include <gtk/gtk.h>

#include "os/gui/NativeWidget.h"
#include "os/gui/WidgetSink.h"

namespace s::os::gtk {

// A child control on GTK: a GtkDrawingArea for drawn components (painted
// through a CairoMemDC), a GtkFixed for containers (no window of its own, so
// presses on free areas reach the window for easy drag). Placed with
// gtk_layout_move / gtk_fixed_move in its parent. Interface thread only.
class GtkChildWidget final : public s::os::gui::NativeWidget {
 public:
  GtkChildWidget(s::os::gui::WidgetKind kind, GtkWidget* host, s::os::gui::WidgetSink& sink);
  ~GtkChildWidget() override;
  GtkChildWidget(const GtkChildWidget&) = delete;
  GtkChildWidget& operator=(const GtkChildWidget&) = delete;

  // The GTK container in which children of `view` are placed (a window's
  // client area or a container control); null for any other view.
  static GtkWidget* childHostOf(s::os::gui::NativeView& view);

  void destroy() override;
  void place(const s::os::gui::Rect& bounds) override;
  void setVisible(bool visible) override;
  void setEnabled(bool enabled) override;
  void redraw(const s::os::gui::Rect& area) override;
  void setAccessible(s::os::gui::AccessibleRole role, std::u16string_view name) override;

 private:
  static gboolean onDraw(GtkWidget* widget, cairo_t* cr, gpointer self);
  static gboolean onButton(GtkWidget*, GdkEventButton* event, gpointer self);

  s::os::gui::WidgetKind kind_;
  GtkWidget* host_;
  GtkWidget* widget_;
  s::os::gui::WidgetSink& sink_;
};

}  // namespace s::os::gtk
