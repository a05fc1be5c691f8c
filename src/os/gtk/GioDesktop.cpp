#include "os/gtk/GioDesktop.h"

#include <gio/gio.h>
#include <gio/gunixfdlist.h>
#include <unistd.h>

#include "os/gtk/Utf.h"

namespace s::os::gtk {

namespace {

constexpr const char* kProgramName = "Vonq Drive Scrubber";

// The bus, or null (with the reason dropped) when it cannot be reached.
GDBusConnection* bus(GBusType type) {
  GError* error = nullptr;
  GDBusConnection* connection = g_bus_get_sync(type, nullptr, &error);
  if (error != nullptr) g_error_free(error);
  return connection;
}

// Asks logind for a "block" inhibitor of sleep and idle; its descriptor, or
// -1 when logind is not there or refused.
int inhibitSleep(const std::string& why) {
  GDBusConnection* system = bus(G_BUS_TYPE_SYSTEM);
  if (system == nullptr) return -1;
  GUnixFDList* fds = nullptr;
  GError* error = nullptr;
  GVariant* reply = g_dbus_connection_call_with_unix_fd_list_sync(
      system, "org.freedesktop.login1", "/org/freedesktop/login1", "org.freedesktop.login1.Manager",
      "Inhibit", g_variant_new("(ssss)", "sleep:idle", kProgramName, why.c_str(), "block"),
      G_VARIANT_TYPE("(h)"), G_DBUS_CALL_FLAGS_NONE, GioDesktop::kCallTimeoutMs, nullptr, &fds,
      nullptr, &error);
  int fd = -1;
  if (reply != nullptr) {
    gint32 index = -1;
    g_variant_get(reply, "(h)", &index);
    if (fds != nullptr && index >= 0) fd = g_unix_fd_list_get(fds, index, nullptr);
    g_variant_unref(reply);
  }
  if (error != nullptr) g_error_free(error);
  if (fds != nullptr) g_object_unref(fds);
  g_object_unref(system);
  return fd;
}

}  // namespace

GioDesktop::~GioDesktop() {
  allowSleep();
}

bool GioDesktop::keepAwake(const std::u16string& reason) {
  {
    std::lock_guard<std::mutex> hold(lock_);
    if (inhibitFd_ >= 0) return true;
  }
  const int fd = inhibitSleep(toUtf8(reason));
  if (fd < 0) return false;
  std::lock_guard<std::mutex> hold(lock_);
  if (inhibitFd_ >= 0) {
    ::close(fd);  // another caller got there first
  } else {
    inhibitFd_ = fd;
  }
  return true;
}

void GioDesktop::allowSleep() {
  std::lock_guard<std::mutex> hold(lock_);
  if (inhibitFd_ < 0) return;
  ::close(inhibitFd_);
  inhibitFd_ = -1;
}

bool GioDesktop::notify(const std::u16string& summary, const std::u16string& body) {
  GDBusConnection* session = bus(G_BUS_TYPE_SESSION);
  if (session == nullptr) return false;
  GVariantBuilder actions;
  g_variant_builder_init(&actions, G_VARIANT_TYPE("as"));
  GVariantBuilder hints;
  g_variant_builder_init(&hints, G_VARIANT_TYPE("a{sv}"));
  GError* error = nullptr;
  GVariant* reply = g_dbus_connection_call_sync(
      session, "org.freedesktop.Notifications", "/org/freedesktop/Notifications",
      "org.freedesktop.Notifications", "Notify",
      g_variant_new("(susssasa{sv}i)", kProgramName, 0u, "drive-harddisk", toUtf8(summary).c_str(),
                    toUtf8(body).c_str(), &actions, &hints, -1),
      G_VARIANT_TYPE("(u)"), G_DBUS_CALL_FLAGS_NONE, kCallTimeoutMs, nullptr, &error);
  const bool shown = reply != nullptr;
  if (reply != nullptr) g_variant_unref(reply);
  if (error != nullptr) g_error_free(error);
  g_object_unref(session);
  return shown;
}

}  // namespace s::os::gtk

namespace s::os::gui {

Desktop& desktop() {
  // Never destroyed, like the windowing service: a run may end while the
  // process does.
  static s::os::gtk::GioDesktop* const instance = new s::os::gtk::GioDesktop();
  return *instance;
}

}  // namespace s::os::gui
