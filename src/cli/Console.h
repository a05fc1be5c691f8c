#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace s::cli {

// Text conversions and terminal facts for the command-line tool.
class Console {
 public:
  // Bytes of the command line or a name to the program's UTF-16: valid
  // UTF-8 becomes the characters it encodes, any other byte the lone
  // surrogate U+DC80 + byte (as the file system hands names over).
  static std::u16string fromBytes(std::string_view bytes);
  // The way back; lone surrogates U+DC80..U+DCFF become their byte again,
  // other unpaired surrogates '?'.
  static std::string toBytes(std::u16string_view text);
  // A name fit for a terminal line: control characters (a hostile file
  // name could hold escape sequences) become '?', and with `columns` not 0
  // a longer one keeps its end after "...".
  static std::string printable(std::u16string_view text, std::size_t columns = 0);
  // Whether `stream` is a terminal (live progress is drawn in place there).
  static bool isTerminal(std::FILE* stream);
};

}  // namespace s::cli
