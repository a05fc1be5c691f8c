#pragma once

#include <cstdint>

#include "col/_array/ArrayP.h"
#include "thread/IPoolable.h"
#include "thread/Pooled.h"
#include "xml/Attributes.h"
#include "xml/IXml.h"

namespace s::xml {

// The element of an XML tree (see IXml for the contracts).
//
// Pooled (cap 1000): take one with Node::create(), give it back with
// release(), which resets the whole subtree: the name is freed, the records
// go back to the AttrFactory and the children back to this pool. A tree is
// owned by its root holder; children are owned by their parent (their list
// gives removed children back to the pool). Deep trees are walked without
// recursion (reading, writing and releasing).
class Node : public IXml, public virtual s::thread::IPoolable {
  VONQ_POOLED(Node, s::thread::kPoolCap)

 public:
  Node();
  ~Node() override;
  Node(const Node&) = delete;
  Node& operator=(const Node&) = delete;

  // parseUtf8 over `count` raw bytes (a zero byte ends the text).
  void parseUtf8(const void* bytes, std::uint32_t count);

  // --- IXml
  std::uint32_t getChildCount() const override { return children_.length(); }
  void clear() override { reset(); }
  void dump(std::int32_t) const override {}
  const char16_t* parse(const char16_t* text) override;
  void parseUtf8(const s::col::_array::ArrayU08& bytes) override;
  const char16_t* getName() const override { return name_; }
  bool setName(const char16_t* text, std::int32_t length = -1) override;
  bool nameEquals(const char16_t* text, std::int32_t length = -1) const override;
  bool isComment() const override { return name_ != nullptr && name_[0] == u'!'; }
  Node* getChild(std::uint32_t index) const override { return children_.getAs<Node>(index); }
  Node* addChild(const char16_t* name, std::int32_t length = -1) override;
  bool appendChild(Node* node) override;
  bool removeChild(std::uint32_t index) override;
  bool findChild(const char16_t* name, std::uint32_t& outIndex,
                 std::int32_t length = -1) const override;
  Node* getChildByName(const char16_t* name, std::int32_t length = -1) const override;

  bool setAttr(const char16_t* name, std::uint64_t value) override;
  bool setAttr(const char16_t* name, std::uint32_t value) override;
  bool setAttr(const char16_t* name, std::uint16_t value) override;
  bool setAttr(const char16_t* name, std::uint8_t value) override;
  bool setAttr(const char16_t* name, std::int64_t value) override;
  bool setAttr(const char16_t* name, std::int32_t value) override;
  bool setAttr(const char16_t* name, std::int16_t value) override;
  bool setAttr(const char16_t* name, std::int8_t value) override;
  bool setAttr(const char16_t* name, float value) override;
  bool setAttr(const char16_t* name, double value) override;
  bool setAttr(const char16_t* name, const char16_t* value) override;
  bool setAttr(const char16_t* name, const std::uint64_t* values, std::uint32_t count) override;
  bool setAttr(const char16_t* name, const std::uint32_t* values, std::uint32_t count) override;
  bool setAttr(const char16_t* name, const std::uint16_t* values, std::uint32_t count) override;
  bool setAttr(const char16_t* name, const std::uint8_t* values, std::uint32_t count) override;
  bool setAttr(const char16_t* name, const std::int64_t* values, std::uint32_t count) override;
  bool setAttr(const char16_t* name, const std::int32_t* values, std::uint32_t count) override;
  bool setAttr(const char16_t* name, const std::int16_t* values, std::uint32_t count) override;
  bool setAttr(const char16_t* name, const std::int8_t* values, std::uint32_t count) override;
  bool setAttr(const char16_t* name, const float* values, std::uint32_t count) override;
  bool setAttr(const char16_t* name, const double* values, std::uint32_t count) override;

  const char16_t* getAttr(const char16_t* name, const char16_t* def) const override;
  bool getAttr(const char16_t* name, bool def) const override;
  std::int8_t getAttr(const char16_t* name, std::int8_t def) const override;
  std::int16_t getAttr(const char16_t* name, std::int16_t def) const override;
  std::int32_t getAttr(const char16_t* name, std::int32_t def) const override;
  std::int64_t getAttr(const char16_t* name, std::int64_t def) const override;
  std::uint8_t getAttr(const char16_t* name, std::uint8_t def) const override;
  std::uint16_t getAttr(const char16_t* name, std::uint16_t def) const override;
  std::uint32_t getAttr(const char16_t* name, std::uint32_t def) const override;
  std::uint64_t getAttr(const char16_t* name, std::uint64_t def) const override;
  bool getAttrText(s::str::IStr& out, const char16_t* name, const char16_t* def,
                   bool append) const override;

  s::str::strbuffer::StrBuffer* toXml(s::str::strbuffer::StrBuffer* out,
                                      bool append) const override;
  s::col::_array::ArrayU08* toXmlUtf8(s::col::_array::ArrayU08* bytes, bool append) const override;
  Attributes& getAttributes() override { return attributes_; }
  const Attributes& getAttributes() const { return attributes_; }

  bool load(const char16_t* path) override;
  bool load(s::file::IPath& path) override;
  bool save(const char16_t* path) const override;
  bool save(s::file::IPath& path) const override;

  // --- IObject / IPoolable
  const char16_t* getClassName() const override { return u"s_xml_Node"; }
  void reset() override;

 private:
  // Formats a value with `format(scratch)` in the shared scratch string and
  // stores the result as a record named `name`.
  template <class Format>
  bool setFormatted(const char16_t* name, Format format);
  template <class T>
  bool setHex(const char16_t* name, const T* values, std::uint32_t count);
  // The stored value of the first record named `name`, or null.
  const char16_t* storedValue(const char16_t* name) const;
  template <class T>
  T getSigned(const char16_t* name, T def, std::int64_t min, std::int64_t max) const;
  template <class T>
  T getUnsigned(const char16_t* name, T def) const;
  // Gives back every descendant without recursion (each one childless by
  // then), leaving this node without children.
  void releaseDescendants();
  // "<name attributes>first-text" / "</name>".
  void appendStartTag(s::str::strbuffer::StrBuffer& out) const;
  void appendEndTag(s::str::strbuffer::StrBuffer& out) const;
  void appendXml(s::str::strbuffer::StrBuffer& out) const;

  char16_t* name_ = nullptr;  // C heap, zero-terminated, or null
  std::uint32_t nameLength_ = 0;
  s::col::_array::ArrayP children_;  // Node*, disposer: the node pool
  Attributes attributes_;
};

}  // namespace s::xml
