#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "col/_array/ArrayU08.h"
#include "xml/Attributes.h"
#include "xml/Node.h"
#include "xml/XmlFixtures.h"

namespace {

using vonq::test::decoded;
using vonq::test::nameOf;
using vonq::test::newNode;
using vonq::test::OwnedNode;
using vonq::test::parsed;
using vonq::test::stored;
using vonq::test::xmlOf;

struct ReadCase {
  const char* what;
  std::u16string input;
  std::u16string written;  // the tree written back with toXml
};

TEST(XmlReader, ReadsTheSupportedSubsetIntoTheTree) {
  const ReadCase cases[] = {
      {"attributes, spaces around '='", u"<a x=\"1\" y = \"2\"/>", u"<a x=\"1\" y=\"2\"></a>"},
      {"blank before the closing slash", u"<a x=\"1\" />", u"<a x=\"1\"></a>"},
      {"empty element with a blank", u"<a />", u"<a></a>"},
      {"comments among children are dropped", u"<r><!-- one --><b/><!-- two --><c/></r>",
       u"<r><b></b><c></c></r>"},
      {"only the first text run is written", u"<a>a&amp;b<c/>more</a>", u"<a>a&amp;b<c></c></a>"},
      {"single quotes do not delimit", u"<a v='1' w=\"2\"></a>", u"<a v=\"2\"></a>"},
      {"text before the root is skipped", u"  junk <a>t</a>", u"<a>t</a>"},
      {"blanks after '<'", u"< a>x</a>", u"<a>x</a>"},
      {"trailing blanks of text are kept", u"<a>\r\n  hi  </a>", u"<a>hi  </a>"},
      {"end tag names are not compared", u"<a><b>x</a>y</b>z", u"<a>y<b>x</b></a>"},
      {"nested elements keep their order", u"<a><b><c/></b><d>t</d></a>",
       u"<a><b><c></c></b><d>t</d></a>"},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(xmlOf(*parsed(c.input)), c.written);
  }
}

TEST(XmlReader, KeepsRecordsAsStoredAndTextRunsAfterAttributes) {
  OwnedNode node = parsed(u"<e a=\"1\" b = \"x&amp;y\">a&amp;b<c/>  more  </e>");
  ASSERT_EQ(node->getAttributes().count(), 4u);
  EXPECT_EQ(node->getChildCount(), 1u);
  EXPECT_EQ(stored(*node, 0), u"1");
  EXPECT_EQ(stored(*node, 1), u"x&amp;y");
  EXPECT_EQ(stored(*node, 2), u"a&amp;b");
  EXPECT_EQ(stored(*node, 3), u"more  ");
  EXPECT_EQ(node->getAttributes().get(2)->name, nullptr);
  EXPECT_EQ(std::u16string(node->getAttr(u"B", u"")), u"x&amp;y");
  EXPECT_EQ(decoded(*node, u"b"), u"x&y");
  EXPECT_EQ(decoded(*node, u""), u"a&b");
}

TEST(XmlReader, ReturnsThePositionAfterTheElement) {
  const struct {
    std::u16string input;
    std::u16string rest;
    std::u16string name;
  } cases[] = {
      {u"<a/>rest", u"rest", u"a"},
      {u"<a x=\"1\"></a>rest", u"rest", u"a"},
      {u"<a><b/></a> <c/>", u" <c/>", u"a"},
      {u"<!-- note -->rest", u"rest", u"!--"},
      {u"no element at all", u"", u"<null>"},
      {u"", u"", u"<null>"},
      {u"<a><b>", u"", u"a"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.input.begin(), c.input.end()));
    OwnedNode node = newNode();
    const char16_t* after = node->parse(c.input.c_str());
    EXPECT_EQ(std::u16string(after), c.rest);
    EXPECT_EQ(nameOf(node.get()), c.name);
  }
  EXPECT_EQ(newNode()->parse(nullptr), nullptr);
}

// Parses exactly `length` units of `text` from a buffer of that size plus
// its zero, so that any read past the end is a heap overflow.
const char16_t* parseCut(s::xml::Node& node, const std::u16string& text, std::size_t length,
                         std::unique_ptr<char16_t[]>& buffer) {
  buffer = std::make_unique<char16_t[]>(length + 1);
  std::memcpy(buffer.get(), text.data(), length * sizeof(char16_t));
  buffer[length] = 0;
  return node.parse(buffer.get());
}

TEST(XmlReader, NeverReadsPastTheEndOfADocumentCutAnywhere) {
  const std::u16string document =
      u"<lang a=\"1\" b = \"&quot;x&quot;\">\r\n <!-- note -- still note -->"
      u"<entry id=\"7\"><eng>&#160; Yes &#160;</eng><deu>Ja&amp;</deu></entry>"
      u"<e x=\"1\" /><f/>tail&lt;</lang>";
  for (std::size_t length = 0; length <= document.size(); ++length) {
    SCOPED_TRACE(length);
    std::unique_ptr<char16_t[]> buffer;
    OwnedNode node = newNode();
    const char16_t* after = parseCut(*node, document, length, buffer);
    ASSERT_GE(after, buffer.get());
    ASSERT_LE(after, buffer.get() + length);
    xmlOf(*node);  // whatever was read can be written
  }
  std::unique_ptr<char16_t[]> whole;
  OwnedNode node = newNode();
  const char16_t* after = parseCut(*node, document, document.size(), whole);
  EXPECT_EQ(after, whole.get() + document.size());
  EXPECT_EQ(
      xmlOf(*node),
      u"<lang a=\"1\" b=\"&quot;x&quot;\">tail&lt;<entry id=\"7\"><eng>&#160; Yes &#160;</eng>"
      u"<deu>Ja&amp;</deu></entry><e x=\"1\"></e><f></f></lang>");
}

TEST(XmlReader, UnterminatedConstructsEndTheReadAtTheEnd) {
  const struct {
    std::u16string input;
    std::u16string written;
  } cases[] = {
      {u"<a><!-- never closed <b/>", u"<a></a>"},
      {u"<a x=\"open", u"<a></a>"},
      {u"<a x=", u"<a></a>"},
      {u"<a x", u"<a></a>"},
      {u"<a>text &am", u"<a>text &am</a>"},
      {u"<a><b", u"<a><b></b></a>"},
      {u"<", u"<></>"},
      {u"<!", u"<!></!>"},
      {u"<a></", u"<a></a>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.input.begin(), c.input.end()));
    OwnedNode node = newNode();
    const char16_t* text = c.input.c_str();
    EXPECT_EQ(node->parse(text), text + c.input.size());
    EXPECT_EQ(xmlOf(*node), c.written);
  }
}

TEST(XmlReader, HandlesDeepNestingWithoutRecursion) {
  constexpr std::size_t kDepth = 100000;
  std::u16string document;
  for (std::size_t i = 0; i < kDepth; ++i) document += u"<a>";
  for (std::size_t i = 0; i < kDepth; ++i) document += u"</a>";
  OwnedNode root = parsed(document);
  std::size_t depth = 1;
  for (const s::xml::Node* n = root.get(); n->getChildCount() == 1; n = n->getChild(0)) ++depth;
  EXPECT_EQ(depth, kDepth);
  EXPECT_EQ(xmlOf(*root), document);
  root.reset();  // gives the whole chain back without overflowing the stack
}

TEST(XmlReader, Utf8InputSkipsTheByteOrderMarkAndReplacesInvalidBytes) {
  const char bytes[] = "\xEF\xBB\xBF<a n=\"\xC3\xA9\">x\xFFy</a>\0<b/>";
  s::col::_array::ArrayU08* array = s::col::_array::ArrayU08::create();
  array->append(bytes, sizeof bytes - 1);
  OwnedNode node = newNode();
  node->parseUtf8(*array);
  array->release();
  EXPECT_EQ(xmlOf(*node), u"<a n=\"\u00E9\">x\uFFFDy</a>");
}

}  // namespace
