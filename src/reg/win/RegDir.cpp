#include "reg/win/RegDir.h"

#include <cstring>
#include <vector>

#include "col/_array/ArrayP.h"
#include "os/AsciiCase.h"
#include "str/IStr.h"
#include "str/strarray/StrArray.h"
#include "str/strbuffer/StrBuffer.h"

namespace s::reg::win {

using s::col::_array::ArrayP;
using s::col::_array::ArrayU08;
using s::os::RegistryStore;
using s::os::RegRoot;
using s::os::RegType;
using s::str::strarray::StrArray;

namespace {

constexpr std::uint32_t kDwordSize = 4;
constexpr std::uint32_t kQwordSize = 8;

// The process-wide registry layer: set up by the first RegDir, kept for the
// life of the process (never destroyed, so late users still find it).
struct RegistryLayer {
  bool ready;
  std::u16string userId;
};

const RegistryLayer& registryLayer() {
  static const RegistryLayer* const layer =
      new RegistryLayer{true, s::os::registryStore().currentUserId()};
  return *layer;
}

std::u16string_view viewOf(const char16_t* text) {
  return text != nullptr ? std::u16string_view(text) : std::u16string_view();
}

std::uint64_t littleEndian(const std::uint8_t* bytes, std::uint32_t size) {
  std::uint64_t value = 0;
  for (std::uint32_t i = size; i > 0; --i) value = (value << 8) | bytes[i - 1];
  return value;
}

void putLittleEndian(std::uint8_t* bytes, std::uint64_t value, std::uint32_t size) {
  for (std::uint32_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// The UTF-16LE units of `size` bytes up to the first zero unit.
void decodeText(const std::uint8_t* bytes, std::uint32_t size, std::u16string& out) {
  out.clear();
  for (std::uint32_t i = 0; i + 1 < size; i += 2) {
    const auto unit = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
    if (unit == 0) break;
    out.push_back(unit);
  }
}

ArrayP* newKeyList() {
  ArrayP* list = ArrayP::create();
  if (list != nullptr) list->setDisposer(&RegDir::pool());
  return list;
}

template <class T, class Bits>
T bitsAs(Bits bits) {
  static_assert(sizeof(T) == sizeof(Bits));
  T value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

std::uint32_t bitsOf(float value) {
  return bitsAs<std::uint32_t>(value);
}

std::uint64_t bitsOf(double value) {
  return bitsAs<std::uint64_t>(value);
}

}  // namespace

RegDir::RegDir() {
  layerReady_ = registryLayer().ready;
  reset();
}

RegDir::~RegDir() {
  close();
}

void RegDir::reset() {
  close();
  data_.reset();
  setRoot(RegRoot::kLocalMachine);
  path_.clear();
  displayPath_.clear();
  nativePath_.clear();
}

// ---- Paths

void RegDir::setRoot(std::uint32_t root) {
  root_ = root;
  const char16_t* name = RegRoot::nameOf(root);
  if (name == nullptr) {
    // No key of another root may be reached through an unknown one: its
    // paths name nothing that can be opened.
    rootName_.clear();
    nativeRoot_.clear();
    return;
  }
  rootName_ = name;
  nativeRoot_ = (root == RegRoot::kCurrentUser && !layerReady_)
                    ? u"\\Registry\\Machine"
                    : RegRoot::nativePrefixOf(root, registryLayer().userId);
}

bool RegDir::openPath(const char16_t* path) {
  path_ = viewOf(path);
  while (!path_.empty() && path_.back() == u'\\') path_.pop_back();
  displayPath_ = path_.empty() ? rootName_ : rootName_ + u'\\' + path_;
  nativePath_ = path_.empty() ? nativeRoot_ : nativeRoot_ + u'\\' + path_;
  close();
  return openIfNeeded();
}

bool RegDir::openRootPath(std::uint32_t root, const char16_t* path) {
  setRoot(root);
  return openPath(path);
}

bool RegDir::setFromText(const char16_t* text) {
  const std::u16string_view view = viewOf(text);
  std::size_t nameLength = 0;
  const std::uint32_t root = RegRoot::fromTextPrefix(view, nameLength);
  if (root == 0) return openRootPath(RegRoot::kCurrentUser, u"InvalidKey");
  const std::u16string rest(view.substr(nameLength + 1));
  return openRootPath(root, rest.c_str());
}

const char16_t* RegDir::getName() const {
  const std::size_t cut = path_.rfind(u'\\');
  return cut == std::u16string::npos ? path_.c_str() : path_.c_str() + cut + 1;
}

std::u16string RegDir::childPath(std::u16string_view name) const {
  std::u16string child = path_;
  if (!child.empty()) child.push_back(u'\\');
  child += name;
  return child;
}

IRegDir* RegDir::getParent() const {
  const std::size_t cut = path_.rfind(u'\\');
  if (cut == std::u16string::npos) return nullptr;
  RegDir* parent = RegDir::create();
  if (parent == nullptr) return nullptr;
  const std::u16string parentPath = path_.substr(0, cut);
  parent->openRootPath(root_, parentPath.c_str());
  return parent;
}

// ---- Handle

bool RegDir::openIfNeeded() {
  if (handle_ != RegistryStore::kNoKey) return true;
  store_ = &s::os::registryStore();
  handle_ = store_->openKey(nativePath_);
  return handle_ != RegistryStore::kNoKey;
}

void RegDir::close() {
  if (handle_ != RegistryStore::kNoKey) store_->closeKey(handle_);
  handle_ = RegistryStore::kNoKey;
}

bool RegDir::exists() {
  close();
  return openIfNeeded();
}

bool RegDir::createKey() {
  if (handle_ != RegistryStore::kNoKey) return true;
  store_ = &s::os::registryStore();
  handle_ = store_->createKey(nativePath_);
  if (handle_ != RegistryStore::kNoKey) return true;
  IRegDir* parent = getParent();
  if (parent == nullptr) return false;
  const bool parentMade = parent->createKey();
  parent->release();
  if (parentMade) handle_ = store_->createKey(nativePath_);
  return handle_ != RegistryStore::kNoKey;
}

bool RegDir::remove(bool withSelf) {
  if (!openIfNeeded()) return false;
  bool removed = true;
  ArrayP* subkeys = listSubkeys();
  for (std::uint32_t i = 0; subkeys != nullptr && i < subkeys->length(); ++i) {
    removed = subkeys->getAs<RegDir>(i)->remove(true) && removed;
  }
  if (subkeys != nullptr) subkeys->release();
  if (!withSelf) return removed;
  removed = store_->deleteKey(handle_) && removed;
  close();
  return removed;
}

bool RegDir::rename(const char16_t* newName) {
  if (!openIfNeeded()) return false;
  const bool renamed = store_->renameKey(handle_, viewOf(newName));
  close();
  return renamed;
}

bool RegDir::flushKey() {
  return openIfNeeded() && store_->flushKey(handle_);
}

// ---- Listing

ArrayP* RegDir::listSubkeys() {
  return listSubkeysWithPrefix(nullptr);
}

ArrayP* RegDir::listSubkeysWithPrefix(const char16_t* prefix) {
  ArrayP* list = newKeyList();
  std::vector<std::u16string> names;
  if (list == nullptr || !openIfNeeded() || !store_->listSubkeyNames(handle_, names)) return list;
  for (const std::u16string& name : names) {
    if (!s::os::startsWithAsciiIgnoreCase(name, viewOf(prefix))) continue;
    RegDir* subkey = RegDir::create();
    if (subkey == nullptr) continue;
    const std::u16string path = childPath(name);
    subkey->openRootPath(root_, path.c_str());
    if (!list->add(subkey)) subkey->release();
  }
  return list;
}

StrArray* RegDir::listValueNames() {
  StrArray* list = StrArray::create();
  std::vector<std::u16string> names;
  if (list == nullptr || !openIfNeeded() || !store_->listValueNames(handle_, names)) return list;
  for (const std::u16string& name : names) {
    list->addText(name.c_str(), static_cast<std::int32_t>(name.size()));
  }
  return list;
}

std::uint64_t RegDir::totalSize(bool recurse, std::uint32_t* outValueCount,
                                std::uint32_t* outKeyCount, bool withValues) {
  if (!openIfNeeded()) return 0;
  std::uint64_t total = 0;
  if (withValues) {
    StrArray* names = listValueNames();
    for (std::uint32_t i = 0; names != nullptr && i < names->length(); ++i) {
      total += getValueSize(names->get(i)->getText());
      if (outValueCount != nullptr) ++*outValueCount;
    }
    if (names != nullptr) names->release();
  }
  ArrayP* subkeys = listSubkeys();
  for (std::uint32_t i = 0; subkeys != nullptr && i < subkeys->length(); ++i) {
    if (outKeyCount != nullptr) ++*outKeyCount;
    if (recurse) {
      total += subkeys->getAs<RegDir>(i)->totalSize(true, outValueCount, outKeyCount, withValues);
    }
  }
  if (subkeys != nullptr) subkeys->release();
  return total;
}

// ---- Reading

bool RegDir::queryValue(const char16_t* name, std::uint32_t* outType, std::uint32_t* outSize,
                        std::uint32_t expectedType) {
  if (!openIfNeeded()) return false;
  std::uint32_t type = RegType::kNone;
  std::vector<std::uint8_t> bytes;
  if (!store_->queryValue(handle_, viewOf(name), type, bytes)) return false;
  if (expectedType != kAnyType && type != expectedType) return false;
  data_.setLength(0);
  if (!bytes.empty() && !data_.append(bytes.data(), static_cast<std::uint32_t>(bytes.size()))) {
    return false;
  }
  if (outType != nullptr) *outType = type;
  if (outSize != nullptr) *outSize = data_.length();
  return true;
}

std::uint32_t RegDir::getValueSize(const char16_t* name) {
  std::uint32_t size = 0;
  return queryValue(name, nullptr, &size, kAnyType) ? size : 0;
}

bool RegDir::readSized(const char16_t* name, std::uint32_t size) {
  std::uint32_t found = 0;
  return queryValue(name, nullptr, &found, kAnyType) && found == size;
}

bool RegDir::readDword(const char16_t* name, std::uint32_t& out) {
  if (!readSized(name, kDwordSize)) return false;
  out = static_cast<std::uint32_t>(littleEndian(data_.values(), kDwordSize));
  return true;
}

bool RegDir::readQword(const char16_t* name, std::uint64_t& out) {
  if (!readSized(name, kQwordSize)) return false;
  out = littleEndian(data_.values(), kQwordSize);
  return true;
}

std::uint8_t RegDir::getValue(const char16_t* name, std::uint8_t defaultValue) {
  std::uint32_t v = 0;
  return readDword(name, v) ? static_cast<std::uint8_t>(v) : defaultValue;
}

std::uint16_t RegDir::getValue(const char16_t* name, std::uint16_t defaultValue) {
  std::uint32_t v = 0;
  return readDword(name, v) ? static_cast<std::uint16_t>(v) : defaultValue;
}

std::uint32_t RegDir::getValue(const char16_t* name, std::uint32_t defaultValue) {
  std::uint32_t v = 0;
  return readDword(name, v) ? v : defaultValue;
}

std::uint64_t RegDir::getValue(const char16_t* name, std::uint64_t defaultValue) {
  std::uint64_t v = 0;
  return readQword(name, v) ? v : defaultValue;
}

std::int8_t RegDir::getValue(const char16_t* name, std::int8_t defaultValue) {
  std::uint32_t v = 0;
  return readDword(name, v) ? static_cast<std::int8_t>(v) : defaultValue;
}

std::int16_t RegDir::getValue(const char16_t* name, std::int16_t defaultValue) {
  std::uint32_t v = 0;
  return readDword(name, v) ? static_cast<std::int16_t>(v) : defaultValue;
}

std::int32_t RegDir::getValue(const char16_t* name, std::int32_t defaultValue) {
  std::uint32_t v = 0;
  return readDword(name, v) ? static_cast<std::int32_t>(v) : defaultValue;
}

std::int64_t RegDir::getValue(const char16_t* name, std::int64_t defaultValue) {
  std::uint64_t v = 0;
  return readQword(name, v) ? static_cast<std::int64_t>(v) : defaultValue;
}

float RegDir::getValue(const char16_t* name, float defaultValue) {
  std::uint32_t v = 0;
  return readDword(name, v) ? bitsAs<float>(v) : defaultValue;
}

double RegDir::getValue(const char16_t* name, double defaultValue) {
  std::uint64_t v = 0;
  return readQword(name, v) ? bitsAs<double>(v) : defaultValue;
}

bool RegDir::getValue(const char16_t* name, bool defaultValue) {
  std::uint32_t v = 0;
  return readDword(name, v) ? v != 0 : defaultValue;
}

bool RegDir::getValue(const char16_t* name, s::str::IStr& out, const char16_t* defaultValue,
                      bool* outExpandable, bool expand) {
  std::uint32_t type = RegType::kNone;
  std::uint32_t size = 0;
  const bool found = queryValue(name, &type, &size, kAnyType) &&
                     (type == RegType::kSz || type == RegType::kExpandSz);
  if (outExpandable != nullptr) *outExpandable = found && type == RegType::kExpandSz;
  if (!found) {
    out.set(defaultValue != nullptr ? defaultValue : u"");
    return false;
  }
  std::u16string text;
  decodeText(data_.values(), size, text);
  if (expand && type == RegType::kExpandSz) text = store_->expandEnvironment(text);
  out.clear();
  out.append(text.data(), static_cast<std::int32_t>(text.size()));
  return true;
}

bool RegDir::getValue(const char16_t* name, StrArray& out) {
  std::uint32_t size = 0;
  if (!queryValue(name, nullptr, &size, RegType::kMultiSz) || size <= 3) return false;
  out.fromMultiString(data_.values(), size);
  if (out.length() == 1 && out.get(0)->length() == 0) out.clear();
  return true;
}

bool RegDir::getValue(const char16_t* name, ArrayU08& out) {
  std::uint32_t size = 0;
  if (!queryValue(name, nullptr, &size, kAnyType)) return false;
  out.setLength(0);
  return size == 0 || out.append(data_.values(), size);
}

bool RegDir::deleteValue(const char16_t* name) {
  return openIfNeeded() && store_->deleteValue(handle_, viewOf(name));
}

// ---- Writing

bool RegDir::writeValue(const char16_t* name, std::uint32_t type, const void* data,
                        std::size_t size) {
  if (handle_ == RegistryStore::kNoKey && !createKey()) return false;
  return store_->setValue(handle_, viewOf(name), type, data, size);
}

bool RegDir::writeDword(const char16_t* name, std::uint32_t value) {
  std::uint8_t bytes[kDwordSize];
  putLittleEndian(bytes, value, kDwordSize);
  return writeValue(name, RegType::kDword, bytes, kDwordSize);
}

bool RegDir::writeQword(const char16_t* name, std::uint64_t value) {
  std::uint8_t bytes[kQwordSize];
  putLittleEndian(bytes, value, kQwordSize);
  return writeValue(name, RegType::kBinary, bytes, kQwordSize);
}

bool RegDir::writeText(const char16_t* name, std::uint32_t type, const char16_t* text) {
  const std::u16string_view view = viewOf(text);
  std::vector<std::uint8_t> bytes((view.size() + 1) * 2, 0);
  for (std::size_t i = 0; i < view.size(); ++i) putLittleEndian(&bytes[i * 2], view[i], 2);
  return writeValue(name, type, bytes.data(), bytes.size());
}

bool RegDir::setValue(const char16_t* name, std::uint8_t value) {
  return writeDword(name, value);
}

bool RegDir::setValue(const char16_t* name, std::uint16_t value) {
  return writeDword(name, value);
}

bool RegDir::setValue(const char16_t* name, std::uint32_t value) {
  return writeDword(name, value);
}

bool RegDir::setValue(const char16_t* name, std::uint64_t value) {
  return writeQword(name, value);
}

bool RegDir::setValue(const char16_t* name, std::int8_t value) {
  return writeDword(name, static_cast<std::uint32_t>(static_cast<std::int32_t>(value)));
}

bool RegDir::setValue(const char16_t* name, std::int16_t value) {
  return writeDword(name, static_cast<std::uint32_t>(static_cast<std::int32_t>(value)));
}

bool RegDir::setValue(const char16_t* name, std::int32_t value) {
  return writeDword(name, static_cast<std::uint32_t>(value));
}

bool RegDir::setValue(const char16_t* name, std::int64_t value) {
  return writeQword(name, static_cast<std::uint64_t>(value));
}

bool RegDir::setValue(const char16_t* name, float value) {
  std::uint8_t bytes[kDwordSize];
  putLittleEndian(bytes, bitsOf(value), kDwordSize);
  return writeValue(name, RegType::kBinary, bytes, kDwordSize);
}

bool RegDir::setValue(const char16_t* name, double value) {
  return writeQword(name, bitsOf(value));
}

bool RegDir::setValue(const char16_t* name, bool value) {
  return writeDword(name, value ? 1u : 0u);
}

bool RegDir::setValue(const char16_t* name, const char16_t* text) {
  return writeText(name, RegType::kSz, text);
}

bool RegDir::setExpandValue(const char16_t* name, const char16_t* text) {
  return writeText(name, RegType::kExpandSz, text);
}

bool RegDir::setValue(const char16_t* name, const StrArray& list) {
  ArrayU08* bytes = list.toMultiString(nullptr);
  if (bytes == nullptr) return false;
  const bool written = writeValue(name, RegType::kMultiSz, bytes->values(), bytes->length());
  bytes->release();
  return written;
}

bool RegDir::setValue(const char16_t* name, const ArrayU08& bytes) {
  return writeValue(name, RegType::kBinary, bytes.values(), bytes.length());
}

}  // namespace s::reg::win
