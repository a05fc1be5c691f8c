#pragma once

#include <cstdint>

#include "base/IObject.h"

namespace s::col::_array {
class ArrayU08;
}
namespace s::file {
class IPath;
}
namespace s::str {
class IStr;
}
namespace s::str::strbuffer {
class StrBuffer;
}

namespace s::xml {

class Attributes;
class Node;

// One element of an XML tree: its name, its attributes and text runs (see
// Attributes), and its child elements in document order.
//
// The reader is small and non-validating: elements, double-quoted
// attributes, text and comments (comments are dropped); no declaration,
// DOCTYPE, CDATA, processing instructions or namespaces, and no error
// reporting: malformed input gives whatever the reading rules produce, but
// the reader never reads past the end of its text. Texts are kept in their
// stored (entity-encoded) form and decoded on request (EntityCodec).
//
// Common rules: a text length of -1 means "runs to its terminating zero"; a
// null text is empty. Nothing throws. A tree is used by one thread at a time
// (the setters' shared scratch string has its own lock, so trees on
// different threads do not disturb each other).
class IXml : public virtual s::base::IObject {
 public:
  ~IXml() override = default;

  // Number of child elements.
  virtual std::uint32_t getChildCount() const = 0;

  // Back to the fresh state, as IPoolable::reset(): name freed, records back
  // to their pool, children back to the node pool.
  virtual void clear() = 0;

  // Diagnostic hook; walks nothing, shows nothing and changes nothing.
  virtual void dump(std::int32_t indent) const = 0;

  // Reads one element (with everything inside it) from the zero-terminated
  // `text` into this node, which should be fresh. Returns the position just
  // after the element read; the end of the text (its zero) when the text
  // holds no '<' (the node then stays empty) or ends inside the element.
  // Reads nothing at or beyond the terminating zero. A null text returns
  // null.
  virtual const char16_t* parse(const char16_t* text) = 0;

  // Decodes the bytes as UTF-8 (invalid sequences become U+FFFD; a
  // byte-order mark is skipped as text before the first '<') and parses the
  // result as parse() does. A zero byte ends the text.
  virtual void parseUtf8(const s::col::_array::ArrayU08& bytes) = 0;

  // The element name (zero-terminated), or null when the node has none.
  virtual const char16_t* getName() const = 0;
  // Replaces the name with a copy of `length` units of `text`. False (the
  // node then has no name) when memory is exhausted.
  virtual bool setName(const char16_t* text, std::int32_t length = -1) = 0;

  // With length -1: the whole name equals `text` ignoring the case of ASCII
  // letters. With an explicit length: the name is exactly `length` units
  // long and equals them, case-sensitive. A node without a name never
  // equals anything.
  virtual bool nameEquals(const char16_t* text, std::int32_t length = -1) const = 0;

  // True when the name starts with '!' (a comment read by parse).
  virtual bool isComment() const = 0;

  // Child `index` (still owned by this node); null when out of range.
  virtual Node* getChild(std::uint32_t index) const = 0;
  // A new node from the pool named `name`, appended as the last child and
  // owned by this node; null when memory is exhausted.
  virtual Node* addChild(const char16_t* name, std::int32_t length = -1) = 0;
  // Appends `node` (a node from the pool, owned by nobody else) as the last
  // child; this node owns it from then on. False when `node` is null or
  // memory is exhausted (the node is then given back to its pool).
  virtual bool appendChild(Node* node) = 0;
  // Removes child `index` and gives it back to the node pool (with its
  // subtree). False when out of range.
  virtual bool removeChild(std::uint32_t index) = 0;
  // The first child whose nameEquals(name, length): true and its index in
  // `outIndex`; false (outIndex untouched) when there is none.
  virtual bool findChild(const char16_t* name, std::uint32_t& outIndex,
                         std::int32_t length = -1) const = 0;
  // That child, or null.
  virtual Node* getChildByName(const char16_t* name, std::int32_t length = -1) const = 0;

  // Attribute setters: each formats the value and appends a new record named
  // `name` (an existing record of that name is kept, and getters go on
  // finding the first one). Numbers: "%d" (signed 8/16/32-bit), "%u"
  // (unsigned 8/16/32-bit), "%I64d" (both 64-bit kinds), "%f" (both floating
  // kinds). Arrays (count values) as hexadecimal digits without separators:
  // "%02x" per byte, "%04x" per 16-bit value, "%08x" per 32-bit value,
  // "%016I64x" per 64-bit value; floats as "%08x" of their raw bits, doubles
  // as "%08x" of the low then the high 32 raw bits. False when memory is
  // exhausted (nothing added). Any thread (per tree: one at a time).
  virtual bool setAttr(const char16_t* name, std::uint64_t value) = 0;
  virtual bool setAttr(const char16_t* name, std::uint32_t value) = 0;
  virtual bool setAttr(const char16_t* name, std::uint16_t value) = 0;
  virtual bool setAttr(const char16_t* name, std::uint8_t value) = 0;
  virtual bool setAttr(const char16_t* name, std::int64_t value) = 0;
  virtual bool setAttr(const char16_t* name, std::int32_t value) = 0;
  virtual bool setAttr(const char16_t* name, std::int16_t value) = 0;
  virtual bool setAttr(const char16_t* name, std::int8_t value) = 0;
  virtual bool setAttr(const char16_t* name, float value) = 0;
  virtual bool setAttr(const char16_t* name, double value) = 0;
  // A string: stored with the attribute codec under a non-empty name; with
  // an empty name it becomes a text run of the element (text codec).
  virtual bool setAttr(const char16_t* name, const char16_t* value) = 0;
  virtual bool setAttr(const char16_t* name, const std::uint64_t* values, std::uint32_t count) = 0;
  virtual bool setAttr(const char16_t* name, const std::uint32_t* values, std::uint32_t count) = 0;
  virtual bool setAttr(const char16_t* name, const std::uint16_t* values, std::uint32_t count) = 0;
  virtual bool setAttr(const char16_t* name, const std::uint8_t* values, std::uint32_t count) = 0;
  virtual bool setAttr(const char16_t* name, const std::int64_t* values, std::uint32_t count) = 0;
  virtual bool setAttr(const char16_t* name, const std::int32_t* values, std::uint32_t count) = 0;
  virtual bool setAttr(const char16_t* name, const std::int16_t* values, std::uint32_t count) = 0;
  virtual bool setAttr(const char16_t* name, const std::int8_t* values, std::uint32_t count) = 0;
  virtual bool setAttr(const char16_t* name, const float* values, std::uint32_t count) = 0;
  virtual bool setAttr(const char16_t* name, const double* values, std::uint32_t count) = 0;

  // Attribute getters. Each reads the first record whose name equals `name`
  // ignoring the case of ASCII letters (the empty name: the first text run)
  // and returns `def` when there is none.
  // The stored value, not decoded (valid until the record list changes).
  virtual const char16_t* getAttr(const char16_t* name, const char16_t* def) const = 0;
  // True when the stored value begins with '1' or with "true" (lower case).
  virtual bool getAttr(const char16_t* name, bool def) const = 0;
  // Signed: the C library's decimal conversion (optional blanks and sign,
  // stops at the first non-digit, saturates at the long range), narrowed.
  virtual std::int8_t getAttr(const char16_t* name, std::int8_t def) const = 0;
  virtual std::int16_t getAttr(const char16_t* name, std::int16_t def) const = 0;
  virtual std::int32_t getAttr(const char16_t* name, std::int32_t def) const = 0;
  virtual std::int64_t getAttr(const char16_t* name, std::int64_t def) const = 0;
  // Unsigned: the C library's unsigned decimal conversion, narrowed; the
  // 64-bit kind converts as signed 64-bit.
  virtual std::uint8_t getAttr(const char16_t* name, std::uint8_t def) const = 0;
  virtual std::uint16_t getAttr(const char16_t* name, std::uint16_t def) const = 0;
  virtual std::uint32_t getAttr(const char16_t* name, std::uint32_t def) const = 0;
  virtual std::uint64_t getAttr(const char16_t* name, std::uint64_t def) const = 0;
  // The decoded value (codec by record kind) written into `out`, appended to
  // its content or replacing it; when there is no such record, `def` (null:
  // empty) is copied as it is. True when the record was found.
  virtual bool getAttrText(s::str::IStr& out, const char16_t* name, const char16_t* def,
                           bool append) const = 0;

  // The element as XML: "<name", ` name="value"` per named record, ">", the
  // first text run, every child's XML, "</name>". Stored forms are written
  // as they are; no declaration, indentation or line breaks; text runs after
  // the first are not written. Into `out` (emptied first unless `append`),
  // or a new pooled string when `out` is null. Returns the string written.
  virtual s::str::strbuffer::StrBuffer* toXml(s::str::strbuffer::StrBuffer* out,
                                              bool append) const = 0;
  // toXml encoded as UTF-8 without byte-order mark, with a zero byte after
  // the data that is not counted in the length. Into `bytes` (emptied first
  // unless `append`) or a new pooled array when null. Returns the array.
  virtual s::col::_array::ArrayU08* toXmlUtf8(s::col::_array::ArrayU08* bytes,
                                              bool append) const = 0;

  // The attribute list (attributes, then text runs).
  virtual Attributes& getAttributes() = 0;

  // Reads the whole file and parseUtf8s it into this node (which should be
  // fresh). False when the file could not be read completely (nothing is
  // parsed then). Any thread that owns the tree.
  virtual bool load(const char16_t* path) = 0;
  virtual bool load(s::file::IPath& path) = 0;

  // Writes toXmlUtf8 as the file's whole content, creating its folder when
  // missing. The bytes go to a sibling file first, which then replaces the
  // file, so a failed save (a full disk, a crash) leaves the old file as it
  // was. True when the file holds the new content.
  virtual bool save(const char16_t* path) const = 0;
  virtual bool save(s::file::IPath& path) const = 0;
};

}  // namespace s::xml
