#include "xml/Node.h"

#include <cstdlib>
#include <cstring>

#include "col/_array/ArrayU08.h"
#include "col/_array/ArrayU32.h"
#include "file/win/PathWin.h"
#include "os/FileSystem.h"
#include "str/strbuffer/StrBuffer.h"
#include "thread/ObjLocker.h"
#include "xml/EntityCodec.h"
#include "xml/HeapText.h"
#include "xml/Reader.h"
#include "xml/ValueText.h"

namespace s::xml {

using s::col::_array::ArrayP;
using s::col::_array::ArrayU08;
using s::col::_array::ArrayU32;
using s::str::strbuffer::StrBuffer;

namespace {

void releaseScratch(void* held) {
  static_cast<StrBuffer*>(held)->release();
}

// The process-wide scratch string in which the setters format values; used
// only under its lock. Never deleted (setters may run until the very end).
s::thread::ObjLocker& scratchLocker() {
  static auto* const locker = new s::thread::ObjLocker(StrBuffer::create(), &releaseScratch);
  return *locker;
}

// A path object for `text`, given back at scope end.
class TempPath {
 public:
  explicit TempPath(const char16_t* text) : path_(s::file::win::PathWin::fromText(text)) {}
  ~TempPath() {
    if (path_ != nullptr) path_->release();
  }
  TempPath(const TempPath&) = delete;
  TempPath& operator=(const TempPath&) = delete;
  s::file::win::PathWin* get() const { return path_; }

 private:
  s::file::win::PathWin* path_;
};

}  // namespace

Node::Node() {
  children_.setDisposer(&Node::pool());
}

Node::~Node() {
  reset();
}

void Node::reset() {
  std::free(name_);
  name_ = nullptr;
  nameLength_ = 0;
  attributes_.clear();
  releaseDescendants();
}

void Node::releaseDescendants() {
  // Flatten the subtree into one list, detaching every node's children, so
  // that giving a node back never walks further down.
  ArrayP all;
  for (std::uint32_t i = 0; i < children_.length(); ++i) all.add(children_.get(i));
  if (all.length() != children_.length()) {
    children_.freeStorage();  // no memory for the list: plain release
    return;
  }
  children_.clear();
  children_.freeStorage();
  for (std::uint32_t i = 0; i < all.length(); ++i) {
    ArrayP& below = all.getAs<Node>(i)->children_;
    if (all.append(below.items(), below.length())) below.clear();
  }
  for (std::uint32_t i = 0; i < all.length(); ++i) all.getAs<Node>(i)->release();
}

const char16_t* Node::parse(const char16_t* text) {
  if (text == nullptr) return nullptr;
  const char16_t* end = text;
  while (*end != 0) ++end;
  Reader reader(text, end);
  return reader.read(*this);
}

void Node::parseUtf8(const void* bytes, std::uint32_t count) {
  StrBuffer* text = StrBuffer::create();
  if (text == nullptr) return;
  if (bytes != nullptr && count > 0) {
    text->fromUtf8(static_cast<const char*>(bytes), false, static_cast<std::int32_t>(count));
  }
  parse(text->getText());
  text->release();
}

void Node::parseUtf8(const ArrayU08& bytes) {
  parseUtf8(bytes.values(), bytes.length());
}

bool Node::setName(const char16_t* text, std::int32_t length) {
  std::free(name_);
  nameLength_ = textLength(text, length);
  name_ = heapCopy(text, nameLength_);
  if (name_ == nullptr) nameLength_ = 0;
  return name_ != nullptr;
}

bool Node::nameEquals(const char16_t* text, std::int32_t length) const {
  if (name_ == nullptr) return false;
  const std::uint32_t n = textLength(text, length);
  if (n != nameLength_) return false;
  if (length == -1) return equalsAsciiIgnoreCase(name_, text, n);
  return n == 0 || std::memcmp(name_, text, n * sizeof(char16_t)) == 0;
}

Node* Node::addChild(const char16_t* name, std::int32_t length) {
  Node* child = Node::create();
  if (child == nullptr) return nullptr;
  if (!child->setName(name, length) || !appendChild(child)) {
    child->release();
    return nullptr;
  }
  return child;
}

bool Node::appendChild(Node* node) {
  if (node == nullptr) return false;
  if (children_.add(node)) return true;
  node->release();
  return false;
}

bool Node::removeChild(std::uint32_t index) {
  return children_.removeRange(index, 1) == 1;
}

bool Node::findChild(const char16_t* name, std::uint32_t& outIndex, std::int32_t length) const {
  for (std::uint32_t i = 0; i < children_.length(); ++i) {
    if (getChild(i)->nameEquals(name, length)) {
      outIndex = i;
      return true;
    }
  }
  return false;
}

Node* Node::getChildByName(const char16_t* name, std::int32_t length) const {
  std::uint32_t index = 0;
  return findChild(name, index, length) ? getChild(index) : nullptr;
}

// --- Setters

template <class Format>
bool Node::setFormatted(const char16_t* name, Format format) {
  s::thread::ObjLocker& locker = scratchLocker();
  s::thread::ObjLocker::Guard guard(locker);
  auto* scratch = static_cast<StrBuffer*>(locker.getHeld());
  if (scratch == nullptr) return false;
  scratch->clear();
  format(*scratch);
  return attributes_.add(name, textLength(name, -1), scratch->getBuffer(), scratch->length());
}

template <class T>
bool Node::setHex(const char16_t* name, const T* values, std::uint32_t count) {
  return setFormatted(name, [&](StrBuffer& s) {
    if (values != nullptr) s.appendHex(values, count);
  });
}

bool Node::setAttr(const char16_t* name, std::uint64_t value) {
  // Written signed, as the 64-bit getters read it back.
  return setAttr(name, static_cast<std::int64_t>(value));
}
bool Node::setAttr(const char16_t* name, std::uint32_t value) {
  return setFormatted(name, [&](StrBuffer& s) { s.appendNumber(value); });
}
bool Node::setAttr(const char16_t* name, std::uint16_t value) {
  return setFormatted(name, [&](StrBuffer& s) { s.appendNumber(value); });
}
bool Node::setAttr(const char16_t* name, std::uint8_t value) {
  return setFormatted(name, [&](StrBuffer& s) { s.appendNumber(value); });
}
bool Node::setAttr(const char16_t* name, std::int64_t value) {
  return setFormatted(name, [&](StrBuffer& s) { s.appendNumber(value); });
}
bool Node::setAttr(const char16_t* name, std::int32_t value) {
  return setFormatted(name, [&](StrBuffer& s) { s.appendNumber(value); });
}
bool Node::setAttr(const char16_t* name, std::int16_t value) {
  return setFormatted(name, [&](StrBuffer& s) { s.appendNumber(value); });
}
bool Node::setAttr(const char16_t* name, std::int8_t value) {
  return setFormatted(name, [&](StrBuffer& s) { s.appendNumber(value); });
}
bool Node::setAttr(const char16_t* name, float value) {
  return setFormatted(name, [&](StrBuffer& s) { s.appendNumber(value); });
}
bool Node::setAttr(const char16_t* name, double value) {
  return setFormatted(name, [&](StrBuffer& s) { s.appendNumber(value); });
}
bool Node::setAttr(const char16_t* name, const char16_t* value) {
  const bool named = textLength(name, -1) > 0;
  const std::uint32_t n = textLength(value, -1);
  return setFormatted(name, [&](StrBuffer& s) {
    if (named) {
      EntityCodec::encodeAttribute(s, value, n);
    } else {
      EntityCodec::encodeText(s, value, n);
    }
  });
}
bool Node::setAttr(const char16_t* name, const std::uint64_t* values, std::uint32_t count) {
  return setHex(name, values, count);
}
bool Node::setAttr(const char16_t* name, const std::uint32_t* values, std::uint32_t count) {
  return setHex(name, values, count);
}
bool Node::setAttr(const char16_t* name, const std::uint16_t* values, std::uint32_t count) {
  return setHex(name, values, count);
}
bool Node::setAttr(const char16_t* name, const std::uint8_t* values, std::uint32_t count) {
  return setHex(name, values, count);
}
bool Node::setAttr(const char16_t* name, const std::int64_t* values, std::uint32_t count) {
  return setHex(name, values, count);
}
bool Node::setAttr(const char16_t* name, const std::int32_t* values, std::uint32_t count) {
  return setHex(name, values, count);
}
bool Node::setAttr(const char16_t* name, const std::int16_t* values, std::uint32_t count) {
  return setHex(name, values, count);
}
bool Node::setAttr(const char16_t* name, const std::int8_t* values, std::uint32_t count) {
  return setHex(name, values, count);
}
bool Node::setAttr(const char16_t* name, const float* values, std::uint32_t count) {
  return setHex(name, values, count);
}
bool Node::setAttr(const char16_t* name, const double* values, std::uint32_t count) {
  return setHex(name, values, count);
}

// --- Getters

const char16_t* Node::storedValue(const char16_t* name) const {
  const AttrRecord* record = attributes_.find(name);
  return record != nullptr ? record->value : nullptr;
}

template <class T>
T Node::getSigned(const char16_t* name, T def, std::int64_t min, std::int64_t max) const {
  const char16_t* value = storedValue(name);
  return value != nullptr ? static_cast<T>(parseSignedValue(value, min, max)) : def;
}

template <class T>
T Node::getUnsigned(const char16_t* name, T def) const {
  const char16_t* value = storedValue(name);
  return value != nullptr ? static_cast<T>(parseUnsignedValue(value)) : def;
}

namespace {
constexpr std::int64_t kLongMin = INT32_MIN;
constexpr std::int64_t kLongMax = INT32_MAX;
}  // namespace

const char16_t* Node::getAttr(const char16_t* name, const char16_t* def) const {
  const char16_t* value = storedValue(name);
  return value != nullptr ? value : def;
}
bool Node::getAttr(const char16_t* name, bool def) const {
  const char16_t* value = storedValue(name);
  return value != nullptr ? parseBooleanValue(value) : def;
}
std::int8_t Node::getAttr(const char16_t* name, std::int8_t def) const {
  return getSigned(name, def, kLongMin, kLongMax);
}
std::int16_t Node::getAttr(const char16_t* name, std::int16_t def) const {
  return getSigned(name, def, kLongMin, kLongMax);
}
std::int32_t Node::getAttr(const char16_t* name, std::int32_t def) const {
  return getSigned(name, def, kLongMin, kLongMax);
}
std::int64_t Node::getAttr(const char16_t* name, std::int64_t def) const {
  return getSigned(name, def, INT64_MIN, INT64_MAX);
}
std::uint8_t Node::getAttr(const char16_t* name, std::uint8_t def) const {
  return getUnsigned(name, def);
}
std::uint16_t Node::getAttr(const char16_t* name, std::uint16_t def) const {
  return getUnsigned(name, def);
}
std::uint32_t Node::getAttr(const char16_t* name, std::uint32_t def) const {
  return getUnsigned(name, def);
}
std::uint64_t Node::getAttr(const char16_t* name, std::uint64_t def) const {
  return static_cast<std::uint64_t>(
      getSigned(name, static_cast<std::int64_t>(def), INT64_MIN, INT64_MAX));
}

bool Node::getAttrText(s::str::IStr& out, const char16_t* name, const char16_t* def,
                       bool append) const {
  if (!append) out.clear();
  const AttrRecord* record = attributes_.find(name);
  if (record == nullptr) {
    out.append(def, -1);
    return false;
  }
  if (record->nameLength > 0) {
    EntityCodec::decodeAttribute(out, record->value, record->valueLength);
  } else {
    EntityCodec::decodeText(out, record->value, record->valueLength);
  }
  return true;
}

// --- Writing

void Node::appendStartTag(StrBuffer& out) const {
  out.appendChar(u'<');
  out.append(name_, static_cast<std::int32_t>(nameLength_));
  const AttrRecord* text = nullptr;
  for (std::uint32_t i = 0; i < attributes_.count(); ++i) {
    const AttrRecord* record = attributes_.get(i);
    if (record->nameLength == 0) {
      if (text == nullptr) text = record;
      continue;
    }
    out.appendChar(u' ');
    out.append(record->name, static_cast<std::int32_t>(record->nameLength));
    out.append(u"=\"", 2);
    out.append(record->value, static_cast<std::int32_t>(record->valueLength));
    out.appendChar(u'"');
  }
  out.appendChar(u'>');
  if (text != nullptr) out.append(text->value, static_cast<std::int32_t>(text->valueLength));
}

void Node::appendEndTag(StrBuffer& out) const {
  out.append(u"</", 2);
  out.append(name_, static_cast<std::int32_t>(nameLength_));
  out.appendChar(u'>');
}

void Node::appendXml(StrBuffer& out) const {
  // Depth-first without recursion: the open elements and, for each, the
  // index of its next child.
  ArrayP open;
  ArrayU32 next;
  appendStartTag(out);
  if (!open.add(const_cast<Node*>(this)) || !next.add(0)) return;
  while (open.length() > 0) {
    const std::uint32_t top = open.length() - 1;
    const Node* node = open.getAs<Node>(top);
    const std::uint32_t index = next.get(top);
    if (index >= node->getChildCount()) {
      node->appendEndTag(out);
      open.dropLast(1);
      next.dropLast(1);
      continue;
    }
    next.values()[top] = index + 1;
    const Node* child = node->getChild(index);
    child->appendStartTag(out);
    if (!open.add(const_cast<Node*>(child)) || !next.add(0)) return;
  }
}

StrBuffer* Node::toXml(StrBuffer* out, bool append) const {
  if (out == nullptr) out = StrBuffer::create();
  if (out == nullptr) return nullptr;
  if (!append) out->clear();
  appendXml(*out);
  return out;
}

ArrayU08* Node::toXmlUtf8(ArrayU08* bytes, bool append) const {
  if (bytes == nullptr) bytes = ArrayU08::create();
  StrBuffer* text = toXml(nullptr, false);
  if (bytes != nullptr && text != nullptr) text->toUtf8(*bytes, append);
  if (text != nullptr) text->release();
  return bytes;
}

// --- Files

bool Node::load(const char16_t* path) {
  TempPath file(path);
  return file.get() != nullptr && load(*file.get());
}

bool Node::load(s::file::IPath& path) {
  ArrayU08* bytes = ArrayU08::create();
  if (bytes == nullptr) return false;
  const bool read = path.readAll(*bytes);
  if (read) parseUtf8(*bytes);
  bytes->release();
  return read;
}

bool Node::save(const char16_t* path) const {
  TempPath file(path);
  return file.get() != nullptr && save(*file.get());
}

bool Node::save(s::file::IPath& path) const {
  if (!path.isValid() || !path.createParent()) return false;
  StrBuffer* sideName = StrBuffer::fromText(path.getPath());
  ArrayU08* bytes = toXmlUtf8(nullptr, false);
  bool saved = false;
  if (sideName != nullptr && bytes != nullptr) {
    sideName->append(u".new", 4);
    TempPath side(sideName->getText());
    saved = side.get() != nullptr &&
            side.get()->writeAll(bytes->values(), bytes->length(), false) &&
            s::os::fileSystem().move(side.get()->getPath(), path.getPath(), true);
    if (!saved && side.get() != nullptr) side.get()->remove(false, false);
  }
  if (bytes != nullptr) bytes->release();
  if (sideName != nullptr) sideName->release();
  return saved;
}

}  // namespace s::xml
