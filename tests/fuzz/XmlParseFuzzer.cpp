// libFuzzer target: the XML reader on arbitrary text, read both as UTF-16
// units and as UTF-8 bytes. The units sit in a buffer of exactly their size
// (plus the terminating zero), so any read past the end is a heap overflow.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "str/strbuffer/StrBuffer.h"
#include "xml/Attributes.h"
#include "xml/Node.h"

namespace {

// Uses the tree the way the program does: writes it back and decodes the
// records of every node of the first two levels.
void exercise(const s::xml::Node& node, int depth) {
  s::str::strbuffer::StrBuffer* out = node.toXml(nullptr, false);
  const s::xml::Attributes& records = node.getAttributes();
  for (std::uint32_t i = 0; i < records.count(); ++i) {
    const s::xml::AttrRecord* record = records.get(i);
    node.getAttrText(*out, record->name != nullptr ? record->name : u"", u"", true);
    node.getAttr(record->name, false);
    node.getAttr(record->name, std::int32_t{0});
  }
  out->release();
  for (std::uint32_t i = 0; depth < 2 && i < node.getChildCount(); ++i) {
    exercise(*node.getChild(i), depth + 1);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::size_t units = size / 2;
  auto text = std::make_unique<char16_t[]>(units + 1);
  std::memcpy(text.get(), data, units * 2);
  text[units] = 0;
  s::xml::Node* node = s::xml::Node::create();
  const char16_t* after = node->parse(text.get());
  if (after < text.get() || after > text.get() + units) std::abort();
  exercise(*node, 0);
  node->release();

  node = s::xml::Node::create();
  node->parseUtf8(data, static_cast<std::uint32_t>(size));
  exercise(*node, 0);
  node->release();
  return 0;
}
