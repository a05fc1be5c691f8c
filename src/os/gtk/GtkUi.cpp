#include "os/gtk/GtkUi.h"

#include <gtk/gtk.h>

#include <atomic>
#include <condition_variable>
#include <cstdlib>

#include "os/gtk/CairoMemDC.h"
#include "os/gtk/GtkChildWidget.h"
#include "os/gtk/GtkDropDown.h"
#include "os/gtk/GtkTopWindow.h"
#include "os/gtk/Utf.h"
#include "os/gui/NativeWidget.h"

namespace s::os::gtk {

using s::os::gui::BoxAnswer;
using s::os::gui::BoxKind;
using s::os::gui::Rect;

namespace {

// One piece of work handed to the GTK thread by a caller that waits for it.
struct Job {
  // Published with release order before the job is handed over, so the GTK
  // thread sees the work complete (GLib's own hand-over is invisible to
  // ThreadSanitizer).
  std::atomic<const std::function<void()>*> work{nullptr};
  std::mutex lock;
  std::condition_variable finished;
  bool done = false;

  static gboolean runOnce(gpointer data) {
    auto* job = static_cast<Job*>(data);
    (*job->work.load(std::memory_order_acquire))();
    // Notified under the lock: the waiter ends the job (and its condition
    // variable) as soon as it sees it done.
    std::lock_guard<std::mutex> hold(job->lock);
    job->done = true;
    job->finished.notify_all();
    return G_SOURCE_REMOVE;
  }
};

gboolean runPosted(gpointer data) {
  auto* work = static_cast<std::function<void()>*>(data);
  (*work)();
  return G_SOURCE_REMOVE;
}

void freePosted(gpointer data) {
  delete static_cast<std::function<void()>*>(data);
}

Rect toRect(const GdkRectangle& r) {
  return Rect{r.x, r.y, r.width, r.height};
}

GdkMonitor* primaryMonitor() {
  GdkDisplay* display = gdk_display_get_default();
  if (display == nullptr) return nullptr;
  GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
  return monitor != nullptr ? monitor : gdk_display_get_monitor(display, 0);
}

GtkWindow* activeWindow() {
  GList* windows = gtk_window_list_toplevels();
  GtkWindow* active = nullptr;
  for (GList* item = windows; item != nullptr; item = item->next) {
    auto* window = GTK_WINDOW(item->data);
    if (gtk_window_is_active(window)) active = window;
  }
  g_list_free(windows);
  return active;
}

GtkMessageType messageType(BoxKind kind) {
  switch (kind) {
    case BoxKind::kInfo:
      return GTK_MESSAGE_INFO;
    case BoxKind::kWarning:
      return GTK_MESSAGE_WARNING;
    case BoxKind::kError:
      return GTK_MESSAGE_ERROR;
    default:
      return GTK_MESSAGE_QUESTION;
  }
}

GtkButtonsType buttons(BoxKind kind) {
  switch (kind) {
    case BoxKind::kAsk:
      return GTK_BUTTONS_YES_NO;
    case BoxKind::kAskCancel:
      return GTK_BUTTONS_NONE;
    default:
      return GTK_BUTTONS_OK;
  }
}

BoxAnswer answer(BoxKind kind, gint response) {
  switch (response) {
    case GTK_RESPONSE_YES:
      return BoxAnswer::kYes;
    case GTK_RESPONSE_NO:
      return BoxAnswer::kNo;
    case GTK_RESPONSE_OK:
      return BoxAnswer::kOk;
    default:
      break;
  }
  // Closed by its frame (or Escape).
  if (kind == BoxKind::kAsk) return BoxAnswer::kNo;
  if (kind == BoxKind::kAskCancel) return BoxAnswer::kCancel;
  return BoxAnswer::kOk;
}

}  // namespace

GtkUi::~GtkUi() {
  stop();
}

bool GtkUi::start() {
  std::lock_guard<std::mutex> hold(lock_);
  if (tried_) return ok_;
  tried_ = true;
  std::promise<bool> started;
  std::future<bool> result = started.get_future();
  thread_ = std::thread(&GtkUi::run, this, &started);
  ok_ = result.get();
  if (!ok_) thread_.join();
  return ok_;
}

void GtkUi::run(std::promise<bool>* started) {
  gdk_set_allowed_backends("x11,*");
  const char* display = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  if ((display == nullptr || *display == 0) && (wayland == nullptr || *wayland == 0)) {
    error_ = "no display: neither DISPLAY nor WAYLAND_DISPLAY is set";
    started->set_value(false);
    return;
  }
  if (!gtk_init_check(nullptr, nullptr)) {
    error_ = std::string("cannot open the display ") + (display != nullptr ? display : wayland);
    started->set_value(false);
    return;
  }
  if (!programName_.empty()) g_set_application_name(programName_.c_str());
  readInterfaceFont();
  g_signal_connect(gtk_settings_get_default(), "notify::gtk-font-name",
                   G_CALLBACK(&GtkUi::interfaceFontChanged), this);
  uiThread_.store(std::this_thread::get_id());
  running_.store(true);
  started->set_value(true);
  gtk_main();
  running_.store(false);
}

std::string GtkUi::displayError() {
  std::lock_guard<std::mutex> hold(lock_);
  return error_;
}

void GtkUi::stop() {
  std::lock_guard<std::mutex> hold(lock_);
  if (!thread_.joinable()) return;
  if (running_.load()) post([] { gtk_main_quit(); });
  thread_.join();
}

bool GtkUi::onUiThread() {
  return running_.load() && uiThread_.load() == std::this_thread::get_id();
}

void GtkUi::call(const std::function<void()>& work) {
  if (!running_.load() || onUiThread()) {
    work();
    return;
  }
  Job job;
  job.work.store(&work, std::memory_order_release);
  g_main_context_invoke(nullptr, &Job::runOnce, &job);
  std::unique_lock<std::mutex> wait(job.lock);
  job.finished.wait(wait, [&job] { return job.done; });
}

bool GtkUi::post(std::function<void()> work) {
  if (!running_.load()) return false;
  g_main_context_invoke_full(nullptr, G_PRIORITY_DEFAULT, &runPosted,
                             new std::function<void()>(std::move(work)), &freePosted);
  return true;
}

Rect GtkUi::primaryScreen() {
  GdkMonitor* monitor = primaryMonitor();
  if (monitor == nullptr) return Rect{};
  GdkRectangle r;
  gdk_monitor_get_geometry(monitor, &r);
  return toRect(r);
}

Rect GtkUi::virtualScreen() {
  GdkDisplay* display = gdk_display_get_default();
  if (display == nullptr) return Rect{};
  GdkRectangle all{0, 0, 0, 0};
  for (int i = 0; i < gdk_display_get_n_monitors(display); ++i) {
    GdkRectangle r;
    gdk_monitor_get_geometry(gdk_display_get_monitor(display, i), &r);
    if (i == 0) {
      all = r;
    } else {
      gdk_rectangle_union(&all, &r, &all);
    }
  }
  return toRect(all);
}

Rect GtkUi::workArea() {
  GdkMonitor* monitor = primaryMonitor();
  if (monitor == nullptr) return Rect{};
  GdkRectangle r;
  gdk_monitor_get_workarea(monitor, &r);
  return toRect(r);
}

s::os::gui::NativeWindow* GtkUi::createWindow(s::os::gui::WindowSink& sink) {
  if (!running_.load()) return nullptr;
  return new GtkTopWindow(sink);
}

s::os::gui::NativeWidget* GtkUi::createWidget(s::os::gui::WidgetKind kind,
                                              s::os::gui::NativeView& parent,
                                              s::os::gui::WidgetSink& sink) {
  GtkWidget* host = GtkChildWidget::childHostOf(parent);
  if (!running_.load() || host == nullptr) return nullptr;
  return new GtkChildWidget(kind, host, sink);
}

s::os::gui::NativeMenu* GtkUi::createMenu(s::os::gui::MenuSink& sink) {
  if (!running_.load()) return nullptr;
  return new GtkDropDown(sink);
}

BoxAnswer GtkUi::messageBox(s::os::gui::NativeView* owner, BoxKind kind, std::u16string_view text,
                            std::u16string_view caption) {
  if (!running_.load()) return answer(kind, GTK_RESPONSE_DELETE_EVENT);
  GtkWindow* parent = GtkTopWindow::gtkWindowOf(owner);
  if (parent == nullptr) parent = activeWindow();
  const std::string message = toUtf8(text);
  GtkWidget* dialog = gtk_message_dialog_new(parent, GTK_DIALOG_MODAL, messageType(kind),
                                             buttons(kind), "%s", message.c_str());
  if (kind == BoxKind::kAskCancel) {
    gtk_dialog_add_buttons(GTK_DIALOG(dialog), "_Yes", GTK_RESPONSE_YES, "_No", GTK_RESPONSE_NO,
                           "_Cancel", GTK_RESPONSE_CANCEL, nullptr);
  }
  const std::string title =
      caption.empty() ? std::string(g_get_application_name()) : toUtf8(caption);
  gtk_window_set_title(GTK_WINDOW(dialog), title.c_str());
  const gint response = gtk_dialog_run(GTK_DIALOG(dialog));
  gtk_widget_destroy(dialog);
  return answer(kind, response);
}

void GtkUi::setProgramName(std::u16string_view name) {
  std::lock_guard<std::mutex> hold(lock_);
  programName_ = toUtf8(name);
  if (running_.load()) {
    const std::string copy = programName_;
    post([copy] { g_set_application_name(copy.c_str()); });
  }
}

std::unique_ptr<s::os::gui::MemDC> GtkUi::createMemDC(std::int32_t width, std::int32_t height) {
  return std::make_unique<CairoMemDC>(width, height);
}

std::u16string GtkUi::interfaceFontFace() {
  std::lock_guard<std::mutex> hold(faceLock_);
  return face_.empty() ? std::u16string(u"Sans") : face_;
}

void GtkUi::readInterfaceFont() {
  GtkSettings* settings = gtk_settings_get_default();
  if (settings == nullptr) return;
  gchar* name = nullptr;
  g_object_get(settings, "gtk-font-name", &name, nullptr);
  std::u16string family;
  if (name != nullptr) {
    // "Cantarell 11", "DejaVu Sans Bold 10": the family without size and style.
    PangoFontDescription* description = pango_font_description_from_string(name);
    const char* parsed = pango_font_description_get_family(description);
    if (parsed != nullptr) family = fromUtf8(parsed);
    pango_font_description_free(description);
    g_free(name);
  }
  std::lock_guard<std::mutex> hold(faceLock_);
  face_ = family;
}

void GtkUi::interfaceFontChanged(void*, void*, void* self) {
  static_cast<GtkUi*>(self)->readInterfaceFont();
}

}  // namespace s::os::gtk

namespace s::os::gui {

Ui& platformUi() {
  // Never destroyed: pooled components may still be given back (and ask
  // for the interface thread) while the process ends.
  static s::os::gtk::GtkUi* const instance = new s::os::gtk::GtkUi();
  return *instance;
}

}  // namespace s::os::gui
