#pragma once

#include <memory>
#include <string>

#include "str/strbuffer/StrBuffer.h"
#include "xml/Node.h"

namespace vonq::test {

// A pooled node given back (with its subtree) at scope end.
struct NodeReleaser {
  void operator()(s::xml::Node* node) const {
    if (node != nullptr) node->release();
  }
};
using OwnedNode = std::unique_ptr<s::xml::Node, NodeReleaser>;

inline OwnedNode newNode() {
  return OwnedNode(s::xml::Node::create());
}

inline OwnedNode parsed(const std::u16string& text) {
  OwnedNode node = newNode();
  node->parse(text.c_str());
  return node;
}

// The node written back as XML.
inline std::u16string xmlOf(const s::xml::Node& node) {
  s::str::strbuffer::StrBuffer* out = node.toXml(nullptr, false);
  std::u16string text(out->view());
  out->release();
  return text;
}

// getAttrText of `name` (decoded), or "<none>" when there is no such record.
inline std::u16string decoded(const s::xml::Node& node, const char16_t* name) {
  s::str::strbuffer::StrBuffer* out = s::str::strbuffer::StrBuffer::create();
  const bool found = node.getAttrText(*out, name, u"<none>", false);
  std::u16string text(out->view());
  out->release();
  return found ? text : u"<none>";
}

inline std::u16string stored(const s::xml::Node& node, std::uint32_t record) {
  const s::xml::AttrRecord* r = node.getAttributes().get(record);
  return r != nullptr ? std::u16string(r->value, r->valueLength) : u"<none>";
}

inline std::u16string nameOf(const s::xml::Node* node) {
  return node != nullptr && node->getName() != nullptr ? node->getName() : u"<null>";
}

}  // namespace vonq::test
