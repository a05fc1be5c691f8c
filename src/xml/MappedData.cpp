#include "xml/MappedData.h"

#include <string_view>
#include <type_traits>
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
T MappedData::readValue(const char16_t* group, const char16_t* name, T defaultValue) {
  if constexpr (std::is_floating_point_v<T>) {
    return readFloating(group, name, defaultValue);
  } else {
    Node* node = selectGroup(group, false);
    return node != nullptr ? node->getAttr(nameOrEmpty(name), defaultValue) : defaultValue;
  }
}

const char16_t* MappedData::storedText(const char16_t* group, const char16_t* name) {
  Node* node = selectGroup(group, false);
  return node != nullptr ? node->getAttr(nameOrEmpty(name), static_cast<const char16_t*>(nullptr))
                         : nullptr;
}

template <class T>
T MappedData::readFloating(const char16_t* group, const char16_t* name, T defaultValue) {
  const char16_t* stored = storedText(group, name);
  if (stored == nullptr) return defaultValue;
  StrBuffer* text = StrBuffer::create();
  if (text == nullptr) return defaultValue;
  text->set(stored);
  const T value =
      static_cast<T>(sizeof(T) == sizeof(float) ? text->parseFloat() : text->parseDouble());
  text->release();
  return value;
}

bool MappedData::getValue(const char16_t* group, const char16_t* name, s::str::IStr& out,
                          const char16_t* defaultValue, bool* outExpandable, bool) {
  if (outExpandable != nullptr) *outExpandable = false;
  Node* node = selectGroup(group, false);
  if (node != nullptr) return node->getAttrText(out, nameOrEmpty(name), defaultValue, false);
  out.set(nameOrEmpty(defaultValue));
  return false;
}

ArrayU08* MappedData::getValue(const char16_t* group, const char16_t* name, ArrayU08* out) {
  const char16_t* stored = storedText(group, name);
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
bool MappedData::writeValue(const char16_t* group, const char16_t* name, T value) {
  if constexpr (std::is_same_v<T, bool>) {  // kept as 1 or 0
    return replaceValue(group, name, static_cast<std::uint8_t>(value ? 1 : 0));
  } else {
    return replaceValue(group, name, value);
  }
}

template <class... Args>
bool MappedData::replaceValue(const char16_t* group, const char16_t* name, Args... args) {
  Node* node = selectGroup(group, true);
  if (node == nullptr) return false;
  removeFirst(*node, name);
  return finishChange(node->setAttr(nameOrEmpty(name), args...));
}

bool MappedData::writeText(const char16_t* group, const char16_t* name, const char16_t* text) {
  return writeValue(group, name, nameOrEmpty(text));
}

bool MappedData::setValue(const char16_t* group, const char16_t* name, const char16_t* text) {
  return writeText(group, name, text);
}

bool MappedData::setExpandValue(const char16_t* group, const char16_t* name, const char16_t* text) {
  return writeText(group, name, text);
}

bool MappedData::setValue(const char16_t* group, const char16_t* name, const ArrayU08& bytes) {
  static const std::uint8_t kNoBytes = 0;
  const std::uint8_t* values = bytes.length() > 0 ? bytes.values() : &kNoBytes;
  return replaceValue(group, name, values, bytes.length());
}

}  // namespace s::xml

template class s::map::TypedMappedData<s::xml::MappedData>;
