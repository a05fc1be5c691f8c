#pragma once

#include <cstdint>

namespace s::xml {

// Conversions of stored attribute values (zero-terminated texts) to numbers,
// as the C library's conversions on the platform the files were made for
// (where long is 32 bits). Null texts read as empty. Any thread.

// Decimal with optional leading blanks and sign, stopping at the first
// non-digit; saturates at [min, max]. 0 when no digit follows.
std::int64_t parseSignedValue(const char16_t* text, std::int64_t min, std::int64_t max);

// As strtoul with a 32-bit unsigned long: a leading '-' negates the
// (unsigned) value, overflow gives 0xFFFFFFFF.
std::uint32_t parseUnsignedValue(const char16_t* text);

// True when the text begins with '1' or with "true" (lower case).
bool parseBooleanValue(const char16_t* text);

}  // namespace s::xml
