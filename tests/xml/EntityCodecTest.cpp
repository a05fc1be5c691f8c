#include "xml/EntityCodec.h"

#include <gtest/gtest.h>

#include <string>

#include "str/strbuffer/StrBuffer.h"

namespace {

using s::str::strbuffer::StrBuffer;
using s::xml::EntityCodec;

using CodecFn = void (*)(s::str::IStr&, const char16_t*, std::uint32_t);

std::u16string run(CodecFn codec, const std::u16string& input, const std::u16string& before = u"") {
  StrBuffer* out = StrBuffer::fromText(before.c_str());
  codec(*out, input.data(), static_cast<std::uint32_t>(input.size()));
  std::u16string result(out->view());
  out->release();
  return result;
}

struct CodecCase {
  const char* what;
  CodecFn codec;
  std::u16string input;
  std::u16string expected;
};

TEST(EntityCodec, EncodesAndDecodesEachCodecsOwnSet) {
  const CodecFn encA = &EntityCodec::encodeAttribute;
  const CodecFn decA = &EntityCodec::decodeAttribute;
  const CodecFn encT = &EntityCodec::encodeText;
  const CodecFn decT = &EntityCodec::decodeText;
  const CodecCase cases[] = {
      {"attribute encode", encA, u"a\"b<c>d&e\r\nf g", u"a&quot;b&lt;c>d&amp;e&#13;&#10;f g"},
      {"attribute decode", decA, u"a&amp;b&lt;c&quot;d&#13;&#10;e", u"a&b<c\"d\r\ne"},
      {"attribute decode leaves text entities", decA, u"&gt;&#160;", u"&gt;&#160;"},
      {"attribute decode keeps blanks", decA, u"  x  ", u"  x  "},
      {"text encode", encT, u"a b<c>&\r\n\"", u"a&#160;b&lt;c&gt;&amp;&#13;&#10;\""},
      {"text decode", decT, u"a&amp;b&lt;c&gt;d", u"a&b<c>d"},
      {"text decode leaves &quot;", decT, u"&quot;", u"&quot;"},
      {"unknown entities stay", decT, u"x&nbsp;&#32;&", u"x&nbsp;&#32;&"},
      {"a cut entity stays", decA, u"a&am", u"a&am"},
      {"entity space survives trimming", decT, u"Hi&#160;", u"Hi "},
      {"typed space is trimmed", decT, u"Hi ", u"Hi"},
      {"padding by entities", decT, u"&#160;      Yes      &#160;", u"       Yes       "},
      {"leading whitespace dropped", decT, u" \t\r\n x", u"x"},
      {"trailing set includes U+3000", decT, u"x\u3000\t", u"x"},
      {"blanks after an entity line feed go", decT, u"x&#10; \t", u"x\n"},
      {"line break entities", decT, u"one&#13;&#10;two", u"one\r\ntwo"},
  };
  for (const CodecCase& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(run(c.codec, c.input), c.expected);
  }
}

TEST(EntityCodec, TextDecodingNeverTrimsWhatWasAlreadyInTheOutput) {
  EXPECT_EQ(run(&EntityCodec::decodeText, u"x  ", u"keep "), u"keep x");
  EXPECT_EQ(run(&EntityCodec::decodeText, u"   ", u"keep  "), u"keep  ");
  EXPECT_EQ(run(&EntityCodec::decodeAttribute, u"&lt;", u"a"), u"a<");
}

TEST(EntityCodec, EveryTextSurvivesEncodeThenDecode) {
  const std::u16string texts[] = {
      u"", u"  lead and trail  ", u"line1\r\nline2\n", u"<&>\"'", u"a&amp;b", u"&#160;", u" ",
  };
  for (const std::u16string& text : texts) {
    SCOPED_TRACE(std::string(text.begin(), text.end()));
    EXPECT_EQ(run(&EntityCodec::decodeAttribute, run(&EntityCodec::encodeAttribute, text)), text);
    EXPECT_EQ(run(&EntityCodec::decodeText, run(&EntityCodec::encodeText, text)), text);
  }
}

}  // namespace
