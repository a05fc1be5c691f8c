#pragma once

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <span>

namespace s::os::gtk {

// A new image (the caller's reference) decoded from PNG bytes; null when the
// bytes are not an image gdk-pixbuf can read.
GdkPixbuf* pixbufFromPng(std::span<const unsigned char> png);

}  // namespace s::os::gtk
