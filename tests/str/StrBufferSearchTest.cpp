#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "Owned.h"
#include "base/IComparator.h"

namespace {

using s::str::IStr;
using s::str::strbuffer::StrBuffer;
using vonq::test::makeStr;
using vonq::test::Str;
using vonq::test::textOf;

constexpr std::uint32_t kUntouched = 4242;
constexpr std::uint32_t kNone = 0xFFFFFFFFu;  // expected: not found

// One search, its expected index (kNone: not found, out left alone).
struct SearchCase {
  const char* what;
  std::function<bool(const StrBuffer&, std::uint32_t&)> search;
  std::uint32_t expected;
};

void runSearches(const char16_t* text, std::initializer_list<SearchCase> cases) {
  Str s = makeStr(text);
  for (const SearchCase& c : cases) {
    std::uint32_t out = kUntouched;
    const bool found = c.search(*s, out);
    if (c.expected == kNone) {
      EXPECT_FALSE(found) << c.what;
      EXPECT_EQ(out, kUntouched) << c.what;
    } else {
      EXPECT_TRUE(found) << c.what;
      EXPECT_EQ(out, c.expected) << c.what;
    }
  }
}

TEST(StrBufferSearch, UnitSearches) {
  // index:        0123456789
  runSearches(
      u"abcAbcabcA",
      {
          {"indexOf", [](auto& s, auto& o) { return s.indexOf(u'b', o); }, 1},
          {"indexOf from", [](auto& s, auto& o) { return s.indexOf(u'b', o, 2); }, 4},
          {"indexOf from end", [](auto& s, auto& o) { return s.indexOf(u'a', o, 10); }, kNone},
          {"indexOf far", [](auto& s, auto& o) { return s.indexOf(u'a', o, 999); }, kNone},
          {"indexOfIgnoreCase", [](auto& s, auto& o) { return s.indexOfIgnoreCase(u'a', o, 1); },
           3},
          {"indexOfAny", [](auto& s, auto& o) { return s.indexOfAny(u"xcA", -1, o); }, 2},
          {"indexOfAny count", [](auto& s, auto& o) { return s.indexOfAny(u"xcA", 1, o); }, kNone},
          {"indexOfAnyIgnoreCase",
           [](auto& s, auto& o) { return s.indexOfAnyIgnoreCase(u"XC", -1, o, 3); }, 5},
          {"lastIndexOf end", [](auto& s, auto& o) { return s.lastIndexOf(u'a', o, 0xFFFFFF); }, 6},
          {"lastIndexOf default", [](auto& s, auto& o) { return s.lastIndexOf(u'A', o); }, 9},
          {"lastIndexOf before 3", [](auto& s, auto& o) { return s.lastIndexOf(u'A', o, 3); },
           kNone},
          {"lastIndexOf before 4", [](auto& s, auto& o) { return s.lastIndexOf(u'A', o, 4); }, 3},
          {"lastIndexOf before 0", [](auto& s, auto& o) { return s.lastIndexOf(u'a', o, 0); },
           kNone},
          {"lastIndexOf before beyond",
           [](auto& s, auto& o) { return s.lastIndexOf(u'c', o, 5000); }, 8},
          {"lastIndexOfIgnoreCase",
           [](auto& s, auto& o) { return s.lastIndexOfIgnoreCase(u'a', o, 9); }, 6},
          {"lastIndexOfAny", [](auto& s, auto& o) { return s.lastIndexOfAny(u"bc", -1, o, 6); }, 5},
          {"lastIndexOfAnyIgnoreCase",
           [](auto& s, auto& o) { return s.lastIndexOfAnyIgnoreCase(u"B", 1, o); }, 7},
      });
}

TEST(StrBufferSearch, TextSearches) {
  // index:        0123456789
  runSearches(
      u"one two one",
      {
          {"indexOfText", [](auto& s, auto& o) { return s.indexOfText(u"one", o); }, 0},
          {"indexOfText from", [](auto& s, auto& o) { return s.indexOfText(u"one", o, 1); }, 8},
          {"indexOfText absent", [](auto& s, auto& o) { return s.indexOfText(u"three", o); },
           kNone},
          {"indexOfText longer than the rest",
           [](auto& s, auto& o) { return s.indexOfText(u"one!", o, 8); }, kNone},
          {"indexOfText empty", [](auto& s, auto& o) { return s.indexOfText(u"", o, 4); }, 4},
          {"indexOfText far", [](auto& s, auto& o) { return s.indexOfText(u"", o, 12); }, kNone},
          {"indexOfTextIgnoreCase",
           [](auto& s, auto& o) { return s.indexOfTextIgnoreCase(u"TWO", o); }, 4},
          {"lastIndexOfText", [](auto& s, auto& o) { return s.lastIndexOfText(u"one", o); }, 8},
          {"lastIndexOfText must fit before",
           [](auto& s, auto& o) { return s.lastIndexOfText(u"one", o, 10); }, 0},
          {"lastIndexOfTextIgnoreCase",
           [](auto& s, auto& o) { return s.lastIndexOfTextIgnoreCase(u"ONE", o, 11); }, 8},
      });
}

TEST(StrBufferSearch, SearchesInAnEmptyString) {
  runSearches(
      u"",
      {
          {"indexOf", [](auto& s, auto& o) { return s.indexOf(u'a', o); }, kNone},
          {"lastIndexOf", [](auto& s, auto& o) { return s.lastIndexOf(u'a', o); }, kNone},
          {"lastIndexOfText", [](auto& s, auto& o) { return s.lastIndexOfText(u"a", o); }, kNone},
      });
}

TEST(StrBufferSearch, RegionEqualsAndEnds) {
  struct Case {
    const char16_t* text;
    std::uint32_t index;
    const char16_t* other;
    std::uint32_t otherIndex;
    std::int32_t count;
    bool equal;
    bool equalIgnoringCase;
  };
  const Case cases[] = {
      {u"abcd", 2, u"cd", 0, -1, true, true},     // reaches exactly the end
      {u"abcde", 2, u"cd", 0, -1, false, false},  // does not reach the end
      {u"abc", 2, u"cd", 0, -1, false, false},    // runs past the end
      {u"abCD", 2, u"cd", 0, -1, false, true},   {u"abcd", 1, u"xbc", 1, 2, true, true},
      {u"abcd", 3, u"de", 0, 2, false, false},  // the region does not fit
      {u"abcd", 9, u"", 0, 0, false, false},    // index beyond the end
      {u"abcd", 4, u"", 0, -1, true, true},     // empty tail at the end
      {u"abcd", 0, u"ABCD", 0, 4, false, true},
  };
  for (const Case& c : cases) {
    Str s = makeStr(c.text);
    EXPECT_EQ(s->regionEquals(c.index, c.other, c.otherIndex, c.count), c.equal)
        << std::string(c.text, c.text + std::char_traits<char16_t>::length(c.text)) << " @"
        << c.index;
    EXPECT_EQ(s->regionEqualsIgnoreCase(c.index, c.other, c.otherIndex, c.count),
              c.equalIgnoringCase);
  }
  Str s = makeStr(u"Report.TXT");
  EXPECT_TRUE(s->endsWith(u".TXT"));
  EXPECT_FALSE(s->endsWith(u".txt"));
  EXPECT_TRUE(s->endsWithIgnoreCase(u".txt"));
  EXPECT_TRUE(s->startsWith(u"Repx", 3));
  EXPECT_TRUE(s->startsWithIgnoreCase(u"rEPORT"));
  EXPECT_FALSE(s->startsWith(u"Report.TXT and more"));
  EXPECT_TRUE(s->startsWith(u""));
}

TEST(StrBufferSearch, CompareRegion) {
  struct Case {
    std::uint32_t index;
    const char16_t* other;
    std::int32_t count;
    int expected;
  };
  Str s = makeStr(u"abcDEF");
  for (const Case& c : {Case{3, u"DEF", -1, 0}, Case{3, u"DEFG", -1, -1}, Case{3, u"DE", -1, 1},
                        Case{3, u"DEx", 2, 0}, Case{0, u"abd", -1, -1}, Case{0, u"abb", 3, 1},
                        Case{6, u"", -1, 0}, Case{50, u"a", -1, -1}, Case{50, u"", 5, 0}}) {
    EXPECT_EQ(s->compareRegion(c.index, c.other, 0, c.count), c.expected)
        << "index " << c.index << " count " << c.count;
  }
  EXPECT_EQ(s->compareRegionIgnoreCase(3, u"def", 0, -1), 0);
  EXPECT_EQ(s->compareRegionIgnoreCase(0, u"ABC", 0, 3), 0);
}

TEST(StrBufferSearch, Trimming) {
  Str s = makeStr(u"ab     ");
  s->trimRightWhitespace(3);
  EXPECT_EQ(textOf(*s), u"ab ");

  Str all = makeStr(u"\t \u3000 x y\r\n \t");
  all->trimRightWhitespace();
  all->trimLeftWhitespace();
  EXPECT_EQ(textOf(*all), u"x y");

  Str set = makeStr(u"--==value==--");
  set->trimRight(u"-=", -1);
  set->trimLeft(u"-", 1);
  EXPECT_EQ(textOf(*set), u"==value");
  set->trimRight(u"eula", 3u, -1);
  EXPECT_EQ(textOf(*set), u"==v");

  Str blank = makeStr(u"   ");
  blank->trimLeftWhitespace();
  EXPECT_EQ(blank->length(), 0u);
}

TEST(StrBufferSearch, RangesAndBeforeLast) {
  Str s = makeStr(u"C:\\dir\\file.txt");
  Str head(s->beforeLast(u'\\'));
  Str none(s->beforeLast(u'/'));
  Str beforeDot(s->beforeLastText(u".TXT"));
  Str beforeDotCase(s->beforeLastTextIgnoreCase(u".TXT"));
  Str beforeAny(s->beforeLastAny(u":.", -1, 5));
  Str beforeIc(s->beforeLastIgnoreCase(u'D', 5));
  Str beforeAnyIc(s->beforeLastAnyIgnoreCase(u"DF", -1));
  EXPECT_EQ(textOf(*head), u"C:\\dir");
  EXPECT_EQ(textOf(*none), u"");
  EXPECT_EQ(textOf(*beforeDot), u"");
  EXPECT_EQ(textOf(*beforeDotCase), u"C:\\dir\\file");
  EXPECT_EQ(textOf(*beforeAny), u"C");
  EXPECT_EQ(textOf(*beforeIc), u"C:\\");
  EXPECT_EQ(textOf(*beforeAnyIc), u"C:\\dir\\");

  Str sub(s->substring(3, 6));
  Str tail(s->substring(7, 999));
  Str empty(s->substring(9, 2));
  EXPECT_EQ(textOf(*sub), u"dir");
  EXPECT_EQ(textOf(*tail), u"file.txt");
  EXPECT_EQ(empty->length(), 0u);

  Str copy(s->clone());
  copy->keepRange(7, 11);
  EXPECT_EQ(textOf(*copy), u"file");
  copy->keepRange(10, 20);
  EXPECT_EQ(copy->length(), 0u);
  EXPECT_EQ(textOf(*s), u"C:\\dir\\file.txt");  // clone is independent
}

TEST(StrBufferSearch, CaseMapping) {
  Str s = makeStr(u"hELLO wORLD");
  s->capitalize();
  EXPECT_EQ(textOf(*s), u"Hello world");
  s->toUpper();
  EXPECT_EQ(textOf(*s), u"HELLO WORLD");
  s->toLower();
  EXPECT_EQ(textOf(*s), u"hello world");
  EXPECT_EQ(s->charAtUpper(0), u'H');
  EXPECT_EQ(s->charAtLower(5), u' ');
  s->reverse();
  EXPECT_EQ(textOf(*s), u"dlrow olleh");
  Str digit = makeStr(u"1ABC");
  digit->capitalize();
  EXPECT_EQ(textOf(*digit), u"1abc");
}

// ---- comparison and hashing

TEST(StrBufferCompare, HashCodes) {
  struct Case {
    const char16_t* text;
    std::uint32_t hash;
  };
  // h = (h << 1 with bit 0 = old bit 30) ^ unit
  for (const Case& c : {Case{u"", 0}, Case{u"a", 0x61}, Case{u"ab", 0xA0},
                        Case{u"\u4000\u4000", 0x8000 ^ 0x4000}}) {
    EXPECT_EQ(makeStr(c.text)->hashCode(), c.hash);
  }
  // Bit 30 comes back as bit 0; bit 31 is dropped.
  Str s = makeStr();
  s->appendChar(u'\u0001');
  for (int i = 0; i < 30; ++i) s->appendChar(u'\0');
  EXPECT_EQ(s->hashCode(), 1u << 30);
  s->appendChar(u'\0');
  EXPECT_EQ(s->hashCode(), 1u << 31 | 1u);
  s->appendChar(u'\0');
  EXPECT_EQ(s->hashCode(), 2u);
  EXPECT_EQ(makeStr(u"MiXeD")->hashCodeIgnoreCase(), makeStr(u"mixed")->hashCode());
}

TEST(StrBufferCompare, OrderIsTheLittleEndianByteOrder) {
  struct Case {
    const char16_t* a;
    const char16_t* b;
    int expected;
  };
  for (const Case& c : {Case{u"\u00ff", u"\u0100", 1}, Case{u"\u0100", u"\u00ff", -1},
                        Case{u"ab", u"abc", -1}, Case{u"abc", u"ab", 1}, Case{u"abc", u"abc", 0},
                        Case{u"", u"", 0}, Case{u"b", u"a", 1}, Case{u"\u0201", u"\u0102", -1}}) {
    Str a = makeStr(c.a);
    Str b = makeStr(c.b);
    EXPECT_EQ(a->compareTo(b.get()), c.expected);
    EXPECT_EQ(a->equals(b.get()), c.expected == 0);
  }
}

TEST(StrBufferCompare, IgnoringCase) {
  EXPECT_EQ(makeStr(u"ABC")->compareToIgnoreCase(makeStr(u"abd").get()), -1);
  EXPECT_EQ(makeStr(u"abc")->compareToIgnoreCase(makeStr(u"AB").get()), 1);
  EXPECT_TRUE(makeStr(u"Hello")->equalsIgnoreCase(makeStr(u"hELLO").get()));
  EXPECT_FALSE(makeStr(u"Hello")->equalsIgnoreCase(makeStr(u"hELL").get()));
  Str a = makeStr(u"apple");
  Str b = makeStr(u"Banana");
  EXPECT_EQ(StrBuffer::compareStringsIgnoreCase(a.get(), b.get()), -1);
  EXPECT_EQ(StrBuffer::compareStringsIgnoreCase(b.get(), b.get()), 0);
  EXPECT_EQ(StrBuffer::compareStringsIgnoreCase(nullptr, b.get()), -1);
}

// A comparator that finds every pair equal.
class AllEqual : public s::base::IComparator {
 public:
  int compare(const void*, const void*) const override { return 0; }
};

TEST(StrBufferCompare, AComparatorDecidesAlone) {
  AllEqual comparator;
  Str a = makeStr(u"one");
  Str b = makeStr(u"two");
  EXPECT_TRUE(a->equals(b.get(), &comparator));
  EXPECT_EQ(a->compareTo(b.get(), &comparator), 0);
  EXPECT_TRUE(a->equalsIgnoreCase(b.get(), &comparator));
  EXPECT_FALSE(a->equals(b.get()));
}

}  // namespace
