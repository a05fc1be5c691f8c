#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "TestHelpers.h"
#include "col/_array/ArrayP.h"
#include "col/_array/ArrayS08.h"
#include "col/_array/ArrayS32.h"
#include "col/_array/ArrayU08.h"
#include "col/_array/ArrayU32.h"
#include "str/strbuffer/StrBuffer.h"
#include "system/MD5.h"

namespace {

using s::col::_array::ArrayBase;
using s::col::_array::ArrayP;
using s::col::_array::ArrayS08;
using s::col::_array::ArrayS32;
using s::col::_array::ArrayU08;
using s::col::_array::ArrayU32;
using s::str::strbuffer::StrBuffer;
using vonq::test::contents;
using vonq::test::CountingDisposer;
using vonq::test::narrow;
using U32s = std::vector<std::uint32_t>;

TEST(ArrayGrowth, StepsFollowTheSizeBands) {
  const struct {
    std::uint32_t from, to;
  } cases[] = {
      {0, 100},
      {99, 100},
      {100, 300},
      {9'999'999, 29'999'997},
      {10'000'000, 20'000'000},
      {49'999'999, 99'999'998},
      {50'000'000, 75'000'000},
      {99'999'999, 149'999'998},
      {100'000'000, 120'000'000},
      {4'000'000'000u, 0xFFFFFFFFu},  // saturates instead of wrapping
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ArrayBase::grownCapacity(c.from), c.to) << "from " << c.from;
  }
}

TEST(ArrayGrowth, OneByOneAndMultiElementAppends) {
  ArrayU32 a;
  EXPECT_EQ(a.capacity(), 0u);
  EXPECT_EQ(a.data(), nullptr);
  a.add(1);
  EXPECT_EQ(a.capacity(), 100u);
  for (std::uint32_t i = 2; i <= 100; ++i) a.add(i);
  EXPECT_EQ(a.capacity(), 100u);
  a.add(101);
  EXPECT_EQ(a.capacity(), 300u);
  EXPECT_EQ(a.get(100), 101u);

  // A bulk append repeats the steps (0 -> 100 -> 300 -> 900) rather than
  // allocating exactly what it needs.
  ArrayU08 b;
  std::vector<std::uint8_t> src(301, 7);
  ASSERT_TRUE(b.append(src.data(), 301));
  EXPECT_EQ(b.capacity(), 900u);
  EXPECT_TRUE(b.reserve(1000));
  EXPECT_EQ(b.capacity(), 1000u);
}

// Every operation given an index or count beyond the array either clamps to
// what there is or refuses; none touches memory outside the storage.
TEST(ArrayBounds, OutOfRangeArgumentsClampOrFail) {
  const struct {
    const char* what;
    std::function<std::uint64_t(ArrayU32&)> op;
    std::uint64_t result;
    U32s after;
  } cases[] = {
      {"removeRange past end", [](ArrayU32& a) { return a.removeRange(7, 2); }, 0, {0, 1, 2, 3, 4}},
      {"removeRange clamps", [](ArrayU32& a) { return a.removeRange(3, 100); }, 2, {0, 1, 2}},
      {"removeRange all", [](ArrayU32& a) { return a.removeRange(0, ArrayBase::kAll); }, 5, {}},
      {"dropLast clamps", [](ArrayU32& a) { return a.dropLast(9); }, 5, {}},
      {"dropFirst", [](ArrayU32& a) { return a.dropFirst(2); }, 2, {2, 3, 4}},
      {"removeAt last", [](ArrayU32& a) { return a.removeAt(4); }, 4, {0, 1, 2, 3}},
      {"removeAt middle", [](ArrayU32& a) { return a.removeAt(1); }, 1, {0, 2, 3, 4}},
      {"removeAt past end", [](ArrayU32& a) { return a.removeAt(5); }, 0, {0, 1, 2, 3, 4}},
      {"get past end", [](ArrayU32& a) { return a.get(5); }, 0, {0, 1, 2, 3, 4}},
      {"insert past end",
       [](ArrayU32& a) {
         std::uint32_t v = 9;
         return a.insert(6, &v, 1);
       },
       false,
       {0, 1, 2, 3, 4}},
      {"insert at end",
       [](ArrayU32& a) {
         std::uint32_t v = 9;
         return a.insert(5, &v, 1);
       },
       true,
       {0, 1, 2, 3, 4, 9}},
      {"insert with source index",
       [](ArrayU32& a) {
         std::uint32_t v[] = {7, 8, 9};
         return a.insert(1, v, 2, 1);
       },
       true,
       {0, 8, 9, 1, 2, 3, 4}},
      {"prepend",
       [](ArrayU32& a) {
         std::uint32_t v[] = {7, 8};
         return a.prepend(v, 2);
       },
       true,
       {7, 8, 0, 1, 2, 3, 4}},
      {"writeAt past end",
       [](ArrayU32& a) {
         std::uint32_t v = 9;
         return a.writeAt(&v, 1, 0, 6);
       },
       false,
       {0, 1, 2, 3, 4}},
      {"writeAt extends",
       [](ArrayU32& a) {
         std::uint32_t v[] = {7, 8, 9};
         return a.writeAt(v, 3, 0, 4);
       },
       true,
       {0, 1, 2, 3, 7, 8, 9}},
      {"append null source",
       [](ArrayU32& a) { return a.append(nullptr, 3); },
       false,
       {0, 1, 2, 3, 4}},
      {"swap past end", [](ArrayU32& a) { return a.swap(0, 5); }, false, {0, 1, 2, 3, 4}},
      {"swap", [](ArrayU32& a) { return a.swap(0, 4); }, true, {4, 1, 2, 3, 0}},
      {"popFirst clamps",
       [](ArrayU32& a) {
         std::uint32_t out[5] = {};
         return a.popFirst(out, 100);
       },
       5,
       {}},
      {"popLast into offset",
       [](ArrayU32& a) {
         std::uint32_t out[4] = {};
         const std::uint32_t n = a.popLast(out, 2, 2);
         return n == 2 && out[2] == 3 && out[3] == 4 ? n : 99;
       },
       2,
       {0, 1, 2}},
      {"popLast null destination",
       [](ArrayU32& a) { return a.popLast(nullptr, 2); },
       0,
       {0, 1, 2, 3, 4}},
      {"takeRange clamps",
       [](ArrayU32& a) {
         std::uint32_t out[5] = {};
         return a.takeRange(3, out, 10);
       },
       2,
       {0, 1, 2}},
      {"copyOut from end",
       [](ArrayU32& a) {
         std::uint32_t out = 0;
         return a.copyOut(&out, 0, 5, 1);
       },
       0,
       {0, 1, 2, 3, 4}},
      {"reverse",
       [](ArrayU32& a) {
         a.reverse();
         return 0;
       },
       0,
       {4, 3, 2, 1, 0}},
  };
  for (const auto& c : cases) {
    ArrayU32 a;
    for (std::uint32_t i = 0; i < 5; ++i) a.add(i);
    EXPECT_EQ(c.op(a), c.result) << c.what;
    EXPECT_EQ(contents<std::uint32_t>(a), c.after) << c.what;
  }
}

TEST(ArrayBounds, SourceInsideOwnStorageSurvivesGrowth) {
  ArrayU32 a;
  for (std::uint32_t i = 0; i < 100; ++i) a.add(i);
  ASSERT_EQ(a.capacity(), 100u);
  // Appending the array to itself reallocates while reading from the old
  // storage; the source must be taken before it is freed.
  ASSERT_TRUE(a.append(a.data(), 100));
  ASSERT_TRUE(a.insert(0, a.data(), 50, 150));
  ASSERT_EQ(a.length(), 250u);
  for (std::uint32_t i = 0; i < 50; ++i) EXPECT_EQ(a.get(i), 50 + i);
  for (std::uint32_t i = 0; i < 200; ++i) EXPECT_EQ(a.get(50 + i), i % 100);
}

TEST(ArrayContent, NewElementsAreZeroAndLookupsReportAbsence) {
  ArrayP a;
  a.add(&a);
  a.add(&a);
  a.clear();
  EXPECT_EQ(a.capacity(), 100u);
  ASSERT_TRUE(a.setLength(3));  // reuses storage that held pointers
  for (std::uint32_t i = 0; i < 3; ++i) EXPECT_EQ(a.get(i), nullptr);

  ArrayU32 b;
  b.add(5);
  b.add(6);
  std::int64_t index = 42;
  EXPECT_FALSE(b.indexOf(7, index));
  EXPECT_EQ(index, -1);
  EXPECT_TRUE(b.indexOf(6, index));
  EXPECT_EQ(index, 1);
}

TEST(ArrayContent, CopyBetweenArraysNeedsTheSameElementSize) {
  ArrayU32 a;
  ArrayS32 b;
  ArrayU08 c;
  for (std::uint32_t i = 1; i <= 4; ++i) a.add(i);
  EXPECT_EQ(a.copyTo(b, 0, 1, 2), 2u);
  EXPECT_EQ(contents<std::int32_t>(b), (std::vector<std::int32_t>{2, 3}));
  EXPECT_EQ(b.copyFrom(a, 3, 2), 1u);  // appends at the end of b
  EXPECT_EQ(contents<std::int32_t>(b), (std::vector<std::int32_t>{2, 3, 4}));
  EXPECT_EQ(a.copyTo(c, 0, 0), 0u);  // 4-byte elements never go into a byte array
  EXPECT_EQ(c.length(), 0u);
  EXPECT_EQ(a.copyTo(b, 9, 0), 0u);  // target index beyond the target's end
}

TEST(ArrayText, DebugTextAndXmlOfEachNumberType) {
  StrBuffer* out = StrBuffer::create();
  auto check = [&](ArrayBase& a, const std::u16string& debug, const std::u16string& xml) {
    a.toDebugText(*out, false);
    EXPECT_EQ(out->view(), debug) << narrow(debug);
    a.toXml(*out, false);
    EXPECT_EQ(out->view(), xml) << narrow(xml);
  };
  ArrayU32 u32;
  u32.add(1);
  u32.add(255);
  check(u32, u"s_col__array_ArrayU32 [1 255]",
        u"<s_col__array_ArrayU32 length=\"2\">00000001000000ff</s_col__array_ArrayU32>");
  ArrayS32 s32;
  s32.add(-2);
  check(s32, u"s_col__array_ArrayS32 [-2]",
        u"<s_col__array_ArrayS32 length=\"1\">fffffffe</s_col__array_ArrayS32>");
  ArrayU08 u08;
  u08.add(0);
  u08.add(200);
  check(u08, u"s_col__array_ArrayU08 [0 200]",
        u"<s_col__array_ArrayU08 length=\"2\">00c8</s_col__array_ArrayU08>");
  ArrayS08 s08;
  s08.add(-1);
  s08.add(5);
  check(s08, u"s_col__array_ArrayS08 [-1 5]",
        u"<s_col__array_ArrayS08 length=\"2\">ff05</s_col__array_ArrayS08>");
  ArrayP p;
  check(p, u"s_col__array_ArrayP []", u"<s_col__array_ArrayP length=\"0\"></s_col__array_ArrayP>");

  // Appending keeps what the target holds.
  out->set(u">");
  u08.toDebugText(*out, true);
  EXPECT_EQ(out->view(), u">s_col__array_ArrayU08 [0 200]");
  out->release();
}

TEST(ArrayText, PointerElementsShowNameAndAddress) {
  StrBuffer* out = StrBuffer::create();
  StrBuffer* element = StrBuffer::create();
  ArrayP p;
  p.add(element);
  p.setElementNamer([](const void* e) { return static_cast<const StrBuffer*>(e)->getClassName(); });
  p.toDebugText(*out, false);
  const std::string expected = "s_col__array_ArrayP [s_str_strbuffer_StrBuffer(" +
                               std::to_string(reinterpret_cast<std::uintptr_t>(element)) + ")]";
  EXPECT_EQ(narrow(out->view()), expected);
  p.toXml(*out, false);  // pointers have no XML form
  EXPECT_EQ(out->view(), u"<s_col__array_ArrayP length=\"1\"></s_col__array_ArrayP>");
  element->release();
  out->release();
}

TEST(ArrayText, DigestOfTheElementBytes) {
  ArrayU08 a;
  a.append("abc", 3);
  StrBuffer* out = StrBuffer::create();
  a.digest(*out, s::system::MD5::kHexLower);
  EXPECT_EQ(out->view(), u"900150983cd24fb0d6963f7d28e17f72");
  a.digest(*out, s::system::MD5::kRaw);
  ASSERT_EQ(out->length(), 8u);
  EXPECT_EQ(out->charAt(0), 0x0190);  // bytes 0x90, 0x01 little-endian
  out->release();
}

TEST(ArrayCompare, LengthFirstThenElementsWithTheTypesOrder) {
  const struct {
    const char* what;
    std::vector<std::int32_t> a, b;
    int signedOrder, unsignedOrder;
  } cases[] = {
      {"shorter first even when its elements are larger", {9, 9}, {1, 1, 1}, -1, -1},
      {"equal", {1, 2}, {1, 2}, 0, 0},
      {"first difference decides", {1, 2, 3}, {1, 3, 0}, -1, -1},
      {"-1 is small signed, large unsigned", {-1}, {1}, -1, 1},
  };
  for (const auto& c : cases) {
    ArrayS32 sa, sb;
    ArrayU32 ua, ub;
    sa.append(c.a.data(), c.a.size());
    sb.append(c.b.data(), c.b.size());
    ua.append(c.a.data(), c.a.size());
    ub.append(c.b.data(), c.b.size());
    EXPECT_EQ(sa.compareTo(&sb), c.signedOrder) << c.what;
    EXPECT_EQ(sb.compareTo(&sa), -c.signedOrder) << c.what;
    EXPECT_EQ(ua.compareTo(&ub), c.unsignedOrder) << c.what;
    EXPECT_EQ(sa.equals(&sb), c.signedOrder == 0) << c.what;
    if (c.signedOrder == 0) {
      EXPECT_EQ(sa.hashCode(), sb.hashCode()) << c.what;
    }
  }
  // Arrays of different element sizes are never equal, even when empty.
  ArrayU08 bytes;
  ArrayU32 words;
  EXPECT_FALSE(bytes.equals(&words));
}

TEST(ArrayCompare, CompareRangeIsBytewiseThenByLength) {
  ArrayU08 a;
  a.append("abcd", 4);
  EXPECT_EQ(a.compareRange(1, "xbcx", 4, 1, 2), 0);
  EXPECT_EQ(a.compareRange(0, "abd", 3, 0, 3), -1);
  EXPECT_EQ(a.compareRange(2, "cdz", 3, 0, 3), -1);  // clamped to "cd": shorter
  EXPECT_EQ(a.compareRange(9, "a", 1, 0, 1), -1);    // nothing at 9
  EXPECT_EQ(a.compareRange(0, nullptr, 4, 0, 1), 1);
}

TEST(ArrayDisposal, OnlyDroppingOperationsDisposeAndEachElementOnce) {
  int objects[8];
  CountingDisposer disposer;
  {
    ArrayP a;
    a.setDisposer(&disposer);
    for (int& o : objects) a.add(&o);

    a.clear();  // keeps the objects alive and forgets them
    EXPECT_EQ(disposer.total(), 0);
    for (int& o : objects) a.add(&o);

    EXPECT_EQ(a.removeAt(0), &objects[0]);  // handed out, not disposed
    void* out[2];
    EXPECT_EQ(a.popLast(out, 1), 1u);
    EXPECT_EQ(out[0], &objects[7]);
    EXPECT_EQ(disposer.total(), 0);

    EXPECT_EQ(a.dropFirst(1), 1u);       // objects[1]
    EXPECT_EQ(a.removeRange(1, 2), 2u);  // objects[3], objects[4]
    EXPECT_EQ(a.dropLast(1), 1u);        // objects[6]
    EXPECT_EQ(disposer.total(), 4);
    // objects[2] and objects[5] are left for the destructor.
  }
  EXPECT_EQ(disposer.calls.size(), 6u);
  for (int i : {1, 2, 3, 4, 5, 6}) EXPECT_EQ(disposer.calls[&objects[i]], 1) << i;
  EXPECT_EQ(disposer.calls.count(&objects[0]), 0u);
  EXPECT_EQ(disposer.calls.count(&objects[7]), 0u);
}

TEST(ArrayDisposal, PooledArrayComesBackEmptyWithoutDisposer) {
  int objects[3];
  CountingDisposer disposer;
  ArrayP* a = ArrayP::create();
  a->setDisposer(&disposer);
  for (int& o : objects) a->add(&o);
  a->freeStorage();
  EXPECT_EQ(disposer.total(), 3);
  a->add(&objects[0]);
  a->release();  // reset disposes the remaining one
  EXPECT_EQ(disposer.total(), 4);

  ArrayP* again = ArrayP::create();
  EXPECT_EQ(again->length(), 0u);
  EXPECT_EQ(again->capacity(), 0u);
  EXPECT_EQ(again->getDisposer(), nullptr);
  again->release();
}

TEST(ArrayStream, WriteReadAndSeekStayInsideTheData) {
  ArrayU32 a;
  std::uint32_t n = 0;
  ASSERT_TRUE(a.write("\x01\x00\x00\x00\x02", 5, n));
  EXPECT_EQ(n, 5u);
  EXPECT_EQ(a.length(), 2u);  // five bytes need two elements
  EXPECT_EQ(a.get(0), 1u);
  EXPECT_EQ(a.get(1), 2u);  // the rest of the element is zero

  EXPECT_FALSE(a.seek(100));  // clamped to the end
  EXPECT_EQ(a.getPosition(), 8u);
  char buf[16];
  EXPECT_FALSE(a.read(buf, sizeof buf, n));
  EXPECT_EQ(n, 0u);
  EXPECT_TRUE(a.seekFromEnd(3));
  ASSERT_TRUE(a.read(buf, sizeof buf, n));
  EXPECT_EQ(n, 3u);
  EXPECT_FALSE(a.backward(100));
  EXPECT_EQ(a.getPosition(), 0u);

  // The array's own stream and the input stream keep separate positions;
  // the input stream follows the array when it shrinks.
  s::io::IInputStream* in = a.openInputStream();
  ASSERT_TRUE(in->forward(6));
  a.dropLast(1);
  EXPECT_FALSE(in->read(buf, sizeof buf, n));
  EXPECT_TRUE(in->seekToStart());
  ASSERT_TRUE(in->read(buf, sizeof buf, n));
  EXPECT_EQ(n, 4u);
  in->release();
}

}  // namespace
