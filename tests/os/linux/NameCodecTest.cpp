#include <gtest/gtest.h>

#include <string>

#include "os/linux/NameCodec.h"

namespace {

using s::os::linux_fs::NameCodec;

struct RoundTrip {
  const char* label;
  std::string bytes;
  std::u16string text;  // what decode must give
};

class NameCodecRoundTrip : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(NameCodecRoundTrip, DecodesAsExpectedAndEncodesBackToTheSameBytes) {
  const auto& c = GetParam();
  EXPECT_EQ(NameCodec::decode(c.bytes), c.text);
  std::string back;
  ASSERT_TRUE(NameCodec::encode(NameCodec::decode(c.bytes), back));
  EXPECT_EQ(back, c.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Names, NameCodecRoundTrip,
    ::testing::Values(RoundTrip{"ascii", "plain.txt", u"plain.txt"},
                      RoundTrip{"utf8", "caf\xC3\xA9 \xE6\x97\xA5", u"caf\u00E9 \u65E5"},
                      RoundTrip{"astral", "\xF0\x9F\x98\x80", u"\U0001F600"},
                      RoundTrip{"lone_high_byte",
                                "a\xFF"
                                "b",
                                u"a\xDCFF"
                                u"b"},
                      RoundTrip{"truncated_sequence", "\xC3", u"\xDCC3"},
                      RoundTrip{"overlong_slash", "\xC0\xAF", u"\xDCC0\xDCAF"},
                      RoundTrip{"encoded_surrogate", "\xED\xA0\x80", u"\xDCED\xDCA0\xDC80"},
                      RoundTrip{"beyond_unicode", "\xF4\x90\x80\x80", u"\xDCF4\xDC90\xDC80\xDC80"},
                      RoundTrip{"escape_lookalike_bytes", "\xED\xB2\x80", u"\xDCED\xDCB2\xDC80"},
                      RoundTrip{"newline_and_tab", "a\nb\tc", u"a\nb\tc"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(NameCodec, EveryByteSurvivesTheRoundTrip) {
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
  all += all.substr(0x7F) + "\xE2\x82";  // runs of high bytes and a cut sequence
  std::string back;
  ASSERT_TRUE(NameCodec::encode(NameCodec::decode(all), back));
  EXPECT_EQ(back, all);
}

TEST(NameCodec, RefusesTextThatNoByteStringDecodesTo) {
  std::string out;
  for (const std::u16string& text :
       {std::u16string(u"a\xD800"
                       u"b"),
        std::u16string(u"\xDC41"), std::u16string(u"x\xDBFF"), std::u16string(1, u'\0')}) {
    EXPECT_FALSE(NameCodec::encode(text, out));
  }
}

}  // namespace
