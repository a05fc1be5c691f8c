#pragma once

#include <cstdarg>

namespace s::str::strbuffer {

class StrBuffer;

// The printf engine behind StrBuffer::appendFormat (see there for the
// conversions it knows). Numbers are formatted by the C library's snprintf;
// texts, characters and padding here. Never writes through %n, never reads
// a format past its zero; widths and precisions are capped at 2^20. Any
// thread (no shared state).
class Formatter {
 public:
  // Appends `format` with its arguments to `out`. A null format appends
  // nothing.
  static void appendFormat(StrBuffer& out, const char16_t* format, std::va_list args);
};

}  // namespace s::str::strbuffer
