#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>
#include <vector>

#include "Owned.h"
#include "str/strarray/StrArray.h"

namespace {

using s::str::strarray::StrArray;
using s::str::strbuffer::StrBuffer;
using vonq::test::makeStr;
using vonq::test::Owned;
using vonq::test::Str;
using vonq::test::textOf;

std::vector<std::u16string> partsOf(const StrArray& list) {
  std::vector<std::u16string> parts;
  for (std::uint32_t i = 0; i < list.length(); ++i) parts.push_back(textOf(*list.get(i)));
  return parts;
}

// ---- numbers

TEST(StrBufferNumbers, ParsingFollowsTheCLibraryRules) {
  struct Case {
    const char16_t* text;
    std::int32_t s32;
    std::uint32_t u32;
    std::int64_t s64;
  };
  const Case cases[] = {
      {u"4000000000", INT32_MAX, 4000000000u, 4000000000},
      {u"-4000000000", INT32_MIN, static_cast<std::uint32_t>(-4000000000LL), -4000000000},
      {u"  \t-12abc", -12, static_cast<std::uint32_t>(-12), -12},
      {u"+7", 7, 7, 7},
      {u"", 0, 0, 0},
      {u"-", 0, 0, 0},
      {u"x12", 0, 0, 0},
      {u"99999999999999999999", INT32_MAX, 0xFFFFFFFFu, INT64_MAX},
      {u"-9223372036854775808", INT32_MIN, 0, INT64_MIN},
      {u"-99999999999999999999", INT32_MIN, 0, INT64_MIN},
  };
  for (const Case& c : cases) {
    Str s = makeStr(c.text);
    EXPECT_EQ(s->parseS32(), c.s32) << textOf(*s).size();
    EXPECT_EQ(s->parseU32(), c.u32);
    EXPECT_EQ(s->parseS64(), c.s64);
    EXPECT_EQ(s->parseU64(), static_cast<std::uint64_t>(c.s64));
  }
  // The small kinds read a 32-bit value and narrow it.
  EXPECT_EQ(makeStr(u"200")->parseU08(), 200);
  EXPECT_EQ(makeStr(u"300")->parseU08(), 44);
  EXPECT_EQ(makeStr(u"-1")->parseU16(), 0xFFFF);
  EXPECT_EQ(makeStr(u"-128")->parseS08(), -128);
  EXPECT_EQ(makeStr(u"40000")->parseS16(), static_cast<std::int16_t>(40000));
  // Both floating kinds come out at single precision.
  EXPECT_EQ(makeStr(u"0.1")->parseDouble(), static_cast<double>(0.1f));
  EXPECT_NE(makeStr(u"0.1")->parseDouble(), 0.1);
  EXPECT_EQ(makeStr(u" -2.5e3xyz")->parseFloat(), -2500.0f);
  EXPECT_EQ(makeStr(u"abc")->parseDouble(), 0.0);
}

TEST(StrBufferNumbers, Formatting) {
  Str s = makeStr();
  s->appendNumber(static_cast<std::uint64_t>(18446744073709551615ull));
  s->appendChar(u' ');
  s->appendNumber(static_cast<std::int64_t>(INT64_MIN));
  s->appendChar(u' ');
  s->appendNumber(static_cast<std::uint32_t>(4000000000u));
  s->appendChar(u' ');
  s->appendNumber(static_cast<std::int8_t>(-5));
  s->appendChar(u' ');
  s->appendNumber(static_cast<std::uint8_t>(255));
  s->appendChar(u' ');
  s->appendNumber(static_cast<std::int16_t>(-300));
  s->appendChar(u' ');
  s->appendNumber(1.5f);
  s->appendChar(u' ');
  s->appendNumber(-0.25);
  EXPECT_EQ(textOf(*s),
            u"18446744073709551615 -9223372036854775808 4000000000 -5 255 -300 1.500000 "
            u"-0.250000");
  s->setNumber(static_cast<std::int32_t>(-42));
  EXPECT_EQ(textOf(*s), u"-42");
  s->setNumber(static_cast<std::uint16_t>(65535));
  EXPECT_EQ(textOf(*s), u"65535");
  // A huge double is written in full, not cut at a fixed buffer size.
  s->setNumber(1e300);
  EXPECT_EQ(s->length(), 308u);
  EXPECT_EQ(s->charAt(0), u'1');
}

TEST(StrBufferNumbers, HexOut) {
  Str s = makeStr();
  const std::uint64_t u64[] = {0x0123456789abcdefull};
  const std::uint32_t u32[] = {1, 255};
  const std::uint16_t u16[] = {0xBEEF};
  const std::uint8_t u8[] = {0x0A, 0xFF};
  const std::int64_t s64[] = {-1};
  const std::int32_t s32[] = {-2};
  const std::int16_t s16[] = {-1};
  const std::int8_t s8[] = {-1, 16};
  const float f[] = {1.0f};
  const double d[] = {1.0};
  struct Case {
    std::function<void()> append;
    const char16_t* expected;
  };
  const Case cases[] = {
      {[&] { s->appendHex(u64, 1); }, u"0123456789abcdef"},
      {[&] { s->appendHex(u32, 2); }, u"00000001000000ff"},
      {[&] { s->appendHex(u16, 1); }, u"beef"},
      {[&] { s->appendHex(u8, 2); }, u"0aff"},
      {[&] { s->appendHex(s64, 1); }, u"ffffffffffffffff"},
      {[&] { s->appendHex(s32, 1); }, u"fffffffe"},
      {[&] { s->appendHex(s16, 1); }, u"ffff"},  // the value's own width
      {[&] { s->appendHex(s8, 2); }, u"ff10"},
      {[&] { s->appendHex(f, 1); }, u"3f800000"},
      {[&] { s->appendHex(d, 1); }, u"000000003ff00000"},  // low half first
      {[&] { s->appendHex(u32, 0); }, u""},
      {[&] { s->appendHex(static_cast<const std::uint32_t*>(nullptr), 3); }, u""},
  };
  for (const Case& c : cases) {
    s->clear();
    c.append();
    EXPECT_EQ(textOf(*s), c.expected);
  }
}

TEST(StrBufferNumbers, HexInAndIntegers) {
  struct Case {
    const char16_t* text;
    bool isHex;
    std::uint32_t value;
    bool isInteger;
  };
  for (const Case& c :
       {Case{u"", false, 0, false}, Case{u"1f", true, 0x1f, false},
        Case{u"DEADbeef", true, 0xdeadbeef, false}, Case{u"123456789", true, 0x23456789, true},
        Case{u"-", false, 0, false}, Case{u"-12", false, 0x12, true},
        Case{u"1-2", false, 0x102, false}, Case{u"0x1", false, 1, false}}) {
    Str s = makeStr(c.text);
    EXPECT_EQ(s->isHex(), c.isHex) << textOf(*s).size();
    EXPECT_EQ(s->parseHex(), c.value);
    EXPECT_EQ(s->isInteger(), c.isInteger);
  }
  Str s = makeStr(u"0aFz");
  EXPECT_EQ(s->hexDigitAt(2), 15u);
  EXPECT_EQ(s->hexDigitAt(3), 0u);
  EXPECT_EQ(s->hexDigitAt(99), 0u);
}

// ---- printf-style formatting

TEST(StrBufferFormat, Conversions) {
  struct Case {
    std::function<void(StrBuffer&)> format;
    const char16_t* expected;
  };
  const Case cases[] = {
      {[](StrBuffer& s) { s.format(u"%d|%5d|%-5d|%05d", 42, 42, 42, -42); },
       u"42|   42|42   |-0042"},
      {[](StrBuffer& s) { s.format(u"%u %x %X %o %#x", 7u, 255u, 255u, 8u, 255u); },
       u"7 ff FF 10 0xff"},
      {[](StrBuffer& s) { s.format(u"%I64d %I64u %lld", -5LL, 5ULL, 9LL); }, u"-5 5 9"},
      {[](StrBuffer& s) { s.format(u"%hhd %hd %zu", 300, 70000, static_cast<std::size_t>(3)); },
       u"44 4464 3"},
      {[](StrBuffer& s) {
         s.format(u"%s and %.3s [%6s] [%-6s]", u"one", u"twofold", u"ab", u"ab");
       },
       u"one and two [    ab] [ab    ]"},
      {[](StrBuffer& s) { s.format(u"%hs|%s", "narrow", static_cast<const char16_t*>(nullptr)); },
       u"narrow|(null)"},
      {[](StrBuffer& s) { s.format(u"%c%c%3c", u'\u20ac', u'x', u'y'); }, u"\u20acx  y"},
      {[](StrBuffer& s) { s.format(u"%.2f %e %g %08.3f", 3.14159, 1500.0, 0.5, -1.5); },
       u"3.14 1.500000e+03 0.5 -001.500"},
      {[](StrBuffer& s) { s.format(u"%*d|%-*d|%.*f", 4, 1, 3, 2, 1, 2.25); }, u"   1|2  |2.2"},
      {[](StrBuffer& s) { s.format(u"100%% %y %"); }, u"100% %y %"},
      {[](StrBuffer& s) { s.format(u"%%%s%%", u"x"); }, u"%x%"},
  };
  for (const Case& c : cases) {
    Str s = makeStr(u"old content");
    c.format(*s);
    EXPECT_EQ(textOf(*s), c.expected);
  }
}

TEST(StrBufferFormat, NeverWritesThroughPercentN) {
  int written = 1234;
  Str s = makeStr();
  s->appendFormat(u"ab%ncd", &written);
  EXPECT_EQ(textOf(*s), u"abcd");
  EXPECT_EQ(written, 1234);
  s->appendFormat(nullptr);
  EXPECT_EQ(textOf(*s), u"abcd");
}

TEST(StrBufferFormat, WidthsAreHonouredUpToACap) {
  Str s = makeStr();
  s->format(u"[%300d]", 7);  // wider than any fixed scratch buffer
  EXPECT_EQ(s->length(), 302u);
  EXPECT_EQ(s->charAt(300), u'7');
  s->format(u"%*d", INT_MIN, 7);  // a width that cannot be negated
  EXPECT_EQ(s->length(), 1u << 20);
  EXPECT_EQ(s->charAt(0), u'7');
  s->format(u"%99999999999s|", u"x");
  EXPECT_EQ(s->length(), (1u << 20) + 1);
}

// ---- replacing

TEST(StrBufferReplace, EveryOccurrenceLeftToRight) {
  struct Case {
    const char16_t* text;
    const char16_t* find;
    const char16_t* with;
    bool ignoreCase;
    const char16_t* expected;
  };
  const Case cases[] = {
      {u"a-b-c", u"-", u"+", false, u"a+b+c"},           // same length, in place
      {u"a--b--c--", u"--", u"/", false, u"a/b/c/"},     // shorter, compacted
      {u"a/b/c", u"/", u"\\\\", false, u"a\\\\b\\\\c"},  // longer, rebuilt
      {u"aaaa", u"aa", u"b", false, u"bb"},
      {u"aaa", u"aa", u"aaaa", false, u"aaaaa"},  // the search resumes after each
      {u"Foo fOO foo", u"FOO", u"bar", true, u"bar bar bar"},
      {u"Foo fOO foo", u"FOO", u"bar", false, u"Foo fOO foo"},
      {u"abc", u"", u"x", false, u"abc"},  // empty find: nothing
      {u"abc", u"b", u"", false, u"ac"},
      {u"", u"a", u"b", false, u""},
      {u"xyz", u"xyz", u"0123456789", false, u"0123456789"},
  };
  for (const Case& c : cases) {
    Str s = makeStr(c.text);
    if (c.ignoreCase) {
      s->replaceAllIgnoreCase(c.find, c.with);
    } else {
      s->replaceAll(c.find, c.with);
    }
    EXPECT_EQ(textOf(*s), c.expected);
  }
}

TEST(StrBufferReplace, FindAndReplacementMayComeFromTheStringItself) {
  Str s = makeStr(u"ab-ab");
  s->replaceAll(s->getText() + 3, s->getText());  // "ab" -> "ab-ab"
  EXPECT_EQ(textOf(*s), u"ab-ab-ab-ab");
}

// ---- splitting

TEST(StrBufferSplit, PartsBetweenSeparators) {
  struct Case {
    const char16_t* text;
    std::vector<std::u16string> parts;
  };
  const Case cases[] = {
      {u",a,,b,", {u"a", u"b"}},      {u",,,", {}}, {u"", {}}, {u"abc", {u"abc"}},
      {u"one,two", {u"one", u"two"}},
  };
  for (const Case& c : cases) {
    Owned<StrArray> list(makeStr(c.text)->split(u','));
    EXPECT_EQ(partsOf(*list), c.parts);
  }
}

TEST(StrBufferSplit, Words) {
  struct Case {
    const char16_t* text;
    bool skipCommon;
    std::vector<std::u16string> words;
  };
  const Case cases[] = {
      {u"The cat and the dog", true, {u"cat", u"dog"}},
      {u"The cat and the dog", false, {u"The", u"cat", u"and", u"dog"}},
      {u"Of course, OF COURSE!", true, {u"course"}},
      {u"50% off: +3 -x (a.b)", false, {u"50%", u"off", u"+3", u"-x", u"a", u"b"}},
      {u"caf\u00e9 na\u00efve \u00d7 \u4e2d\u6587\u3002\u65e5\u672c\u3010x\u3011",
       false,
       {u"caf\u00e9", u"na\u00efve", u"\u4e2d\u6587", u"\u65e5\u672c", u"x"}},
      {u"  ...  ", true, {}},
  };
  for (const Case& c : cases) {
    Owned<StrArray> list(makeStr(c.text)->splitWords(c.skipCommon));
    EXPECT_EQ(partsOf(*list), c.words);
  }
}

}  // namespace
