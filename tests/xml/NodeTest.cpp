#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "col/_array/ArrayU08.h"
#include "str/strbuffer/StrBuffer.h"
#include "xml/Attributes.h"
#include "xml/Node.h"
#include "xml/XmlFixtures.h"

namespace {

using s::xml::Node;
using vonq::test::decoded;
using vonq::test::newNode;
using vonq::test::OwnedNode;
using vonq::test::parsed;
using vonq::test::stored;
using vonq::test::xmlOf;

TEST(XmlNode, NameEqualsIgnoresCaseOnlyForTheWholeNameForm) {
  const struct {
    const char16_t* query;
    std::int32_t length;
    bool equal;
  } cases[] = {
      {u"ENTRY", -1, true},    {u"entry", -1, true}, {u"entr", -1, false},
      {u"entries", -1, false}, {u"entry", 5, true},  {u"ENTRY", 5, false},
      {u"entryX", 5, true},    {u"entry", 4, false}, {u"", -1, false},
  };
  OwnedNode node = newNode();
  node->setName(u"entry");
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.query, c.query + std::char_traits<char16_t>::length(c.query)));
    EXPECT_EQ(node->nameEquals(c.query, c.length), c.equal);
  }
  EXPECT_FALSE(newNode()->nameEquals(u"", -1)) << "a node without a name equals nothing";
  EXPECT_FALSE(newNode()->nameEquals(nullptr, 0));
}

TEST(XmlNode, ReadsBooleansAndNumbersAsTheCLibraryWould) {
  const struct {
    std::u16string value;
    bool boolean;
    std::int8_t s8;
    std::int32_t s32;
    std::uint32_t u32;
    std::uint64_t u64;
  } cases[] = {
      {u"1", true, 1, 1, 1u, 1u},
      {u"true", true, 0, 0, 0u, 0u},
      {u"True", false, 0, 0, 0u, 0u},
      {u"TRUE", false, 0, 0, 0u, 0u},
      {u"10", true, 10, 10, 10u, 10u},
      {u"0", false, 0, 0, 0u, 0u},
      {u"  -5x", false, -5, -5, 0xFFFFFFFBu, 0xFFFFFFFFFFFFFFFBull},
      {u"300", false, 44, 300, 300u, 300u},
      {u"4000000000", false, -1, 2147483647, 4000000000u, 4000000000ull},
      {u"99999999999999999999", false, -1, 2147483647, 0xFFFFFFFFu, 0x7FFFFFFFFFFFFFFFull},
      {u"-1", false, -1, -1, 0xFFFFFFFFu, 0xFFFFFFFFFFFFFFFFull},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.value.begin(), c.value.end()));
    OwnedNode node = parsed(u"<a v=\"" + c.value + u"\"/>");
    EXPECT_EQ(node->getAttr(u"v", !c.boolean), c.boolean);
    EXPECT_EQ(node->getAttr(u"v", std::int8_t{7}), c.s8);
    EXPECT_EQ(node->getAttr(u"v", std::int32_t{7}), c.s32);
    EXPECT_EQ(node->getAttr(u"v", std::uint32_t{7}), c.u32);
    EXPECT_EQ(node->getAttr(u"v", std::uint64_t{7}), c.u64);
  }
  OwnedNode empty = parsed(u"<a/>");
  EXPECT_TRUE(empty->getAttr(u"v", true));
  EXPECT_EQ(empty->getAttr(u"v", std::int16_t{-3}), -3);
  EXPECT_EQ(empty->getAttr(u"v", std::uint8_t{9}), 9);
  EXPECT_EQ(std::u16string(empty->getAttr(u"v", u"def")), u"def");
}

TEST(XmlNode, SettersFormatEachValueType) {
  const std::uint8_t bytes[] = {0x01, 0xAB};
  const std::int8_t signedBytes[] = {-1, 16};
  const std::uint16_t shorts[] = {0x1234, 0xF};
  const std::int16_t signedShorts[] = {-2};
  const std::uint32_t words[] = {1, 255};
  const std::int32_t signedWords[] = {-1};
  const std::uint64_t longs[] = {1};
  const std::int64_t signedLongs[] = {-2};
  const float floats[] = {1.0f};
  const double doubles[] = {1.0};
  const struct {
    std::u16string expected;
    std::function<bool(Node&)> set;
  } cases[] = {
      {u"200", [](Node& n) { return n.setAttr(u"v", std::uint8_t{200}); }},
      {u"65535", [](Node& n) { return n.setAttr(u"v", std::uint16_t{65535}); }},
      {u"4000000000", [](Node& n) { return n.setAttr(u"v", std::uint32_t{4000000000u}); }},
      {u"-1", [](Node& n) { return n.setAttr(u"v", std::uint64_t{0xFFFFFFFFFFFFFFFFull}); }},
      {u"-128", [](Node& n) { return n.setAttr(u"v", std::int8_t{-128}); }},
      {u"-32768", [](Node& n) { return n.setAttr(u"v", std::int16_t{-32768}); }},
      {u"-7", [](Node& n) { return n.setAttr(u"v", std::int32_t{-7}); }},
      {u"-9000000000", [](Node& n) { return n.setAttr(u"v", std::int64_t{-9000000000ll}); }},
      {u"1.500000", [](Node& n) { return n.setAttr(u"v", 1.5f); }},
      {u"-0.250000", [](Node& n) { return n.setAttr(u"v", -0.25); }},
      {u"01ab", [&](Node& n) { return n.setAttr(u"v", bytes, 2); }},
      {u"ff10", [&](Node& n) { return n.setAttr(u"v", signedBytes, 2); }},
      {u"1234000f", [&](Node& n) { return n.setAttr(u"v", shorts, 2); }},
      {u"fffe", [&](Node& n) { return n.setAttr(u"v", signedShorts, 1); }},
      {u"00000001000000ff", [&](Node& n) { return n.setAttr(u"v", words, 2); }},
      {u"ffffffff", [&](Node& n) { return n.setAttr(u"v", signedWords, 1); }},
      {u"0000000000000001", [&](Node& n) { return n.setAttr(u"v", longs, 1); }},
      {u"fffffffffffffffe", [&](Node& n) { return n.setAttr(u"v", signedLongs, 1); }},
      {u"3f800000", [&](Node& n) { return n.setAttr(u"v", floats, 1); }},
      {u"000000003ff00000", [&](Node& n) { return n.setAttr(u"v", doubles, 1); }},
      {u"", [&](Node& n) { return n.setAttr(u"v", words, 0); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.expected.begin(), c.expected.end()));
    OwnedNode node = newNode();
    ASSERT_TRUE(c.set(*node));
    EXPECT_EQ(std::u16string(node->getAttr(u"v", u"<none>")), c.expected);
  }
}

TEST(XmlNode, NumbersReadBackWhatWasSet) {
  OwnedNode node = newNode();
  node->setAttr(u"u64", std::uint64_t{0xFEDCBA9876543210ull});
  node->setAttr(u"s64", std::int64_t{INT64_MIN});
  node->setAttr(u"u32", std::uint32_t{0xFFFFFFFFu});
  node->setAttr(u"s16", std::int16_t{-12345});
  EXPECT_EQ(node->getAttr(u"u64", std::uint64_t{0}), 0xFEDCBA9876543210ull);
  EXPECT_EQ(node->getAttr(u"s64", std::int64_t{0}), INT64_MIN);
  EXPECT_EQ(node->getAttr(u"u32", std::uint32_t{0}), 0xFFFFFFFFu);
  EXPECT_EQ(node->getAttr(u"s16", std::int16_t{0}), -12345);
}

TEST(XmlNode, StringsAreEncodedByRecordKindAndSettersAppend) {
  OwnedNode node = newNode();
  node->setName(u"e");
  ASSERT_TRUE(node->setAttr(u"v", u"say \"<hi>\""));
  ASSERT_TRUE(node->setAttr(u"", u"say \"<hi>\""));
  ASSERT_TRUE(node->setAttr(u"V", u"second"));
  EXPECT_EQ(stored(*node, 0), u"say &quot;&lt;hi>&quot;");
  EXPECT_EQ(stored(*node, 1), u"say&#160;\"&lt;hi&gt;\"");
  EXPECT_EQ(decoded(*node, u"v"), u"say \"<hi>\"") << "the first record of the name wins";
  EXPECT_EQ(decoded(*node, u""), u"say \"<hi>\"");
  EXPECT_EQ(xmlOf(*node),
            u"<e v=\"say &quot;&lt;hi>&quot;\" V=\"second\">say&#160;\"&lt;hi&gt;\"</e>");
}

TEST(XmlNode, GetAttrTextAppendsOrReplacesAndCopiesTheDefaultAsItIs) {
  OwnedNode node = parsed(u"<a v=\"x&amp;y\"/>");
  s::str::strbuffer::StrBuffer* out = s::str::strbuffer::StrBuffer::fromText(u"pre-");
  EXPECT_TRUE(node->getAttrText(*out, u"v", u"", true));
  EXPECT_EQ(std::u16string(out->view()), u"pre-x&y");
  EXPECT_FALSE(node->getAttrText(*out, u"missing", u"&amp;", false));
  EXPECT_EQ(std::u16string(out->view()), u"&amp;");
  out->release();
}

TEST(XmlNode, WritesEmptyElementsAsStartAndEndTagAndUtf8WithAnUncountedZero) {
  OwnedNode node = newNode();
  node->setName(u"root");
  node->addChild(u"empty");
  node->addChild(u"t")->setAttr(u"", u"\u00E9\u65E5");
  EXPECT_EQ(xmlOf(*node), u"<root><empty></empty><t>\u00E9\u65E5</t></root>");

  s::col::_array::ArrayU08* bytes = node->toXmlUtf8(nullptr, false);
  const std::string expected = "<root><empty></empty><t>\xC3\xA9\xE6\x97\xA5</t></root>";
  ASSERT_EQ(bytes->length(), expected.size());
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes->values()), bytes->length()), expected);
  EXPECT_EQ(bytes->values()[bytes->length()], 0) << "zero after the data";
  node->toXmlUtf8(bytes, true);
  EXPECT_EQ(bytes->length(), 2 * expected.size());
  bytes->release();

  s::str::strbuffer::StrBuffer* text = s::str::strbuffer::StrBuffer::fromText(u"old");
  EXPECT_EQ(node->getChild(0)->toXml(text, false), text);
  EXPECT_EQ(std::u16string(text->view()), u"<empty></empty>");
  text->release();
}

TEST(XmlNode, ChildrenAreFoundRemovedAndGivenBackToThePool) {
  OwnedNode node = parsed(u"<r><a/><B/><b>x</b></r>");
  std::uint32_t index = 99;
  EXPECT_TRUE(node->findChild(u"b", index));
  EXPECT_EQ(index, 1u);
  EXPECT_TRUE(node->findChild(u"b", index, 1));
  EXPECT_EQ(index, 2u);
  EXPECT_FALSE(node->findChild(u"c", index));
  EXPECT_EQ(index, 2u) << "untouched when absent";
  EXPECT_EQ(node->getChildByName(u"B", 1), node->getChild(1));
  EXPECT_EQ(node->getChildByName(u"zz"), nullptr);

  const std::size_t kept = Node::pool().getKeptCount();
  EXPECT_TRUE(node->removeChild(1));
  EXPECT_FALSE(node->removeChild(5));
  EXPECT_EQ(Node::pool().getKeptCount(), kept + 1);
  EXPECT_EQ(xmlOf(*node), u"<r><a></a><b>x</b></r>");
}

TEST(XmlNode, AReleasedTreeComesBackFromThePoolEmpty) {
  Node* node = Node::create();
  node->parse(u"<r a=\"1\">t<c><d/></c></r>");
  node->release();
  Node* again = Node::create();
  EXPECT_EQ(again->getName(), nullptr);
  EXPECT_EQ(again->getAttributes().count(), 0u);
  EXPECT_EQ(again->getChildCount(), 0u);
  EXPECT_EQ(std::u16string(again->getClassName()), u"s_xml_Node");
  again->release();
}

TEST(XmlNode, TreesBuiltThroughTheApiReadBackUnchanged) {
  const std::u16string values[] = {u"  padded  ", u"a\r\nb", u"<&>\"", u"&amp;", u""};
  OwnedNode root = newNode();
  root->setName(u"settings");
  for (const std::u16string& value : values) {
    Node* child = root->addChild(u"item");
    child->setAttr(u"value", value.c_str());
    child->setAttr(u"", value.c_str());
  }
  OwnedNode back = parsed(xmlOf(*root));
  ASSERT_EQ(back->getChildCount(), std::size(values));
  for (std::uint32_t i = 0; i < back->getChildCount(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(decoded(*back->getChild(i), u"value"), values[i]);
    const std::u16string text = values[i].empty() ? u"<none>" : values[i];
    EXPECT_EQ(decoded(*back->getChild(i), u""), text);
  }
}

TEST(XmlNode, SettersOnSeveralThreadsKeepTheirOwnValues) {
  // The setters share one scratch string; each record must still hold the
  // value its own thread set.
  constexpr int kThreads = 4;
  constexpr std::int32_t kValues = 2000;
  std::vector<int> wrong(kThreads, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t, &wrong] {
      OwnedNode node = newNode();
      for (std::int32_t i = 0; i < kValues; ++i) node->setAttr(u"v", t * kValues + i);
      for (std::uint32_t i = 0; i < node->getAttributes().count(); ++i) {
        const std::u16string expected = [&] {
          const std::string digits = std::to_string(t * kValues + static_cast<std::int32_t>(i));
          return std::u16string(digits.begin(), digits.end());
        }();
        if (stored(*node, i) != expected) ++wrong[t];
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(wrong, std::vector<int>(kThreads, 0));
}

}  // namespace
