#include "os/gtk/PixbufLoad.h"

namespace s::os::gtk {

GdkPixbuf* pixbufFromPng(std::span<const unsigned char> png) {
  if (png.empty()) return nullptr;
  GdkPixbufLoader* loader = gdk_pixbuf_loader_new_with_type("png", nullptr);
  if (loader == nullptr) return nullptr;
  GdkPixbuf* image = nullptr;
  const bool read = gdk_pixbuf_loader_write(loader, png.data(), png.size(), nullptr) != FALSE;
  if (gdk_pixbuf_loader_close(loader, nullptr) && read) {
    image = gdk_pixbuf_loader_get_pixbuf(loader);
    if (image != nullptr) g_object_ref(image);
  }
  g_object_unref(loader);
  return image;
}

}  // namespace s::os::gtk
