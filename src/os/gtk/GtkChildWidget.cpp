#include "os/gtk/GtkChildWidget.h"

#include <algorithm>
#include <string>

#include "os/gtk/CairoMemDC.h"
#include "os/gtk/CursorName.h"
#include "os/gtk/GtkTopWindow.h"
#include "os/gtk/LookCss.h"
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
    case AccessibleRole::kImage:
      return ATK_ROLE_IMAGE;
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
    : kind_(kind), host_(host), widget_(make(kind)), sink_(sink) {
  g_object_set_data(G_OBJECT(widget_), "vonq-child-widget", this);
  connectSignals();
  gtk_widget_set_no_show_all(widget_, TRUE);
  putInto(host_, widget_, 0, 0);
}

// A drop-down list whose texts end in "..." when it is narrower than they
// are: GTK otherwise insists on the width of the longest entry, wider than
// the place the layout gave it.
GtkWidget* GtkChildWidget::shrinkableComboBox() {
  GtkWidget* combo = gtk_combo_box_text_new();
  GList* cells = gtk_cell_layout_get_cells(GTK_CELL_LAYOUT(combo));
  for (GList* cell = cells; cell != nullptr; cell = cell->next) {
    g_object_set(cell->data, "ellipsize", PANGO_ELLIPSIZE_END, nullptr);
  }
  g_list_free(cells);
  return combo;
}

GtkWidget* GtkChildWidget::make(WidgetKind kind) {
  switch (kind) {
    case WidgetKind::kContainer:
      return gtk_fixed_new();
    case WidgetKind::kPushButton:
      return gtk_button_new();
    case WidgetKind::kCheckBox:
      return gtk_check_button_new();
    case WidgetKind::kComboBox:
      return shrinkableComboBox();
    case WidgetKind::kProgressBar:
      return gtk_progress_bar_new();
    case WidgetKind::kDrawn:
      break;
  }
  return gtk_drawing_area_new();
}

void GtkChildWidget::connectSignals() {
  switch (kind_) {
    case WidgetKind::kDrawn:
      gtk_widget_add_events(widget_, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK |
                                         GDK_ENTER_NOTIFY_MASK | GDK_LEAVE_NOTIFY_MASK |
                                         GDK_POINTER_MOTION_MASK);
      g_signal_connect(widget_, "motion-notify-event", G_CALLBACK(&GtkChildWidget::onMotion), this);
      g_signal_connect(widget_, "enter-notify-event", G_CALLBACK(&GtkChildWidget::onCrossing),
                       this);
      g_signal_connect(widget_, "leave-notify-event", G_CALLBACK(&GtkChildWidget::onCrossing),
                       this);
      g_signal_connect(widget_, "draw", G_CALLBACK(&GtkChildWidget::onDraw), this);
      g_signal_connect(widget_, "button-press-event", G_CALLBACK(&GtkChildWidget::onButton), this);
      g_signal_connect(widget_, "button-release-event", G_CALLBACK(&GtkChildWidget::onButton),
                       this);
      break;
    case WidgetKind::kPushButton:
      g_signal_connect(widget_, "clicked", G_CALLBACK(&GtkChildWidget::onClicked), this);
      g_signal_connect(widget_, "pressed", G_CALLBACK(&GtkChildWidget::onPressed), this);
      g_signal_connect(widget_, "released", G_CALLBACK(&GtkChildWidget::onReleased), this);
      break;
    case WidgetKind::kCheckBox:
      g_signal_connect(widget_, "toggled", G_CALLBACK(&GtkChildWidget::onToggled), this);
      break;
    case WidgetKind::kComboBox:
      g_signal_connect(widget_, "changed", G_CALLBACK(&GtkChildWidget::onChanged), this);
      break;
    case WidgetKind::kContainer:
      g_signal_connect(widget_, "draw", G_CALLBACK(&GtkChildWidget::onContainerDraw), this);
      break;
    case WidgetKind::kProgressBar:
      break;
  }
}

GtkChildWidget::~GtkChildWidget() = default;

GtkWidget* GtkChildWidget::childHostOf(s::os::gui::NativeView& view) {
  if (auto* top = dynamic_cast<GtkTopWindow*>(&view)) return top->client();
  auto* child = dynamic_cast<GtkChildWidget*>(&view);
  if (child != nullptr && child->kind_ == WidgetKind::kContainer) return child->widget_;
  return nullptr;
}

void GtkChildWidget::destroy() {
  *alive_ = false;
  for (const auto& [id, source] : timers_) g_source_remove(source);
  if (font_ != nullptr) g_object_unref(font_);
  if (look_ != nullptr) g_object_unref(look_);
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

gboolean GtkChildWidget::onContainerDraw(GtkWidget* widget, cairo_t* cr, gpointer self) {
  onDraw(widget, cr, self);
  return FALSE;
}

gboolean GtkChildWidget::onButton(GtkWidget*, GdkEventButton* event, gpointer self) {
  if (event->type == GDK_3BUTTON_PRESS) return TRUE;
  const bool pressed = event->type != GDK_BUTTON_RELEASE;
  const bool handled = static_cast<GtkChildWidget*>(self)->sink_.onMouseButton(
      buttonOf(event->button), pressed, event->type == GDK_2BUTTON_PRESS,
      static_cast<std::int32_t>(event->x), static_cast<std::int32_t>(event->y));
  return handled ? TRUE : FALSE;  // unhandled presses reach the window (easy drag)
}

void GtkChildWidget::activateLater(std::int32_t code) {
  struct Later {
    std::shared_ptr<bool> alive;
    GtkChildWidget* widget;
    std::int32_t code;
  };
  g_idle_add_full(
      G_PRIORITY_DEFAULT,
      [](gpointer data) -> gboolean {
        auto* later = static_cast<Later*>(data);
        if (*later->alive) later->widget->sink_.onActivated(later->code);
        return G_SOURCE_REMOVE;
      },
      new Later{alive_, this, code}, [](gpointer data) { delete static_cast<Later*>(data); });
}

void GtkChildWidget::onClicked(GtkWidget*, gpointer self) {
  static_cast<GtkChildWidget*>(self)->activateLater(1);
}

void GtkChildWidget::onPressed(GtkWidget*, gpointer self) {
  static_cast<GtkChildWidget*>(self)->sink_.onActivated(3);
}

void GtkChildWidget::onReleased(GtkWidget*, gpointer self) {
  static_cast<GtkChildWidget*>(self)->sink_.onActivated(4);
}

void GtkChildWidget::onToggled(GtkWidget* widget, gpointer self) {
  auto* child = static_cast<GtkChildWidget*>(self);
  if (child->quiet_) return;
  child->activateLater(gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(widget)) ? 1 : 2);
}

void GtkChildWidget::onChanged(GtkWidget* widget, gpointer self) {
  auto* child = static_cast<GtkChildWidget*>(self);
  if (child->quiet_) return;
  child->activateLater(gtk_combo_box_get_active(GTK_COMBO_BOX(widget)));
}

void GtkChildWidget::setText(std::u16string_view text) {
  if (kind_ != WidgetKind::kPushButton && kind_ != WidgetKind::kCheckBox) return;
  gtk_button_set_use_underline(GTK_BUTTON(widget_), FALSE);
  gtk_button_set_label(GTK_BUTTON(widget_), toUtf8(text).c_str());
}

void GtkChildWidget::setFont(const s::os::gui::FontSpec& font) {
  if (kind_ == WidgetKind::kDrawn || kind_ == WidgetKind::kContainer) return;
  std::string face = toUtf8(font.face);
  // A face name never ends the rule it sits in.
  face.erase(std::remove_if(face.begin(), face.end(),
                            [](char c) { return c == '"' || c == '\\' || c == ';' || c == '}'; }),
             face.end());
  std::string css = "* { font-size: " + std::to_string(std::max(1, font.pixelHeight)) + "px;";
  if (!face.empty()) css += " font-family: \"" + face + "\";";
  css += font.bold ? " font-weight: bold;" : " font-weight: normal;";
  css += font.italic ? " font-style: italic; }" : " font-style: normal; }";
  GtkStyleContext* style = gtk_widget_get_style_context(widget_);
  if (font_ == nullptr) {
    font_ = gtk_css_provider_new();
    gtk_style_context_add_provider(style, GTK_STYLE_PROVIDER(font_),
                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  }
  gtk_css_provider_load_from_data(font_, css.c_str(), -1, nullptr);
  // The label inside a button takes the font as well.
  if (GtkWidget* label = gtk_bin_get_child(GTK_BIN(widget_));
      label != nullptr && kind_ != WidgetKind::kComboBox) {
    gtk_style_context_add_provider(gtk_widget_get_style_context(label), GTK_STYLE_PROVIDER(font_),
                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  }
}

void GtkChildWidget::styleTree(GtkWidget* widget, GtkStyleProvider* provider, bool add) {
  GtkStyleContext* style = gtk_widget_get_style_context(widget);
  if (add) {
    gtk_style_context_add_provider(style, provider, GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  } else {
    gtk_style_context_remove_provider(style, provider);
  }
  if (!GTK_IS_CONTAINER(widget)) return;
  struct Pass {
    GtkStyleProvider* provider;
    bool add;
  } pass{provider, add};
  gtk_container_forall(
      GTK_CONTAINER(widget),
      [](GtkWidget* child, gpointer data) {
        const auto* p = static_cast<Pass*>(data);
        styleTree(child, p->provider, p->add);
      },
      &pass);
}

void GtkChildWidget::setLook(const s::os::gui::ControlLook* look) {
  if (kind_ != WidgetKind::kPushButton && kind_ != WidgetKind::kCheckBox &&
      kind_ != WidgetKind::kComboBox)
    return;
  if (look == nullptr) {
    if (look_ != nullptr) styleTree(widget_, GTK_STYLE_PROVIDER(look_), false);
    return;
  }
  if (look_ == nullptr) look_ = gtk_css_provider_new();
  gtk_css_provider_load_from_data(look_, LookCss::sheet(*look).c_str(), -1, nullptr);
  // Out and in again: widgets made inside the control since then get it
  // too, and none holds it twice.
  styleTree(widget_, GTK_STYLE_PROVIDER(look_), false);
  styleTree(widget_, GTK_STYLE_PROVIDER(look_), true);
}

void GtkChildWidget::setChecked(bool checked) {
  if (kind_ != WidgetKind::kCheckBox) return;
  quiet_ = true;
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(widget_), checked);
  quiet_ = false;
}

void GtkChildWidget::insertItem(std::int32_t index, std::u16string_view text) {
  if (kind_ != WidgetKind::kComboBox) return;
  quiet_ = true;
  gtk_combo_box_text_insert_text(GTK_COMBO_BOX_TEXT(widget_), index, toUtf8(text).c_str());
  quiet_ = false;
}

void GtkChildWidget::removeItem(std::int32_t index) {
  if (kind_ != WidgetKind::kComboBox) return;
  quiet_ = true;
  gtk_combo_box_text_remove(GTK_COMBO_BOX_TEXT(widget_), index);
  quiet_ = false;
}

void GtkChildWidget::selectItem(std::int32_t index) {
  if (kind_ != WidgetKind::kComboBox) return;
  quiet_ = true;
  gtk_combo_box_set_active(GTK_COMBO_BOX(widget_), index);
  quiet_ = false;
}

void GtkChildWidget::setProgress(std::int32_t minimum, std::int32_t maximum,
                                 std::int32_t position) {
  if (kind_ != WidgetKind::kProgressBar) return;
  const double span = static_cast<double>(maximum) - minimum;
  const double fraction = span > 0 ? (static_cast<double>(position) - minimum) / span : 0.0;
  gtk_progress_bar_set_fraction(GTK_PROGRESS_BAR(widget_), std::clamp(fraction, 0.0, 1.0));
}

gboolean GtkChildWidget::onMotion(GtkWidget*, GdkEventMotion* event, gpointer self) {
  static_cast<GtkChildWidget*>(self)->sink_.onMouseMove(static_cast<std::int32_t>(event->x),
                                                        static_cast<std::int32_t>(event->y));
  return FALSE;  // the window sees it too
}

gboolean GtkChildWidget::onCrossing(GtkWidget*, GdkEventCrossing* event, gpointer self) {
  static_cast<GtkChildWidget*>(self)->sink_.onHover(event->type == GDK_ENTER_NOTIFY);
  return FALSE;
}

void GtkChildWidget::setCursor(s::os::gui::Cursor cursor) {
  GdkWindow* target = gtk_widget_get_window(widget_);
  if (target == nullptr || kind_ != WidgetKind::kDrawn) return;
  GdkCursor* shape = gdk_cursor_new_from_name(gdk_window_get_display(target), cursorName(cursor));
  gdk_window_set_cursor(target, shape);
  if (shape != nullptr) g_object_unref(shape);
}

void GtkChildWidget::startTimer(std::uint32_t id, std::uint32_t ms) {
  stopTimer(id);
  struct Tick {
    std::shared_ptr<bool> alive;
    GtkChildWidget* widget;
    std::uint32_t id;
  };
  timers_[id] = g_timeout_add_full(
      G_PRIORITY_DEFAULT, ms,
      [](gpointer data) -> gboolean {
        auto* tick = static_cast<Tick*>(data);
        if (*tick->alive) tick->widget->sink_.onTimer(tick->id);
        return G_SOURCE_CONTINUE;
      },
      new Tick{alive_, this, id}, [](gpointer data) { delete static_cast<Tick*>(data); });
}

void GtkChildWidget::stopTimer(std::uint32_t id) {
  auto found = timers_.find(id);
  if (found == timers_.end()) return;
  g_source_remove(found->second);
  timers_.erase(found);
}

s::os::gui::Rect GtkChildWidget::screenBounds() {
  gint x = 0;
  gint y = 0;
  if (GdkWindow* window = gtk_widget_get_window(widget_)) {
    gdk_window_get_origin(window, &x, &y);
    if (!gtk_widget_get_has_window(widget_)) {
      GtkAllocation allocation;
      gtk_widget_get_allocation(widget_, &allocation);
      x += allocation.x;
      y += allocation.y;
    }
  }
  return s::os::gui::Rect{x, y, gtk_widget_get_allocated_width(widget_),
                          gtk_widget_get_allocated_height(widget_)};
}

s::os::gui::Size GtkChildWidget::idealSize() {
  // GTK gives a hidden widget no size: measure it as shown (nothing is
  // drawn before the main loop runs again).
  const bool hidden = !gtk_widget_get_visible(widget_);
  if (hidden) gtk_widget_show(widget_);
  GtkRequisition natural{};
  gtk_widget_get_preferred_size(widget_, nullptr, &natural);
  if (hidden) gtk_widget_hide(widget_);
  return s::os::gui::Size{natural.width, natural.height};
}

}  // namespace s::os::gtk
