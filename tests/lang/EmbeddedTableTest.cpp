#include "lang/EmbeddedTable.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string_view>

namespace {

std::string_view tableText() {
  auto bytes = s::lang::embeddedTable();
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// Length of the UTF-8 sequence starting at `text[at]`, or 0 when it is malformed.
std::size_t utf8SequenceLength(std::string_view text, std::size_t at) {
  auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  unsigned char lead = byte(at);
  std::size_t length = lead < 0x80                   ? 1
                       : lead >= 0xC2 && lead < 0xE0 ? 2
                       : lead >= 0xE0 && lead < 0xF0 ? 3
                       : lead >= 0xF0 && lead < 0xF5 ? 4
                                                     : 0;
  if (length == 0 || at + length > text.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return 0;
  }
  return length;
}

TEST(EmbeddedTable, HoldsTheWholeDocumentWithATerminatingZero) {
  auto bytes = s::lang::embeddedTable();
  std::string_view text = tableText();
  ASSERT_GT(bytes.size(), 0u);
  EXPECT_TRUE(text.starts_with("<lang>\r\n")) << "root element first, no byte-order mark";
  EXPECT_TRUE(text.ends_with("</lang>\r\n"));
  EXPECT_EQ(bytes.data()[bytes.size()], 0u);
  EXPECT_EQ(text.find('\0'), std::string_view::npos);
}

TEST(EmbeddedTable, KeepsEveryByteOfTheUtf8TextAndItsCrLfLineEnds) {
  std::string_view text = tableText();
  for (std::size_t at = 0; at < text.size();) {
    std::size_t length = utf8SequenceLength(text, at);
    ASSERT_NE(length, 0u) << "malformed UTF-8 at byte " << at;
    if (text[at] == '\n') {
      ASSERT_TRUE(at > 0 && text[at - 1] == '\r') << "bare line feed at byte " << at;
    }
    at += length;
  }
  // Bytes above 0x7F (the native names) and the entity forms the reader depends on.
  EXPECT_NE(text.find("engName=\"Japanese\" trueName=\"\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\""),
            std::string_view::npos);
  EXPECT_NE(text.find("<eng>Erasing Complete!&#13;&#10;No data can be recovered any more.</eng>"),
            std::string_view::npos);
  EXPECT_NE(text.find("<eng>&#160;      Yes      &#160;</eng>"), std::string_view::npos);
}

}  // namespace
