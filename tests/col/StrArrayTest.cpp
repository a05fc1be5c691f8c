#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "col/_array/ArrayU08.h"
#include "str/strarray/StrArray.h"
#include "str/strbuffer/StrBuffer.h"

namespace {

using s::col::_array::ArrayU08;
using s::str::strarray::StrArray;
using s::str::strbuffer::StrBuffer;

std::vector<std::u16string> texts(const StrArray& list) {
  std::vector<std::u16string> out;
  for (std::uint32_t i = 0; i < list.length(); ++i) out.emplace_back(list.get(i)->view());
  return out;
}

// UTF-16LE bytes of the given units.
std::vector<std::uint8_t> bytesOf(std::u16string_view units) {
  std::vector<std::uint8_t> out;
  for (char16_t u : units) {
    out.push_back(static_cast<std::uint8_t>(u & 0xFF));
    out.push_back(static_cast<std::uint8_t>(u >> 8));
  }
  return out;
}

TEST(StrArrayMultiString, ParsesOnlyUpToTheLastDoubleZero) {
  using namespace std::string_literals;
  const struct {
    const char* what;
    std::u16string units;
    std::size_t dropBytes;  // bytes cut off the end (odd counts)
    std::vector<std::u16string> expected;
  } cases[] = {
      {"two strings", u"a\0bc\0\0"s, 0, {u"a", u"bc"}},
      {"no double zero", u"a\0b\0c"s, 0, {}},
      {"single zero pair is one empty string", u"\0\0"s, 0, {u""}},
      {"stops at the first empty string", u"a\0\0b\0\0"s, 0, {u"a"}},
      {"one unit", u"\0"s, 0, {}},
      {"nothing", u""s, 0, {}},
      {"odd byte count ignores the stray byte", u"ab\0\0x"s, 1, {u"ab"}},
      {"odd count cutting the pair", u"ab\0\0"s, 1, {}},
      {"non-ASCII units", u"\u00e9t\u00e9\0\u4e2d\0\0"s, 0, {u"\u00e9t\u00e9", u"\u4e2d"}},
  };
  StrArray* list = StrArray::create();
  for (const auto& c : cases) {
    list->addText(u"left over");  // replaced by every parse
    std::vector<std::uint8_t> bytes = bytesOf(c.units);
    bytes.resize(bytes.size() - c.dropBytes);
    // Parse from a heap copy of exactly that size so that a read past the end
    // shows under the address sanitizer.
    auto* exact = new std::uint8_t[bytes.size()];
    std::copy(bytes.begin(), bytes.end(), exact);
    list->fromMultiString(exact, static_cast<std::uint32_t>(bytes.size()));
    delete[] exact;
    EXPECT_EQ(texts(*list), c.expected) << c.what;
  }
  list->release();
}

TEST(StrArrayMultiString, WritesEachStringWithItsZeroAndOneMore) {
  StrArray* list = StrArray::create();
  ArrayU08* bytes = list->toMultiString();
  ASSERT_NE(bytes, nullptr);
  EXPECT_EQ(std::vector<std::uint8_t>(bytes->values(), bytes->values() + bytes->length()),
            std::vector<std::uint8_t>(4, 0));

  list->addText(u"a");
  list->addText(u"bc");
  ASSERT_EQ(list->toMultiString(bytes), bytes);  // reuses the given array
  using namespace std::string_literals;
  EXPECT_EQ(std::vector<std::uint8_t>(bytes->values(), bytes->values() + bytes->length()),
            bytesOf(u"a\0bc\0\0"s));

  StrArray* back = StrArray::create();
  back->fromMultiString(*bytes);
  EXPECT_EQ(texts(*back), texts(*list));
  back->release();
  bytes->release();
  list->release();
}

// Strings leave the list for the string pool exactly once, whichever way
// the list lets go of them; strings handed out are not given back.
TEST(StrArrayOwnership, StringsReturnToThePoolOnce) {
  StrBuffer::pool();  // make sure the pool exists before counting
  const struct {
    const char* what;
    void (*letGo)(StrArray*);
    std::size_t returned;
  } cases[] = {
      {"clear", [](StrArray* l) { l->clear(); }, 5},
      {"release", [](StrArray* l) { l->release(); }, 5},
      {"reset", [](StrArray* l) { l->reset(); }, 5},
      {"removeRange", [](StrArray* l) { l->items().removeRange(1, 2); }, 2},
      {"dropFirst", [](StrArray* l) { l->items().dropFirst(1); }, 1},
      {"fromMultiString", [](StrArray* l) { l->fromMultiString(nullptr, 0); }, 5},
  };
  for (const auto& c : cases) {
    StrArray* list = StrArray::create();
    for (const char16_t* t : {u"a", u"b", u"c", u"d", u"e"}) ASSERT_TRUE(list->addText(t));
    const std::size_t kept = StrBuffer::pool().getKeptCount();
    c.letGo(list);
    EXPECT_EQ(StrBuffer::pool().getKeptCount() - kept, c.returned) << c.what;
    if (std::string(c.what) != "release") list->release();
  }

  StrArray* list = StrArray::create();
  list->addText(u"x");
  list->addText(u"y");
  StrBuffer* mine = list->removeAt(0);
  ASSERT_NE(mine, nullptr);
  EXPECT_EQ(mine->view(), u"x");
  EXPECT_EQ(list->removeAt(5), nullptr);
  const std::size_t kept = StrBuffer::pool().getKeptCount();
  list->release();
  EXPECT_EQ(StrBuffer::pool().getKeptCount() - kept, 1u);  // only "y"
  mine->release();

  list = StrArray::create();
  EXPECT_FALSE(list->add(nullptr));
  EXPECT_EQ(list->length(), 0u);
  list->release();

  // A copy owns strings of its own, empty ones included: changing or
  // releasing the original leaves it whole.
  list = StrArray::create();
  for (const char16_t* t : {u"first", u"", u"last"}) ASSERT_TRUE(list->addText(t));
  StrArray* copy = list->copy();
  list->get(0)->append(u"!");
  list->release();
  ASSERT_EQ(copy->length(), 3u);
  EXPECT_EQ(copy->get(0)->view(), u"first");
  EXPECT_EQ(copy->get(1)->view(), u"");
  EXPECT_EQ(copy->get(2)->view(), u"last");
  copy->release();
}

TEST(StrArrayOrder, SortIgnoresCaseAndKeepsTiesInOrder) {
  StrArray* list = StrArray::create();
  for (const char16_t* t : {u"beta", u"Alpha", u"BETA", u"alpha", u"Gamma", u"al"}) {
    list->addText(t);
  }
  ASSERT_TRUE(list->sort());
  EXPECT_EQ(texts(*list),
            (std::vector<std::u16string>{u"al", u"Alpha", u"alpha", u"beta", u"BETA", u"Gamma"}));
  ASSERT_TRUE(list->sort(true));
  EXPECT_EQ(texts(*list),
            (std::vector<std::u16string>{u"Gamma", u"beta", u"BETA", u"Alpha", u"alpha", u"al"}));
  EXPECT_EQ(list->indexOf(u"ALPHA"), -1);
  EXPECT_EQ(list->indexOf(u"ALPHA", -1, true), 3);
  EXPECT_EQ(list->indexOf(u"alphabet", 5), 4);
  list->release();
}

}  // namespace
