#pragma once

#include <gtk/gtk.h>

#include <map>
#include <memory>

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
  void setText(std::u16string_view text) override;
  void setFont(const s::os::gui::FontSpec& font) override;
  void setLook(const s::os::gui::ControlLook* look) override;
  void setChecked(bool checked) override;
  void insertItem(std::int32_t index, std::u16string_view text) override;
  void removeItem(std::int32_t index) override;
  void selectItem(std::int32_t index) override;
  void setProgress(std::int32_t minimum, std::int32_t maximum, std::int32_t position) override;
  void setCursor(s::os::gui::Cursor cursor) override;
  void startTimer(std::uint32_t id, std::uint32_t ms) override;
  void stopTimer(std::uint32_t id) override;
  s::os::gui::Rect screenBounds() override;
  s::os::gui::Size idealSize() override;
  GtkWidget* widget() const { return widget_; }

 private:
  static gboolean onDraw(GtkWidget* widget, cairo_t* cr, gpointer self);
  // A container paints its background, then GTK draws its children over it.
  static gboolean onContainerDraw(GtkWidget* widget, cairo_t* cr, gpointer self);
  static gboolean onButton(GtkWidget*, GdkEventButton* event, gpointer self);
  static void onClicked(GtkWidget*, gpointer self);
  static gboolean onMotion(GtkWidget*, GdkEventMotion* event, gpointer self);
  static gboolean onCrossing(GtkWidget*, GdkEventCrossing* event, gpointer self);
  static void onPressed(GtkWidget*, gpointer self);
  static void onReleased(GtkWidget*, gpointer self);
  static void onToggled(GtkWidget*, gpointer self);
  static void onChanged(GtkWidget*, gpointer self);
  static GtkWidget* shrinkableComboBox();
  static GtkWidget* make(s::os::gui::WidgetKind kind);
  void connectSignals();
  // Tells the component later, from the main loop: a listener may then show
  // a modal box without holding up whoever pressed the control (an
  // accessibility client waits for its action to return).
  void activateLater(std::int32_t code);
  // Adds (or removes) `provider` on the control and every widget inside
  // it, its own inner parts included.
  static void styleTree(GtkWidget* widget, GtkStyleProvider* provider, bool add);

  s::os::gui::WidgetKind kind_;
  GtkWidget* host_;
  GtkWidget* widget_;
  s::os::gui::WidgetSink& sink_;
  bool quiet_ = false;  // set while the program itself changes the control
  GtkCssProvider* font_ = nullptr;
  GtkCssProvider* look_ = nullptr;
  std::map<std::uint32_t, guint> timers_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace s::os::gtk
