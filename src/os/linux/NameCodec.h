#pragma once

#include <string>
#include <string_view>

namespace s::os::linux_fs {

// Converts between the UTF-16 paths of the program and Linux's byte names.
// Valid UTF-8 becomes the characters it encodes; every other byte 0x80..0xFF
// becomes the lone surrogate U+DC80..U+DCFF, and back, so any byte string
// survives the round trip unchanged.
class NameCodec {
 public:
  // Bytes to UTF-16. Never fails.
  static std::u16string decode(std::string_view bytes);

  // UTF-16 to bytes. False when the text holds a zero or a lone surrogate
  // that no byte string decodes to (then `out` is unspecified).
  static bool encode(std::u16string_view text, std::string& out);
};

}  // namespace s::os::linux_fs
