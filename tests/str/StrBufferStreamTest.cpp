#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "Owned.h"
#include "col/_array/ArrayU08.h"
#include "os/CodePage.h"
#include "str/strbuffer/Iterator.h"
#include "system/MD5.h"

namespace {

using s::col::_array::ArrayU08;
using s::os::CodePage;
using s::str::strbuffer::Iterator;
using s::str::strbuffer::StrBuffer;
using vonq::test::makeStr;
using vonq::test::Owned;
using vonq::test::Str;
using vonq::test::textOf;

std::string bytesOf(const ArrayU08& a) {
  return std::string(static_cast<const char*>(a.data()), a.length());
}

// The byte just after the array's data (inside its storage).
std::uint8_t byteAfter(const ArrayU08& a) {
  return static_cast<const std::uint8_t*>(a.data())[a.length()];
}

// ---- the stream faces

TEST(StrBufferStream, WrittenBytesReadBack) {
  Str s = makeStr();
  std::uint32_t n = 0;
  ASSERT_TRUE(s->write("h\0i\0", 4, n));
  EXPECT_EQ(n, 4u);
  EXPECT_EQ(textOf(*s), u"hi");
  ASSERT_TRUE(s->write("!", 1, n));  // an odd byte raises the length by a unit
  EXPECT_EQ(s->length(), 3u);
  EXPECT_EQ(s->charAt(2), u'!');  // the high byte reads as zero

  ASSERT_TRUE(s->seekToStart());
  char buffer[16] = {};
  ASSERT_TRUE(s->read(buffer, sizeof(buffer), n));
  EXPECT_EQ(n, 6u);
  EXPECT_EQ(std::memcmp(buffer, "h\0i\0!\0", 6), 0);
  EXPECT_FALSE(s->read(buffer, sizeof(buffer), n));
  EXPECT_EQ(n, 0u);
}

TEST(StrBufferStream, OverwritesInTheMiddle) {
  Str s = makeStr(u"abcd");
  ASSERT_TRUE(s->seek(2));
  std::uint32_t n = 0;
  ASSERT_TRUE(s->write("X\0", 2, n));
  EXPECT_EQ(textOf(*s), u"aXcd");
  EXPECT_EQ(s->getPosition(), 4u);
  ASSERT_TRUE(s->truncateHere());
  EXPECT_EQ(textOf(*s), u"aX");
}

TEST(StrBufferStream, MovesAreClampedToTheData) {
  Str s = makeStr(u"abc");  // 6 bytes
  struct Case {
    std::function<bool(StrBuffer&)> move;
    bool exact;
    std::uint64_t position;
  };
  const Case cases[] = {
      {[](StrBuffer& x) { return x.seek(4); }, true, 4},
      {[](StrBuffer& x) { return x.seek(100); }, false, 6},
      {[](StrBuffer& x) { return x.seekToEnd(); }, true, 6},
      {[](StrBuffer& x) { return x.seekFromEnd(2); }, true, 4},
      {[](StrBuffer& x) { return x.seekFromEnd(7); }, false, 0},
      {[](StrBuffer& x) { return x.forward(5); }, true, 5},
      {[](StrBuffer& x) { return x.forward(5); }, false, 6},
      {[](StrBuffer& x) { return x.backward(1); }, true, 5},
      {[](StrBuffer& x) { return x.backward(9); }, false, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.move(*s), c.exact);
    EXPECT_EQ(s->getPosition(), c.position);
  }
  // Bad arguments never touch memory.
  std::uint32_t n = 99;
  EXPECT_FALSE(s->read(nullptr, 10, n));
  EXPECT_EQ(n, 0u);
  EXPECT_FALSE(s->write(nullptr, 10, n));
  EXPECT_TRUE(s->write(nullptr, 0, n));
}

TEST(StrBufferStream, ShrinkingBelowThePositionLeavesNothingToRead) {
  Str s = makeStr(u"abcdef");
  ASSERT_TRUE(s->seekToEnd());
  s->setLength(1);
  char buffer[4];
  std::uint32_t n = 0;
  EXPECT_FALSE(s->read(buffer, 4, n));
  ASSERT_TRUE(s->write("Z\0", 2, n));  // the gap reads as zero units
  EXPECT_EQ(textOf(*s), std::u16string(u"a\0\0\0\0\0Z", 7));
}

// ---- code pages

TEST(StrBufferCodePages, Utf8BothWays) {
  Str s = makeStr(u"a\u00e9\u20ac\U0001D11E");
  Owned<ArrayU08> bytes(ArrayU08::create());
  s->toUtf8(*bytes, false);
  EXPECT_EQ(bytesOf(*bytes), "a\xC3\xA9\xE2\x82\xAC\xF0\x9D\x84\x9E");
  EXPECT_EQ(byteAfter(*bytes), 0);  // written, not counted
  s->toUtf8WithZero(*bytes, true);
  EXPECT_EQ(bytes->length(), 21u);  // appended, zero counted
  EXPECT_EQ(bytes->data() != nullptr ? static_cast<std::uint8_t*>(bytes->data())[20] : 1, 0);

  Str back = makeStr(u"x");
  back->fromUtf8("a\xC3\xA9\xE2\x82\xAC\xF0\x9D\x84\x9E", true);
  EXPECT_EQ(textOf(*back), u"xa\u00e9\u20ac\U0001D11E");
  back->fromUtf8("abc", false, 2);
  EXPECT_EQ(textOf(*back), u"ab");
}

TEST(StrBufferCodePages, InvalidInputBecomesReplacementCharacters) {
  struct Case {
    std::string bytes;
    std::u16string text;
  };
  const Case cases[] = {
      {"a\xFF"
       "b",
       u"a\uFFFDb"},
      {"\xC3", u"\uFFFD"},  // cut short at the end
      {"\xE2\x82"
       "A",
       u"\uFFFDA"},                                       // cut short before an ASCII byte
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},            // an encoded surrogate
      {"\xC0\xAF", u"\uFFFD\uFFFD"},                      // overlong
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // beyond U+10FFFF
  };
  for (const Case& c : cases) {
    Str s = makeStr();
    s->fromUtf8(c.bytes.data(), false, static_cast<std::int32_t>(c.bytes.size()));
    EXPECT_EQ(textOf(*s), c.text);
  }
  Str lone = makeStr();
  lone->appendChar(static_cast<char16_t>(0xD800));
  lone->appendChar(u'x');
  Owned<ArrayU08> bytes(ArrayU08::create());
  lone->toUtf8(*bytes, false);
  EXPECT_EQ(bytesOf(*bytes), "\xEF\xBF\xBDx");
}

TEST(StrBufferCodePages, Utf16ByteOrders) {
  Str s = makeStr(u"A\u20ac");
  Owned<ArrayU08> bytes(ArrayU08::create());
  s->encode(CodePage::kUtf16Le, *bytes, false);
  EXPECT_EQ(bytesOf(*bytes), std::string("A\0\xAC\x20", 4));
  s->encodeWithZero(CodePage::kUtf16Be, *bytes, false);
  EXPECT_EQ(bytesOf(*bytes), std::string("\0A\x20\xAC\0\0", 6));

  Str back = makeStr();
  back->decode(CodePage::kUtf16Be, static_cast<const char*>(bytes->data()), false);  // to 0 0
  EXPECT_EQ(textOf(*back), u"A\u20ac");
  const char le[] = {'h', 0, 0, 'i', 'x', 0, 0, 0};  // "h", U+6900, "x"
  back->decode(CodePage::kUtf16Le, le, false);
  EXPECT_EQ(textOf(*back), u"h\u6900x");
  back->decode(CodePage::kUtf16Le, le, false, 3);  // an odd last byte is dropped
  EXPECT_EQ(textOf(*back), u"h");
}

TEST(StrBufferCodePages, DecodingFromTheOwnStorage) {
  Str s = makeStr(u"abc");
  s->decode(CodePage::kUtf16Le, reinterpret_cast<const char*>(s->getBuffer()), false, 4);
  EXPECT_EQ(textOf(*s), u"ab");
}

// A code page that records what it was asked and answers in upper case.
class RecordingCodePage : public CodePage {
 public:
  bool toUtf16(std::uint32_t codePage, std::string_view bytes, std::u16string& out) override {
    asked = codePage;
    for (char c : bytes) out.push_back(static_cast<char16_t>(std::toupper(c)));
    return true;
  }
  bool fromUtf16(std::uint32_t codePage, std::u16string_view text, std::string& out) override {
    asked = codePage;
    for (char16_t c : text) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return true;
  }
  std::uint32_t oemCodePage() override { return 437; }
  std::uint32_t ansiCodePage() override { return 1252; }
  std::uint32_t asked = 0xFFFFFFFF;
};

class InstalledCodePage : public ::testing::Test {
 protected:
  void SetUp() override { previous_ = s::os::setCodePage(&fake_); }
  void TearDown() override {
    s::os::setCodePage(previous_ == &s::os::platformCodePage() ? nullptr : previous_);
  }
  RecordingCodePage fake_;
  CodePage* previous_ = nullptr;
};

TEST_F(InstalledCodePage, OemAndOtherPagesGoThroughThePlatform) {
  Str s = makeStr(u"d\u00e9j\u00e0");
  Owned<ArrayU08> bytes(ArrayU08::create());
  s->toOemWithZero(*bytes, false);
  EXPECT_EQ(fake_.asked, CodePage::kOem);
  EXPECT_EQ(bytesOf(*bytes), std::string("d?j?\0", 5));
  s->fromOem("abc", false);
  EXPECT_EQ(textOf(*s), u"ABC");
  s->decode(1252, "xy", true);
  EXPECT_EQ(fake_.asked, 1252u);
  EXPECT_EQ(textOf(*s), u"ABCXY");
}

TEST(PlatformCodePage, LegacyPagesThroughIconv) {
  CodePage& pages = s::os::platformCodePage();
  std::string bytes;
  ASSERT_TRUE(pages.fromUtf16(1252, u"\u20ac\u00e9\u4e2d", bytes));
  EXPECT_EQ(bytes, "\x80\xE9?");  // the CJK unit has no place in 1252
  std::u16string text;
  ASSERT_TRUE(pages.toUtf16(1252, "\x80\xE9", text));
  EXPECT_EQ(text, u"\u20ac\u00e9");
  text.clear();
  ASSERT_TRUE(pages.toUtf16(CodePage::kAscii, "a\xE9", text));
  EXPECT_EQ(text, u"a\uFFFD");
  bytes.clear();
  ASSERT_TRUE(pages.fromUtf16(437, u"\U0001D11E!", bytes));
  EXPECT_EQ(bytes, "?!");  // a surrogate pair is one character
  EXPECT_FALSE(pages.toUtf16(99999, "x", text));
  EXPECT_NE(pages.oemCodePage(), 0xFFFFFFFFu);
}

TEST(StrBufferCodePages, HexToBytes) {
  Owned<ArrayU08> bytes(ArrayU08::create());
  makeStr(u"00ff7A1")->hexToBytes(*bytes, false);
  EXPECT_EQ(bytesOf(*bytes), std::string("\x00\xff\x7a", 3));
  makeStr(u"zz10")->hexToBytes(*bytes, true);
  EXPECT_EQ(bytesOf(*bytes), std::string("\x00\xff\x7a\x00\x10", 5));
}

// ---- digest

TEST(StrBufferDigest, Md5OfTheUtf16Bytes) {
  Str s = makeStr(u"abc");
  Str out = makeStr(u"previous");
  s->digest(*out, s::system::MD5::kHexLower);
  const s::system::MD5::Digest expected = s::system::MD5::of("a\0b\0c\0", 6);
  char16_t hex[32];
  s::system::MD5::toHex(expected, false, hex);
  EXPECT_EQ(textOf(*out), std::u16string(hex, 32));
  s->digest(*out, s::system::MD5::kHexUpper);
  s::system::MD5::toHex(expected, true, hex);
  EXPECT_EQ(textOf(*out), std::u16string(hex, 32));
  s->digest(*out, s::system::MD5::kRaw);
  ASSERT_EQ(out->length(), 8u);
  EXPECT_EQ(std::memcmp(out->getBuffer(), expected.data(), 16), 0);
}

// ---- iterators

std::u16string walkForward(Iterator& it) {
  std::u16string seen;
  while (it.hasNext()) seen.push_back(*static_cast<char16_t*>(it.next()));
  return seen;
}

std::u16string walkBack(Iterator& it) {
  std::u16string seen;
  for (void* unit = it.previous(); unit != nullptr; unit = it.previous()) {
    seen.push_back(*static_cast<char16_t*>(unit));
  }
  return seen;
}

TEST(StrBufferIterator, WalksBothWaysFromEveryStart) {
  Str s = makeStr(u"abcd");
  Owned<Iterator> start(s->iterator());
  EXPECT_EQ(start->getIndex(), -1);
  EXPECT_EQ(walkForward(*start), u"abcd");
  EXPECT_EQ(start->next(), nullptr);
  EXPECT_EQ(walkBack(*start), u"cba");

  Owned<Iterator> end(s->iteratorAtEnd());
  EXPECT_EQ(walkBack(*end), u"dcba");
  Owned<Iterator> at(s->iteratorAt(2));
  EXPECT_EQ(walkForward(*at), u"cd");
  Owned<Iterator> fromEnd(s->iteratorFromEnd(1));
  EXPECT_EQ(walkBack(*fromEnd), u"dcba");
  Owned<Iterator> far(s->iteratorAt(99));
  EXPECT_FALSE(far->hasNext());
  EXPECT_EQ(std::u16string(far->getClassName()), u"s_str_strbuffer_Iterator");

  Str empty = makeStr();
  Owned<Iterator> none(empty->iterator());
  EXPECT_FALSE(none->hasNext());
  EXPECT_EQ(none->next(), nullptr);
  EXPECT_EQ(none->previous(), nullptr);
}

TEST(StrBufferIterator, SkipsAreClamped) {
  Str s = makeStr(u"abcdef");
  Owned<Iterator> it(s->iterator());
  it->skipForward(2);
  EXPECT_EQ(*static_cast<char16_t*>(it->next()), u'c');  // index 1, then 2
  it->skipForward(100);
  EXPECT_EQ(it->getIndex(), 6);
  it->skipBack(100);
  EXPECT_EQ(it->getIndex(), -1);
  s->setLength(2);  // the string shrank under the iterator
  it->setIndex(5);
  EXPECT_EQ(it->getIndex(), 2);
  EXPECT_EQ(it->next(), nullptr);
}

}  // namespace
