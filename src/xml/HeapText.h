#pragma once

#include <cstdint>

namespace s::xml {

// Texts of the XML tree live on the C heap with a terminating zero.

// A new C-heap copy of `length` units of `text` (a null text counts as
// empty), zero-terminated; null when memory is exhausted. Free it with
// std::free.
char16_t* heapCopy(const char16_t* text, std::uint32_t length);

// Units of a text given with an explicit length, or -1 for "runs to its
// zero". A null text has length 0; other negative lengths count as 0.
std::uint32_t textLength(const char16_t* text, std::int32_t length);

// True when the `length` units of a and b are equal apart from the case of
// the ASCII letters A-Z.
bool equalsAsciiIgnoreCase(const char16_t* a, const char16_t* b, std::uint32_t length);

}  // namespace s::xml
