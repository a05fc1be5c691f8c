#include "xml/HeapText.h"

#include <cstdlib>
#include <cstring>

#include "os/AsciiCase.h"

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

bool equalsAsciiIgnoreCase(const char16_t* a, const char16_t* b, std::uint32_t length) {
  return s::os::startsWithAsciiIgnoreCase(std::u16string_view(a, length),
                                          std::u16string_view(b, length));
}

}  // namespace s::xml
