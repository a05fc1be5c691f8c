#pragma once

#include <cstdint>

#include "str/IStr.h"

namespace s::xml {

// The two entity encodings of stored XML texts. Attribute values (records
// with a name) use the attribute codec, element text (records without one)
// the text codec:
//
//   attribute  encode  LF -> &#10;  CR -> &#13;  " -> &quot;  & -> &amp;  < -> &lt;
//              decode  &amp; &lt; &quot; &#13; &#10;
//   text       encode  LF -> &#10;  CR -> &#13;  space -> &#160;  & -> &amp;
//                      < -> &lt;  > -> &gt;
//              decode  &amp; &lt; &gt; &#160; (a plain space) &#13; &#10;
//
// Any other '&' is copied as it is and decoding goes on with the next
// character; no other entity is known. Text decoding also drops leading
// whitespace (space, tab, LF, CR) and trims trailing whitespace (space, LF,
// U+3000, tab, CR), but never below the end of the last decoded &#160;,
// &#13; or &#10;: whitespace written as an entity survives.
//
// Every operation appends to `out` (whose earlier content is never touched)
// and reads exactly `length` units of `text` (a null text is empty). No
// shared state: any thread, one `out` per thread.
class EntityCodec {
 public:
  static void encodeAttribute(s::str::IStr& out, const char16_t* text, std::uint32_t length);
  static void decodeAttribute(s::str::IStr& out, const char16_t* text, std::uint32_t length);
  static void encodeText(s::str::IStr& out, const char16_t* text, std::uint32_t length);
  static void decodeText(s::str::IStr& out, const char16_t* text, std::uint32_t length);
};

}  // namespace s::xml
