#pragma once

#include <string>
#include <string_view>

namespace s::os::gtk {

// UTF-16 to UTF-8 for GTK and back; an unpaired surrogate becomes U+FFFD, so
// a hostile text still shows as something and never ends the call.
std::string toUtf8(std::u16string_view text);
std::u16string fromUtf8(const char* text);

}  // namespace s::os::gtk
