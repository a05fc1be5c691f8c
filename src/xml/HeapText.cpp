#include "xml/HeapText.h"

#include <cstdlib>
#include <cstring>

namespace s::xml {

char16_t* heapCopy(const char16_t* text, std::uint32_t length) {
  auto* copy = static_cast<char16_t*>(std::malloc((std::size_t{length} + 1) * sizeof(char16_t)));
  if (copy == nullptr) return nullptr;
  if (length > 0 && text != nullptr) std::memcpy(copy, text, length * sizeof(char16_t));
  copy[text != nullptr ? length : 0] = 0;
  return copy;
}

std::uint32_t textLength(const char16_t* text, std::int32_t length) {
  if (text == nullptr) return 0;
  if (length >= 0) return static_cast<std::uint32_t>(length);
  if (length != -1) return 0;
  std::uint32_t n = 0;
  while (text[n] != 0) ++n;
  return n;
}

namespace {
char16_t foldAscii(char16_t c) {
  return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
}
}  // namespace

bool equalsAsciiIgnoreCase(const char16_t* a, const char16_t* b, std::uint32_t length) {
  for (std::uint32_t i = 0; i < length; ++i) {
    if (foldAscii(a[i]) != foldAscii(b[i])) return false;
  }
  return true;
}

}  // namespace s::xml
