#pragma once

#include <string>

namespace s::os::linux_fs {

// Writes one Unicode code point as UTF-8 or UTF-16 code units. Stateless;
// any thread may call it.
class CodeUnits {
 public:
  // Appends `cp` (at most 0x10FFFF) to `out` as one to four UTF-8 bytes.
  // Never checks for surrogates: the caller decides what a lone one becomes.
  static void appendUtf8(std::string& out, char32_t cp);

  // Appends `cp` (at most 0x10FFFF) to `out`, as a surrogate pair when it
  // lies above U+FFFF. Never fails.
  static void appendUtf16(std::u16string& out, char32_t cp);
};

}  // namespace s::os::linux_fs
