#include "os/gtk/GtkTopWindow.h"

#include <gdk/gdkx.h>

#include <cstddef>

#include "os/gtk/CairoMemDC.h"
#include "os/gtk/CursorName.h"
#include "os/gtk/PixbufLoad.h"
#include "os/gtk/Utf.h"

namespace s::os::gtk {

using s::os::gui::MouseButton;
using s::os::gui::Rect;
using s::os::gui::Size;

struct GtkTopWindow::Timer {
  GtkTopWindow* owner;
  std::uint32_t id;
  guint source;
};

namespace {

MouseButton buttonOf(guint button) {
  return button == 2   ? MouseButton::kMiddle
         : button == 3 ? MouseButton::kRight
                       : MouseButton::kLeft;
}

// Windows virtual-key codes for the keys the toolkit looks at.
std::uint32_t keyCode(guint keyval) {
  switch (keyval) {
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter:
      return 13;
    case GDK_KEY_Escape:
      return 27;
    case GDK_KEY_Tab:
    case GDK_KEY_ISO_Left_Tab:
      return 9;
    case GDK_KEY_space:
      return 32;
    default:
      break;
  }
  const guint upper = gdk_keyval_to_upper(keyval);
  if ((upper >= 'A' && upper <= 'Z') || (upper >= '0' && upper <= '9')) return upper;
  return keyval;
}

guint32 serverTime(GtkWidget* window) {
  GdkWindow* gdkWindow = gtk_widget_get_window(window);
  if (gdkWindow != nullptr && GDK_IS_X11_WINDOW(gdkWindow))
    return gdk_x11_get_server_time(gdkWindow);
  return GDK_CURRENT_TIME;
}

}  // namespace

GtkTopWindow::GtkTopWindow(s::os::gui::WindowSink& sink)
    : sink_(sink),
      window_(gtk_window_new(GTK_WINDOW_TOPLEVEL)),
      client_(gtk_layout_new(nullptr, nullptr)) {
  g_object_set_data(G_OBJECT(window_), "vonq-top-window", this);
  gtk_window_set_title(GTK_WINDOW(window_), "Window");
  gtk_window_set_default_size(GTK_WINDOW(window_), frame_.width, frame_.height);
  gtk_window_set_gravity(GTK_WINDOW(window_), GDK_GRAVITY_NORTH_WEST);
  gtk_container_add(GTK_CONTAINER(window_), client_);
  gtk_widget_add_events(client_, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK |
                                     GDK_POINTER_MOTION_MASK | GDK_SCROLL_MASK);
  gtk_widget_show(client_);
  connectSignals();
}

GtkTopWindow::~GtkTopWindow() = default;

GtkWindow* GtkTopWindow::gtkWindowOf(s::os::gui::NativeView* view) {
  auto* top = dynamic_cast<GtkTopWindow*>(view);
  return top != nullptr ? GTK_WINDOW(top->window_) : nullptr;
}

void GtkTopWindow::connectSignals() {
  g_signal_connect(window_, "delete-event", G_CALLBACK(&GtkTopWindow::onDelete), this);
  g_signal_connect(window_, "configure-event", G_CALLBACK(&GtkTopWindow::onConfigure), this);
  g_signal_connect(window_, "window-state-event", G_CALLBACK(&GtkTopWindow::onState), this);
  g_signal_connect(window_, "notify::is-active", G_CALLBACK(&GtkTopWindow::onActive), this);
  g_signal_connect(window_, "key-press-event", G_CALLBACK(&GtkTopWindow::onKey), this);
  g_signal_connect(client_, "button-press-event", G_CALLBACK(&GtkTopWindow::onButton), this);
  g_signal_connect(client_, "button-release-event", G_CALLBACK(&GtkTopWindow::onButton), this);
  g_signal_connect(client_, "motion-notify-event", G_CALLBACK(&GtkTopWindow::onMotion), this);
  g_signal_connect(client_, "scroll-event", G_CALLBACK(&GtkTopWindow::onScroll), this);
  g_signal_connect(client_, "draw", G_CALLBACK(&GtkTopWindow::onDraw), this);
  g_signal_connect(client_, "grab-broken-event", G_CALLBACK(&GtkTopWindow::onGrabBroken), this);
}

void GtkTopWindow::destroy() {
  for (auto& [id, timer] : timers_) g_source_remove(timer->source);
  timers_.clear();
  g_signal_handlers_disconnect_by_data(window_, this);
  g_signal_handlers_disconnect_by_data(client_, this);
  gtk_widget_destroy(window_);
  delete this;
}

void GtkTopWindow::setTitle(std::u16string_view title) {
  gtk_window_set_title(GTK_WINDOW(window_), toUtf8(title).c_str());
}

void GtkTopWindow::setIcons(const std::vector<std::span<const unsigned char>>& pngs) {
  GList* icons = nullptr;
  for (const auto& png : pngs) {
    if (GdkPixbuf* icon = pixbufFromPng(png)) icons = g_list_append(icons, icon);
  }
  gtk_window_set_icon_list(GTK_WINDOW(window_), icons);
  g_list_free_full(icons, g_object_unref);
}

void GtkTopWindow::setVisible(bool visible, bool activate) {
  if (!visible) {
    gtk_widget_hide(window_);
    return;
  }
  // A window shown again goes back where the toolkit last put it.
  gtk_window_move(GTK_WINDOW(window_), frame_.x, frame_.y);
  gtk_widget_show(window_);
  if (activate) gtk_window_present_with_time(GTK_WINDOW(window_), serverTime(window_));
}

bool GtkTopWindow::isVisible() {
  return gtk_widget_get_visible(window_);
}

void GtkTopWindow::move(std::int32_t x, std::int32_t y) {
  frame_.x = x;
  frame_.y = y;
  gtk_window_move(GTK_WINDOW(window_), x, y);
}

void GtkTopWindow::resize(std::int32_t width, std::int32_t height) {
  frame_.width = std::max(1, width);
  frame_.height = std::max(1, height);
  gtk_window_resize(GTK_WINDOW(window_), frame_.width, frame_.height);
}

Rect GtkTopWindow::frame() {
  return frame_;
}

Size GtkTopWindow::clientSize() {
  return Size{frame_.width, frame_.height};
}

void GtkTopWindow::minimize() {
  gtk_window_iconify(GTK_WINDOW(window_));
}

void GtkTopWindow::maximize() {
  gtk_window_maximize(GTK_WINDOW(window_));
}

void GtkTopWindow::restore() {
  gtk_window_deiconify(GTK_WINDOW(window_));
  gtk_window_unmaximize(GTK_WINDOW(window_));
}

bool GtkTopWindow::isMinimized() {
  return minimized_;
}

bool GtkTopWindow::isMaximized() {
  return maximized_;
}

void GtkTopWindow::raise() {
  gtk_window_present_with_time(GTK_WINDOW(window_), serverTime(window_));
}

void GtkTopWindow::setKeepAbove(bool above) {
  gtk_window_set_keep_above(GTK_WINDOW(window_), above);
}

void GtkTopWindow::setResizable(bool resizable) {
  gtk_window_set_resizable(GTK_WINDOW(window_), resizable);
}

void GtkTopWindow::takeCurrentPress() {
  // A press on a child control (a resize grip) is the event being handled
  // now; the window's own presses were recorded as they came.
  GdkEvent* current = gtk_get_current_event();
  if (current == nullptr) return;
  if (current->type == GDK_BUTTON_PRESS) {
    lastPress_ = LastPress{current->button.button, static_cast<gint>(current->button.x_root),
                           static_cast<gint>(current->button.y_root), current->button.time};
  }
  gdk_event_free(current);
}

void GtkTopWindow::beginDrag() {
  takeCurrentPress();
  gtk_window_begin_move_drag(GTK_WINDOW(window_), static_cast<gint>(lastPress_.button),
                             lastPress_.x, lastPress_.y, lastPress_.time);
}

void GtkTopWindow::beginResizeDrag() {
  takeCurrentPress();
  gtk_window_begin_resize_drag(GTK_WINDOW(window_), GDK_WINDOW_EDGE_SOUTH_EAST,
                               static_cast<gint>(lastPress_.button), lastPress_.x, lastPress_.y,
                               lastPress_.time);
}

void GtkTopWindow::beginEdgeDrag(s::os::gui::ResizeEdge edge) {
  using s::os::gui::ResizeEdge;
  static constexpr GdkWindowEdge kEdges[] = {
      GDK_WINDOW_EDGE_WEST,       GDK_WINDOW_EDGE_EAST,       GDK_WINDOW_EDGE_NORTH,
      GDK_WINDOW_EDGE_SOUTH,      GDK_WINDOW_EDGE_NORTH_WEST, GDK_WINDOW_EDGE_NORTH_EAST,
      GDK_WINDOW_EDGE_SOUTH_WEST, GDK_WINDOW_EDGE_SOUTH_EAST};
  takeCurrentPress();
  gtk_window_begin_resize_drag(GTK_WINDOW(window_), kEdges[static_cast<std::size_t>(edge)],
                               static_cast<gint>(lastPress_.button), lastPress_.x, lastPress_.y,
                               lastPress_.time);
}

void GtkTopWindow::setFrameless(bool frameless) {
  gtk_window_set_decorated(GTK_WINDOW(window_), frameless ? FALSE : TRUE);
}

void GtkTopWindow::setShape(const s::os::gui::Region& region) {
  if (!region.present) {
    gtk_widget_shape_combine_region(window_, nullptr);
    return;
  }
  // Row by row: from the first pixel the shape holds to the last.
  cairo_region_t* shape = cairo_region_create();
  const s::os::gui::Rect& b = region.bounds;
  for (std::int32_t y = b.y; y < b.bottom(); ++y) {
    std::int32_t first = b.x, last = b.right() - 1;
    while (first <= last && !region.contains(first, y)) ++first;
    while (last >= first && !region.contains(last, y)) --last;
    if (first > last) continue;
    const cairo_rectangle_int_t row{first, y, last - first + 1, 1};
    cairo_region_union_rectangle(shape, &row);
  }
  const s::os::gui::Rect& e = region.extra;
  if (e.width > 0 && e.height > 0) {
    const cairo_rectangle_int_t extra{e.x, e.y, e.width, e.height};
    cairo_region_union_rectangle(shape, &extra);
  }
  gtk_widget_shape_combine_region(window_, shape);
  cairo_region_destroy(shape);
}

void GtkTopWindow::redraw() {
  gtk_widget_queue_draw(window_);
}

void GtkTopWindow::setCursor(s::os::gui::Cursor cursor) {
  GdkWindow* target = gtk_layout_get_bin_window(GTK_LAYOUT(client_));
  if (target == nullptr) return;
  GdkCursor* shape = gdk_cursor_new_from_name(gdk_window_get_display(target), cursorName(cursor));
  gdk_window_set_cursor(target, shape);
  if (shape != nullptr) g_object_unref(shape);
}

void GtkTopWindow::capturePointer(bool capture) {
  GdkWindow* target = gtk_layout_get_bin_window(GTK_LAYOUT(client_));
  if (target == nullptr || capture == captured_) return;
  GdkSeat* seat = gdk_display_get_default_seat(gdk_window_get_display(target));
  if (capture) {
    captured_ = gdk_seat_grab(seat, target, GDK_SEAT_CAPABILITY_ALL_POINTING, FALSE, nullptr,
                              nullptr, nullptr, nullptr) == GDK_GRAB_SUCCESS;
  } else {
    gdk_seat_ungrab(seat);
    captured_ = false;
  }
}

gboolean GtkTopWindow::onGrabBroken(GtkWidget*, GdkEvent*, gpointer self) {
  auto* window = static_cast<GtkTopWindow*>(self);
  if (!window->captured_) return FALSE;
  window->captured_ = false;
  window->sink_.onCaptureLost();
  return FALSE;
}

void GtkTopWindow::startTimer(std::uint32_t id, std::uint32_t ms) {
  stopTimer(id);
  auto* timer = new Timer{this, id, 0};
  timer->source = g_timeout_add_full(G_PRIORITY_DEFAULT, ms, &GtkTopWindow::onTimer, timer,
                                     [](gpointer data) { delete static_cast<Timer*>(data); });
  timers_[id] = timer;
}

void GtkTopWindow::stopTimer(std::uint32_t id) {
  auto found = timers_.find(id);
  if (found == timers_.end()) return;
  g_source_remove(found->second->source);
  timers_.erase(found);
}

gboolean GtkTopWindow::onTimer(gpointer data) {
  auto* timer = static_cast<Timer*>(data);
  timer->owner->sink_.onTimer(timer->id);
  return G_SOURCE_CONTINUE;
}

void GtkTopWindow::readGeometry() {
  gint x = 0;
  gint y = 0;
  gint width = 0;
  gint height = 0;
  gtk_window_get_position(GTK_WINDOW(window_), &x, &y);
  gtk_window_get_size(GTK_WINDOW(window_), &width, &height);
  frame_ = Rect{x, y, width, height};
}

gboolean GtkTopWindow::onDelete(GtkWidget*, GdkEvent*, gpointer self) {
  static_cast<GtkTopWindow*>(self)->sink_.onCloseRequest();
  return TRUE;  // the toolkit decides; GTK never destroys the window itself
}

gboolean GtkTopWindow::onConfigure(GtkWidget*, GdkEventConfigure*, gpointer self) {
  auto* window = static_cast<GtkTopWindow*>(self);
  const Rect before = window->frame_;
  window->readGeometry();
  if (window->frame_ != before) {
    window->sink_.onGeometry(window->frame_.x, window->frame_.y, window->frame_.width,
                             window->frame_.height);
  }
  return FALSE;
}

gboolean GtkTopWindow::onState(GtkWidget*, GdkEventWindowState* event, gpointer self) {
  auto* window = static_cast<GtkTopWindow*>(self);
  window->minimized_ = (event->new_window_state & GDK_WINDOW_STATE_ICONIFIED) != 0;
  window->maximized_ = (event->new_window_state & GDK_WINDOW_STATE_MAXIMIZED) != 0;
  window->sink_.onStateChange(window->minimized_, window->maximized_);
  return FALSE;
}

void GtkTopWindow::onActive(GObject*, GParamSpec*, gpointer self) {
  auto* window = static_cast<GtkTopWindow*>(self);
  window->sink_.onActivation(gtk_window_is_active(GTK_WINDOW(window->window_)));
}

gboolean GtkTopWindow::onButton(GtkWidget*, GdkEventButton* event, gpointer self) {
  auto* window = static_cast<GtkTopWindow*>(self);
  if (event->type == GDK_3BUTTON_PRESS) return TRUE;
  const bool pressed = event->type != GDK_BUTTON_RELEASE;
  const bool doubleClick = event->type == GDK_2BUTTON_PRESS;
  gint originX = 0;
  gint originY = 0;
  gdk_window_get_origin(gtk_layout_get_bin_window(GTK_LAYOUT(window->client_)), &originX, &originY);
  const auto x = static_cast<std::int32_t>(event->x_root) - originX;
  const auto y = static_cast<std::int32_t>(event->y_root) - originY;
  const MouseButton button = buttonOf(event->button);
  window->lastPress_ = LastPress{event->button, static_cast<gint>(event->x_root),
                                 static_cast<gint>(event->y_root), event->time};
  const bool rightHeld = (event->state & GDK_BUTTON3_MASK) != 0;
  window->sink_.onMouseButton(button, pressed, doubleClick, rightHeld, x, y);
  return TRUE;
}

gboolean GtkTopWindow::onMotion(GtkWidget*, GdkEventMotion* event, gpointer self) {
  static_cast<GtkTopWindow*>(self)->sink_.onMouseMove(static_cast<std::int32_t>(event->x),
                                                      static_cast<std::int32_t>(event->y));
  return FALSE;
}

gboolean GtkTopWindow::onScroll(GtkWidget*, GdkEventScroll* event, gpointer self) {
  std::int32_t delta = 0;
  if (event->direction == GDK_SCROLL_UP) delta = 120;
  if (event->direction == GDK_SCROLL_DOWN) delta = -120;
  if (event->direction == GDK_SCROLL_SMOOTH)
    delta = static_cast<std::int32_t>(-event->delta_y * 120);
  if (delta != 0) static_cast<GtkTopWindow*>(self)->sink_.onWheel(delta);
  return FALSE;
}

gboolean GtkTopWindow::onKey(GtkWidget*, GdkEventKey* event, gpointer self) {
  return static_cast<GtkTopWindow*>(self)->sink_.onKey(keyCode(event->keyval)) ? TRUE : FALSE;
}

gboolean GtkTopWindow::onDraw(GtkWidget* widget, cairo_t* cr, gpointer self) {
  if (!gtk_cairo_should_draw_window(cr, gtk_layout_get_bin_window(GTK_LAYOUT(widget))))
    return FALSE;
  const int width = gtk_widget_get_allocated_width(widget);
  const int height = gtk_widget_get_allocated_height(widget);
  CairoMemDC dc(width, height);
  static_cast<GtkTopWindow*>(self)->sink_.onPaintBackground(dc);
  cairo_set_source_surface(cr, dc.surface(), 0, 0);
  cairo_paint(cr);
  return FALSE;  // the children draw themselves over it
}

}  // namespace s::os::gtk

namespace s::os::gtk {

void GtkTopWindow::setModalFor(s::os::gui::NativeView* owner) {
  GtkWindow* parent = gtkWindowOf(owner);
  gtk_window_set_transient_for(GTK_WINDOW(window_), parent);
  gtk_window_set_modal(GTK_WINDOW(window_), parent != nullptr);
}

}  // namespace s::os::gtk
