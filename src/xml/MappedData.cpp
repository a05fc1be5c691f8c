#include "xml/MappedData.h"

#include <string_view>
#include <vector>

#include "col/_array/ArrayU08.h"
#include "os/FileSystem.h"
#include "str/IStr.h"
#include "str/strbuffer/StrBuffer.h"
#include "xml/AttrRecord.h"
#include "xml/Attributes.h"
#include "xml/Node.h"

namespace s::xml {

using s::col::_array::ArrayU08;
using s::str::strbuffer::StrBuffer;

namespace {

constexpr const char16_t* kRootName = u"savedata";

const char16_t* nameOrEmpty(const char16_t* name) {
  return name != nullptr ? name : u"";
}

bool isGroupSeparator(char16_t c) {
  return c == u'/' || c == u'\\';
}

// Drops the first record that lookups find under `name`; the others keep
// their order. False when there is none.
bool removeFirst(Node& node, const char16_t* name) {
  Attributes& records = node.getAttributes();
  const AttrRecord* hit = records.find(nameOrEmpty(name));
  if (hit == nullptr) return false;
  struct Kept {
    std::u16string name;
    std::u16string value;
  };
  std::vector<Kept> kept;
  for (std::uint32_t i = 0; i < records.count(); ++i) {
    const AttrRecord* record = records.get(i);
    if (record == hit) continue;
    kept.push_back(
        {std::u16string(record->name != nullptr ? record->name : u"", record->nameLength),
         std::u16string(record->value != nullptr ? record->value : u"", record->valueLength)});
  }
  records.clear();
  for (const Kept& record : kept) {
    records.add(record.name.data(), static_cast<std::uint32_t>(record.name.size()),
                record.value.data(), static_cast<std::uint32_t>(record.value.size()));
  }
  return true;
}

// Removes every child of `node` (each back to the node pool with its tree).
void removeChildren(Node& node) {
  while (node.getChildCount() > 0) node.removeChild(node.getChildCount() - 1);
}

}  // namespace

MappedData::MappedData() {
  reset();
}

MappedData::~MappedData() {
  reset();
}

void MappedData::reset() {
  if (root_ != nullptr) root_->release();
  root_ = nullptr;
  group_ = nullptr;
  path_.clear();
  autoFlush_ = true;
}

bool MappedData::open(const char16_t* filePath) {
  reset();
  path_ = nameOrEmpty(filePath);
  root_ = Node::create();
  if (root_ == nullptr) return false;
  const bool loaded = !path_.empty() && root_->load(path_.c_str()) && root_->getName() != nullptr &&
                      !root_->isComment();
  if (!loaded) {
    root_->clear();
    root_->setName(kRootName);
  }
  return loaded;
}

bool MappedData::openInFolder(const char16_t* programFolder) {
  const char16_t separator = s::os::fileSystem().separator();
  std::u16string path = nameOrEmpty(programFolder);
  if (!path.empty() && path.back() != separator) path.push_back(separator);
  path += u"savedata";
  path.push_back(separator);
  path += u"SaveData.xml";
  return open(path.c_str());
}

bool MappedData::flush() {
  return root_ != nullptr && !path_.empty() && root_->save(path_.c_str());
}

bool MappedData::finishChange(bool changed) {
  if (changed && autoFlush_) return flush();
  return changed;
}

// ---- Groups

Node* MappedData::selectGroup(const char16_t* group, bool create, Node** outParent,
                              std::uint32_t* outIndex) {
  group_ = nullptr;
  Node* node = root_;
  Node* parent = nullptr;
  std::uint32_t index = 0;
  const std::u16string_view path = nameOrEmpty(group);
  std::size_t at = 0;
  while (node != nullptr && at < path.size()) {
    std::size_t end = at;
    while (end < path.size() && !isGroupSeparator(path[end])) ++end;
    const auto length = static_cast<std::int32_t>(end - at);
    if (length > 0) {
      parent = node;
      if (!node->findChild(path.data() + at, index, length)) {
        node = create ? node->addChild(path.data() + at, length) : nullptr;
        index = parent->getChildCount() - 1;
      } else {
        node = node->getChild(index);
      }
    }
    at = end + 1;
  }
  if (outParent != nullptr) *outParent = parent;
  if (outIndex != nullptr) *outIndex = index;
  group_ = node;
  return node;
}

bool MappedData::openGroupForWrite(const char16_t* group) {
  return selectGroup(group, true) != nullptr;
}

bool MappedData::openGroup(const char16_t* group) {
  return selectGroup(group, false) != nullptr;
}

bool MappedData::deleteGroup(const char16_t* group) {
  Node* parent = nullptr;
  std::uint32_t index = 0;
  Node* node = selectGroup(group, false, &parent, &index);
  group_ = nullptr;
  if (node == nullptr) return false;
  if (parent == nullptr) {  // the root: emptied, kept
    node->getAttributes().clear();
    removeChildren(*node);
    return finishChange(true);
  }
  return finishChange(parent->removeChild(index));
}

bool MappedData::hasValue(const char16_t* group, const char16_t* name) {
  Node* node = selectGroup(group, false);
  return node != nullptr && node->getAttributes().find(nameOrEmpty(name)) != nullptr;
}

// ---- Reading

template <class T>
T MappedData::read(const char16_t* group, const char16_t* name, T defaultValue) {
  Node* node = selectGroup(group, false);
  return node != nullptr ? node->getAttr(nameOrEmpty(name), defaultValue) : defaultValue;
}

template <class T>
T MappedData::readFloating(const char16_t* group, const char16_t* name, T defaultValue) {
  Node* node = selectGroup(group, false);
  const char16_t* stored =
      node != nullptr ? node->getAttr(nameOrEmpty(name), static_cast<const char16_t*>(nullptr))
                      : nullptr;
  if (stored == nullptr) return defaultValue;
  StrBuffer* text = StrBuffer::create();
  if (text == nullptr) return defaultValue;
  text->set(stored);
  const T value =
      static_cast<T>(sizeof(T) == sizeof(float) ? text->parseFloat() : text->parseDouble());
  text->release();
  return value;
}

std::uint8_t MappedData::getValue(const char16_t* group, const char16_t* name,
                                  std::uint8_t defaultValue) {
  return read(group, name, defaultValue);
}

std::uint16_t MappedData::getValue(const char16_t* group, const char16_t* name,
                                   std::uint16_t defaultValue) {
  return read(group, name, defaultValue);
}

std::uint32_t MappedData::getValue(const char16_t* group, const char16_t* name,
                                   std::uint32_t defaultValue) {
  return read(group, name, defaultValue);
}

std::uint64_t MappedData::getValue(const char16_t* group, const char16_t* name,
                                   std::uint64_t defaultValue) {
  return read(group, name, defaultValue);
}

std::int8_t MappedData::getValue(const char16_t* group, const char16_t* name,
                                 std::int8_t defaultValue) {
  return read(group, name, defaultValue);
}

std::int16_t MappedData::getValue(const char16_t* group, const char16_t* name,
                                  std::int16_t defaultValue) {
  return read(group, name, defaultValue);
}

std::int32_t MappedData::getValue(const char16_t* group, const char16_t* name,
                                  std::int32_t defaultValue) {
  return read(group, name, defaultValue);
}

std::int64_t MappedData::getValue(const char16_t* group, const char16_t* name,
                                  std::int64_t defaultValue) {
  return read(group, name, defaultValue);
}

float MappedData::getValue(const char16_t* group, const char16_t* name, float defaultValue) {
  return readFloating(group, name, defaultValue);
}

double MappedData::getValue(const char16_t* group, const char16_t* name, double defaultValue) {
  return readFloating(group, name, defaultValue);
}

bool MappedData::getValue(const char16_t* group, const char16_t* name, bool defaultValue) {
  return read(group, name, defaultValue);
}

bool MappedData::getValue(const char16_t* group, const char16_t* name, s::str::IStr& out,
                          const char16_t* defaultValue, bool* outExpandable, bool) {
  if (outExpandable != nullptr) *outExpandable = false;
  Node* node = selectGroup(group, false);
  if (node != nullptr) return node->getAttrText(out, nameOrEmpty(name), defaultValue, false);
  out.set(nameOrEmpty(defaultValue));
  return false;
}

bool MappedData::getValue(const char16_t*, const char16_t*, s::str::strarray::StrArray&) {
  return false;
}

ArrayU08* MappedData::getValue(const char16_t* group, const char16_t* name, ArrayU08* out) {
  Node* node = selectGroup(group, false);
  const char16_t* stored =
      node != nullptr ? node->getAttr(nameOrEmpty(name), static_cast<const char16_t*>(nullptr))
                      : nullptr;
  if (stored == nullptr) return nullptr;
  StrBuffer* text = StrBuffer::create();
  ArrayU08* target = out != nullptr ? out : ArrayU08::create();
  if (text != nullptr && target != nullptr) {
    text->set(stored);
    text->hexToBytes(*target, false);
  }
  if (text != nullptr) text->release();
  return target;
}

bool MappedData::deleteValue(const char16_t* group, const char16_t* name) {
  Node* node = selectGroup(group, false);
  return finishChange(node != nullptr && removeFirst(*node, name));
}

// ---- Writing

template <class T>
bool MappedData::write(const char16_t* group, const char16_t* name, T value) {
  Node* node = selectGroup(group, true);
  if (node == nullptr) return false;
  removeFirst(*node, name);
  return finishChange(node->setAttr(nameOrEmpty(name), value));
}

bool MappedData::writeText(const char16_t* group, const char16_t* name, const char16_t* text) {
  return write(group, name, nameOrEmpty(text));
}

bool MappedData::setValue(const char16_t* group, const char16_t* name, std::uint8_t value) {
  return write(group, name, value);
}

bool MappedData::setValue(const char16_t* group, const char16_t* name, std::uint16_t value) {
  return write(group, name, value);
}

bool MappedData::setValue(const char16_t* group, const char16_t* name, std::uint32_t value) {
  return write(group, name, value);
}

bool MappedData::setValue(const char16_t* group, const char16_t* name, std::uint64_t value) {
  return write(group, name, value);
}

bool MappedData::setValue(const char16_t* group, const char16_t* name, std::int8_t value) {
  return write(group, name, value);
}

bool MappedData::setValue(const char16_t* group, const char16_t* name, std::int16_t value) {
  return write(group, name, value);
}

bool MappedData::setValue(const char16_t* group, const char16_t* name, std::int32_t value) {
  return write(group, name, value);
}

bool MappedData::setValue(const char16_t* group, const char16_t* name, std::int64_t value) {
  return write(group, name, value);
}

bool MappedData::setValue(const char16_t* group, const char16_t* name, float value) {
  return write(group, name, value);
}

bool MappedData::setValue(const char16_t* group, const char16_t* name, double value) {
  return write(group, name, value);
}

bool MappedData::setValue(const char16_t* group, const char16_t* name, bool value) {
  return write(group, name, static_cast<std::uint8_t>(value ? 1 : 0));
}

bool MappedData::setValue(const char16_t* group, const char16_t* name, const char16_t* text) {
  return writeText(group, name, text);
}

bool MappedData::setExpandValue(const char16_t* group, const char16_t* name, const char16_t* text) {
  return writeText(group, name, text);
}

bool MappedData::setValue(const char16_t*, const char16_t*, const s::str::strarray::StrArray&) {
  return false;
}

bool MappedData::setValue(const char16_t* group, const char16_t* name, const ArrayU08& bytes) {
  Node* node = selectGroup(group, true);
  if (node == nullptr) return false;
  removeFirst(*node, name);
  static const std::uint8_t kNoBytes = 0;
  const std::uint8_t* values = bytes.length() > 0 ? bytes.values() : &kNoBytes;
  return finishChange(node->setAttr(nameOrEmpty(name), values, bytes.length()));
}

}  // namespace s::xml
