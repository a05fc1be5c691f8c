#pragma once

#include <cstdint>
#include <string>

#include "map/TypedMappedData.h"
#include "thread/IPoolable.h"
#include "thread/Pooled.h"

namespace s::xml {

class Node;

// The settings tree kept in an XML file: a root element (named "savedata" in
// a new file) whose descendant elements are the groups and whose attributes
// are the values. A group name is split at every slash and backslash; each
// part selects the first child element of exactly that name (case-sensitive),
// created on write when missing; the empty group is the root. Value names
// match ignoring the case of ASCII letters (the empty value name is the
// element's text).
//
// Values are stored in the XML classes' text forms: numbers in decimal
// (64-bit ones signed), floats with six decimals, booleans as 1 or 0,
// strings entity-encoded, bytes as two hexadecimal digits each. A setter
// replaces the first value of the same name. Expandable strings are kept as
// plain strings (never flagged, never expanded).
//
// flush() writes the whole tree to the file (through a sibling file that
// then replaces it, so a failed write keeps the old file); with auto-flush on
// (the default) every change does.
//
// Pooled (cap 1000): MappedData::create() / release(). One thread at a time.
class MappedData : public s::map::TypedMappedData<MappedData>, public virtual s::thread::IPoolable {
  VONQ_POOLED(MappedData, s::thread::kPoolCap)
 public:
  MappedData();
  ~MappedData() override;

  MappedData(const MappedData&) = delete;
  MappedData& operator=(const MappedData&) = delete;

  // Keeps the settings in the file `filePath`: loads it when it exists and
  // holds an element, else starts an empty "savedata" tree (the file is
  // written by the first flush). True when the file was loaded.
  bool open(const char16_t* filePath);
  // open() on the default file: "savedata", then "SaveData.xml", in
  // `programFolder` (joined with the platform's separator).
  bool openInFolder(const char16_t* programFolder);

  // The file in use ("" before open()).
  const char16_t* getFilePath() const { return path_.c_str(); }
  // The root element (still owned by this store); null before open().
  Node* getRoot() const { return root_; }

  bool flush() override;
  bool openGroupForWrite(const char16_t* group) override;
  bool deleteGroup(const char16_t* group) override;
  bool openGroup(const char16_t* group) override;
  bool hasValue(const char16_t* group, const char16_t* name) override;

  using TypedMappedData::getValue;
  using TypedMappedData::setValue;

  bool getValue(const char16_t* group, const char16_t* name, s::str::IStr& out,
                const char16_t* defaultValue, bool* outExpandable, bool expand) override;
  s::col::_array::ArrayU08* getValue(const char16_t* group, const char16_t* name,
                                     s::col::_array::ArrayU08* out) override;

  bool deleteValue(const char16_t* group, const char16_t* name) override;

  bool setValue(const char16_t* group, const char16_t* name, const char16_t* text) override;
  bool setExpandValue(const char16_t* group, const char16_t* name, const char16_t* text) override;
  bool setValue(const char16_t* group, const char16_t* name,
                const s::col::_array::ArrayU08& bytes) override;

  const char16_t* getClassName() const override { return u"s_xml_MappedData"; }

  // Gives the tree back, forgets the file and the group, auto-flush on.
  void reset() override;

 private:
  // The group's element (created with `create`), or null. With `outParent`,
  // also its parent and its index there (null parent for the root).
  Node* selectGroup(const char16_t* group, bool create, Node** outParent = nullptr,
                    std::uint32_t* outIndex = nullptr);
  friend class s::map::TypedMappedData<MappedData>;
  template <class T>
  T readValue(const char16_t* group, const char16_t* name, T defaultValue);
  // The stored text of the value (owned by the tree), or null when the group
  // or the value is missing.
  const char16_t* storedText(const char16_t* group, const char16_t* name);
  template <class T>
  T readFloating(const char16_t* group, const char16_t* name, T defaultValue);
  template <class T>
  bool writeValue(const char16_t* group, const char16_t* name, T value);
  // Selects the group for writing, replaces the first value named `name`
  // with setAttr(name, args...), then finishes the change.
  template <class... Args>
  bool replaceValue(const char16_t* group, const char16_t* name, Args... args);
  bool writeText(const char16_t* group, const char16_t* name, const char16_t* text);

  std::u16string path_;
  Node* root_ = nullptr;
  Node* group_ = nullptr;  // the group selected last, inside root_'s tree
};

}  // namespace s::xml

extern template class s::map::TypedMappedData<s::xml::MappedData>;
