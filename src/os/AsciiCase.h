#pragma once

#include <cstddef>
#include <string_view>

namespace s::os {

// Case folding of UTF-16 units that touches ASCII letters only: names of
// registry keys and values, settings elements and list entries compare this
// way whatever the user's locale. Any thread; no state.

// `c` with A-Z made a-z; every other unit as it is.
constexpr char16_t foldAscii(char16_t c) {
  return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + (u'a' - u'A')) : c;
}

// Whether the first `prefix.size()` units of `text` equal `prefix`, ASCII
// letters compared without case. False when `text` is shorter.
constexpr bool startsWithAsciiIgnoreCase(std::u16string_view text, std::u16string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (foldAscii(text[i]) != foldAscii(prefix[i])) return false;
  }
  return true;
}

// Whether `a` and `b` are equal, ASCII letters compared without case.
constexpr bool equalsAsciiIgnoreCase(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() && startsWithAsciiIgnoreCase(a, b);
}

}  // namespace s::os
