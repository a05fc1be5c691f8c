#include <gtest/gtest.h>

#include "Owned.h"

namespace {

using s::str::IStr;
using s::str::strbuffer::StrBuffer;
using vonq::test::makeStr;
using vonq::test::Str;
using vonq::test::textOf;

TEST(StrBufferStorage, NewStringHasNoStorageButAnEmptyText) {
  Str s = makeStr();
  EXPECT_EQ(s->getBuffer(), nullptr);
  ASSERT_NE(s->getText(), nullptr);
  EXPECT_EQ(s->getText()[0], u'\0');
  EXPECT_EQ(s->charPtr(0u), nullptr);
}

TEST(StrBufferStorage, GrowsTo100ThenTo300UnitByUnit) {
  Str s = makeStr();
  std::u16string expected;
  for (int i = 0; i < 101; ++i) {
    const char16_t ch = static_cast<char16_t>(u'a' + i % 26);
    s->appendChar(ch);
    expected.push_back(ch);
    EXPECT_EQ(s->capacity(), i < 100 ? 100u : 300u) << "after unit " << i + 1;
  }
  EXPECT_EQ(textOf(*s), expected);
}

TEST(StrBufferStorage, GrowthStepsReserveAndEnsure) {
  struct Case {
    std::uint32_t reserved;
    std::uint32_t afterGrow;
  };
  for (const Case& c : {Case{0, 100}, Case{1, 100}, Case{99, 100}, Case{100, 300}, Case{300, 900},
                        Case{1000, 3000}}) {
    Str s = makeStr();
    ASSERT_TRUE(s->reserve(c.reserved));
    EXPECT_EQ(s->capacity(), c.reserved);
    ASSERT_TRUE(s->grow());
    EXPECT_EQ(s->capacity(), c.afterGrow) << "from " << c.reserved;
  }
  // ensureCapacity repeats the step; reserve sets exactly; neither shrinks.
  Str s = makeStr();
  ASSERT_TRUE(s->ensureCapacity(301));
  EXPECT_EQ(s->capacity(), 900u);
  ASSERT_TRUE(s->reserve(901));
  EXPECT_EQ(s->capacity(), 901u);
  ASSERT_TRUE(s->reserve(5));
  EXPECT_EQ(s->capacity(), 901u);
  EXPECT_FALSE(s->ensureCapacity(0xFFFFFFFFu));
  EXPECT_EQ(s->capacity(), 901u);
}

TEST(StrBufferStorage, GrowingKeepsTheText) {
  Str s = makeStr(u"keep me");
  ASSERT_TRUE(s->reserve(5000));
  EXPECT_EQ(textOf(*s), u"keep me");
}

TEST(StrBufferStorage, TerminatorIsWrittenOnlyOnDemand) {
  Str s = makeStr(u"abcd");
  s->setLength(2);
  EXPECT_EQ(s->getBuffer()[2], u'c');  // the old unit is still there
  EXPECT_EQ(std::u16string(s->getText()), u"ab");
  EXPECT_EQ(s->getBuffer()[2], u'\0');
  s->setLength(3);
  s->getBuffer()[3] = u'x';
  s->terminate();
  EXPECT_EQ(s->getBuffer()[3], u'\0');
}

TEST(StrBufferStorage, SetLengthNeverPassesTheCapacity) {
  Str s = makeStr(u"abc");
  s->setLength(0xFFFFFFFFu);
  EXPECT_EQ(s->length(), s->capacity());
  EXPECT_NE(s->getText(), nullptr);  // the terminator still fits
}

TEST(StrBufferStorage, ClearKeepsStorageResetFreesIt) {
  Str s = makeStr(u"some text");
  const std::uint32_t capacity = s->capacity();
  s->clear();
  EXPECT_EQ(s->length(), 0u);
  EXPECT_EQ(s->capacity(), capacity);
  s->reset();
  EXPECT_EQ(s->capacity(), 0u);
  EXPECT_EQ(s->getBuffer(), nullptr);
}

TEST(StrBufferStorage, PooledStringsComeBackEmptyAndWithoutStorage) {
  StrBuffer* first = StrBuffer::fromText(u"used before");
  first->release();
  StrBuffer* again = StrBuffer::create();
  EXPECT_EQ(again->length(), 0u);
  EXPECT_EQ(again->capacity(), 0u);
  EXPECT_EQ(again->getPosition(), 0u);
  again->release();
  EXPECT_EQ(std::u16string(StrBuffer::pool().getClassName()), u"s_thread_EasyPooler");
}

TEST(StrBufferStorage, ClassNameAndNewInstance) {
  Str s = makeStr(u"x");
  EXPECT_EQ(std::u16string(s->getClassName()), u"s_str_strbuffer_StrBuffer");
  Str other(dynamic_cast<StrBuffer*>(s->newInstance()));
  ASSERT_NE(other, nullptr);
  EXPECT_EQ(other->length(), 0u);
}

TEST(StrBufferStorage, CharPtrStaysInsideTheStorage) {
  Str s = makeStr(u"abc");
  EXPECT_EQ(s->charPtr(1u), s->getBuffer() + 1);
  EXPECT_EQ(s->charPtr(s->capacity()), s->getBuffer() + s->capacity());
  EXPECT_EQ(s->charPtr(s->capacity() + 1), nullptr);
  EXPECT_EQ(s->charAt(3), u'\0');
  EXPECT_EQ(s->charAt(0xFFFFFFFFu), u'\0');
}

// ---- appending from any source, including the string itself

TEST(StrBufferAppend, LengthArgumentsAndNullTexts) {
  Str s = makeStr();
  s->append(u"abcdef", 3);
  s->append(u"XY", -1);
  s->append(nullptr, 5);
  s->append(u"zz", -7);  // a negative length other than -1 is an empty text
  s->appendAscii("\xe9!", -1);
  s->appendChar('?');
  s->appendChar(u'\u20ac');
  EXPECT_EQ(textOf(*s), u"abcXY\u00e9!?\u20ac");
}

TEST(StrBufferAppend, SourcesInsideTheOwnStorageSurviveGrowth) {
  Str s = makeStr();
  s->reserve(10);
  s->append(u"0123456789", 10);  // full: the next append must reallocate
  s->append(*s);
  EXPECT_EQ(textOf(*s), u"01234567890123456789");

  Str p = makeStr();
  p->reserve(3);
  p->append(u"abc", 3);
  p->prepend(p->getBuffer() + 1, 2);
  EXPECT_EQ(textOf(*p), u"bcabc");

  Str t = makeStr(u"hello world");
  t->set(t->getText() + 6);
  EXPECT_EQ(textOf(*t), u"world");
  t->set(*t);
  EXPECT_EQ(textOf(*t), u"world");
  t->append(t->getBuffer(), static_cast<std::int32_t>(t->length()));
  EXPECT_EQ(textOf(*t), u"worldworld");
}

TEST(StrBufferAppend, Factories) {
  Str folder = makeStr(u"C:\\Users");
  Str name = makeStr(u"desk");
  Str joined(StrBuffer::joinPath(*folder, *name));
  Str link(StrBuffer::shortcutPath(*folder, *name));
  Str both(StrBuffer::concat(*folder, *name));
  Str ascii(StrBuffer::fromAscii("plain"));
  EXPECT_EQ(textOf(*joined), u"C:\\Users\\desk");
  EXPECT_EQ(textOf(*link), u"C:\\Users\\desk.lnk");
  EXPECT_EQ(textOf(*both), u"C:\\Usersdesk");
  EXPECT_EQ(textOf(*ascii), u"plain");
  Str none(StrBuffer::fromText(nullptr));
  EXPECT_EQ(none->length(), 0u);
}

}  // namespace
