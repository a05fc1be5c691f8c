#include "reg/MappedData.h"

#include "col/_array/ArrayU08.h"
#include "os/AsciiCase.h"
#include "reg/win/RegDir.h"
#include "str/IStr.h"

namespace s::reg {

using s::col::_array::ArrayU08;
using s::reg::win::RegDir;

namespace {

std::u16string_view viewOf(const char16_t* text) {
  return text != nullptr ? std::u16string_view(text) : std::u16string_view();
}

}  // namespace

MappedData::MappedData() {
  reset();
}

MappedData::~MappedData() {
  reset();
}

void MappedData::reset() {
  dropGroupKey();
  if (baseKey_ != nullptr) baseKey_->release();
  baseKey_ = nullptr;
  groupPath_.clear();
  autoFlush_ = true;
}

void MappedData::dropGroupKey() {
  if (groupKey_ != nullptr) groupKey_->release();
  groupKey_ = nullptr;
  groupName_.clear();
}

bool MappedData::open(std::uint32_t root, const char16_t* path) {
  dropGroupKey();
  if (baseKey_ == nullptr) baseKey_ = RegDir::create();
  return baseKey_ != nullptr && baseKey_->openRootPath(root, path);
}

// ---- Groups

bool MappedData::selectGroup(const char16_t* group, bool& ok) {
  ok = baseKey_ != nullptr;
  const std::u16string_view name = viewOf(group);
  if (!ok) return false;
  if (groupKey_ != nullptr && s::os::equalsAsciiIgnoreCase(name, groupName_)) return false;
  dropGroupKey();
  groupName_ = name;
  groupPath_ = baseKey_->getPath();
  if (!name.empty()) {
    if (!groupPath_.empty()) groupPath_.push_back(u'\\');
    groupPath_ += name;
  }
  groupKey_ = RegDir::create();
  ok = groupKey_ != nullptr;
  if (ok) groupKey_->openRootPath(baseKey_->getRoot(), groupPath_.c_str());
  return ok;
}

bool MappedData::openGroup(const char16_t* group) {
  bool ok = false;
  const bool fresh = selectGroup(group, ok);
  if (!ok) return false;
  if (groupName_.empty()) return true;
  return groupKey_->isOpen() || (!fresh && groupKey_->exists());
}

bool MappedData::openGroupForWrite(const char16_t* group) {
  bool ok = false;
  selectGroup(group, ok);
  return ok && groupKey_->createKey();
}

bool MappedData::deleteGroup(const char16_t* group) {
  bool ok = false;
  selectGroup(group, ok);
  if (!ok) return false;
  const bool removed = groupKey_->exists() && groupKey_->remove(true);
  dropGroupKey();
  return removed;
}

bool MappedData::hasValue(const char16_t* group, const char16_t* name) {
  return openGroup(group) && groupKey_->queryValue(name, nullptr, nullptr, RegDir::kAnyType);
}

template <class T>
T MappedData::readValue(const char16_t* group, const char16_t* name, T defaultValue) {
  return openGroup(group) ? groupKey_->getValue(name, defaultValue) : defaultValue;
}

template <class T>
bool MappedData::writeValue(const char16_t* group, const char16_t* name, const T& value) {
  return finishChange(openGroupForWrite(group) && groupKey_->setValue(name, value));
}

// ---- Reading

bool MappedData::getValue(const char16_t* group, const char16_t* name, s::str::IStr& out,
                          const char16_t* defaultValue, bool* outExpandable, bool expand) {
  if (openGroup(group)) {
    return groupKey_->getValue(name, out, defaultValue, outExpandable, expand);
  }
  if (outExpandable != nullptr) *outExpandable = false;
  out.set(defaultValue != nullptr ? defaultValue : u"");
  return false;
}

ArrayU08* MappedData::getValue(const char16_t* group, const char16_t* name, ArrayU08* out) {
  if (!openGroup(group)) return nullptr;
  ArrayU08* target = out != nullptr ? out : ArrayU08::create();
  if (target != nullptr && groupKey_->getValue(name, *target)) return target;
  if (out == nullptr && target != nullptr) target->release();
  return nullptr;
}

bool MappedData::deleteValue(const char16_t* group, const char16_t* name) {
  return finishChange(openGroup(group) && groupKey_->deleteValue(name));
}

// ---- Writing

bool MappedData::setValue(const char16_t* group, const char16_t* name, const char16_t* text) {
  return writeValue(group, name, text);
}

bool MappedData::setExpandValue(const char16_t* group, const char16_t* name, const char16_t* text) {
  return finishChange(openGroupForWrite(group) && groupKey_->setExpandValue(name, text));
}

bool MappedData::setValue(const char16_t* group, const char16_t* name, const ArrayU08& bytes) {
  return writeValue(group, name, bytes);
}

}  // namespace s::reg

template class s::map::TypedMappedData<s::reg::MappedData>;
