#pragma once

#include <gtk/gtk.h>

#include <map>

#include "os/gui/NativeWindow.h"
#include "os/gui/WindowSink.h"

namespace s::os::gtk {

// A top-level window on GTK: a GtkWindow whose client area is a GtkLayout
// (which, unlike GtkFixed, does not make the window as large as its
// children), so the toolkit's layouts alone decide where children go and the
// user can make the window smaller. Interface thread only.
class GtkTopWindow final : public s::os::gui::NativeWindow {
 public:
  explicit GtkTopWindow(s::os::gui::WindowSink& sink);
  ~GtkTopWindow() override;
  GtkTopWindow(const GtkTopWindow&) = delete;
  GtkTopWindow& operator=(const GtkTopWindow&) = delete;

  // The GtkWindow of `view` when it is one of ours; null otherwise.
  static GtkWindow* gtkWindowOf(s::os::gui::NativeView* view);
  // Where children of the window are placed.
  GtkWidget* client() const { return client_; }

  void destroy() override;
  void setTitle(std::u16string_view title) override;
  void setIcons(const std::vector<std::span<const unsigned char>>& pngs) override;
  void setVisible(bool visible, bool activate) override;
  bool isVisible() override;
  void move(std::int32_t x, std::int32_t y) override;
  void resize(std::int32_t width, std::int32_t height) override;
  s::os::gui::Rect frame() override;
  s::os::gui::Size clientSize() override;
  void minimize() override;
  void maximize() override;
  void restore() override;
  bool isMinimized() override;
  bool isMaximized() override;
  void raise() override;
  void setKeepAbove(bool above) override;
  void setResizable(bool resizable) override;
  void setModalFor(s::os::gui::NativeView* owner) override;
  void beginDrag() override;
  void beginResizeDrag() override;
  void beginEdgeDrag(s::os::gui::ResizeEdge edge) override;
  void setFrameless(bool frameless) override;
  void setShape(const s::os::gui::Region& region) override;
  void redraw() override;
  void setCursor(s::os::gui::Cursor cursor) override;
  void capturePointer(bool capture) override;
  void startTimer(std::uint32_t id, std::uint32_t ms) override;
  void stopTimer(std::uint32_t id) override;

 private:
  struct Timer;
  void connectSignals();
  void readGeometry();
  void takeCurrentPress();
  static gboolean onDelete(GtkWidget*, GdkEvent*, gpointer self);
  static gboolean onConfigure(GtkWidget*, GdkEventConfigure*, gpointer self);
  static gboolean onState(GtkWidget*, GdkEventWindowState* event, gpointer self);
  static void onActive(GObject*, GParamSpec*, gpointer self);
  static gboolean onButton(GtkWidget*, GdkEventButton* event, gpointer self);
  static gboolean onMotion(GtkWidget*, GdkEventMotion* event, gpointer self);
  static gboolean onScroll(GtkWidget*, GdkEventScroll* event, gpointer self);
  static gboolean onKey(GtkWidget*, GdkEventKey* event, gpointer self);
  static gboolean onDraw(GtkWidget* widget, cairo_t* cr, gpointer self);
  static gboolean onTimer(gpointer timer);
  static gboolean onGrabBroken(GtkWidget*, GdkEvent*, gpointer self);

  s::os::gui::WindowSink& sink_;
  GtkWidget* window_;
  GtkWidget* client_;
  s::os::gui::Rect frame_{0, 0, 240, 120};
  bool minimized_ = false;
  bool maximized_ = false;
  bool captured_ = false;
  std::map<std::uint32_t, Timer*> timers_;
  struct LastPress {
    guint button = 1;
    gint x = 0;
    gint y = 0;
    guint32 time = GDK_CURRENT_TIME;
  } lastPress_;
};

}  // namespace s::os::gtk
