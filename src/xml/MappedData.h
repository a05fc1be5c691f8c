#pragma once

#include <cstdint>
#include <string>

#include "map/IMappedData.h"
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
class MappedData : public s::map::IMappedData, public virtual s::thread::IPoolable {
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

  std::uint8_t getValue(const char16_t* group, const char16_t* name,
                        std::uint8_t defaultValue) override;
  std::uint16_t getValue(const char16_t* group, const char16_t* name,
                         std::uint16_t defaultValue) override;
  std::uint32_t getValue(const char16_t* group, const char16_t* name,
                         std::uint32_t defaultValue) override;
  std::uint64_t getValue(const char16_t* group, const char16_t* name,
                         std::uint64_t defaultValue) override;
  std::int8_t getValue(const char16_t* group, const char16_t* name,
                       std::int8_t defaultValue) override;
  std::int16_t getValue(const char16_t* group, const char16_t* name,
                        std::int16_t defaultValue) override;
  std::int32_t getValue(const char16_t* group, const char16_t* name,
                        std::int32_t defaultValue) override;
  std::int64_t getValue(const char16_t* group, const char16_t* name,
                        std::int64_t defaultValue) override;
  float getValue(const char16_t* group, const char16_t* name, float defaultValue) override;
  double getValue(const char16_t* group, const char16_t* name, double defaultValue) override;
  bool getValue(const char16_t* group, const char16_t* name, bool defaultValue) override;
  bool getValue(const char16_t* group, const char16_t* name, s::str::IStr& out,
                const char16_t* defaultValue, bool* outExpandable, bool expand) override;
  bool getValue(const char16_t* group, const char16_t* name,
                s::str::strarray::StrArray& out) override;
  s::col::_array::ArrayU08* getValue(const char16_t* group, const char16_t* name,
                                     s::col::_array::ArrayU08* out) override;

  bool deleteValue(const char16_t* group, const char16_t* name) override;

  bool setValue(const char16_t* group, const char16_t* name, std::uint8_t value) override;
  bool setValue(const char16_t* group, const char16_t* name, std::uint16_t value) override;
  bool setValue(const char16_t* group, const char16_t* name, std::uint32_t value) override;
  bool setValue(const char16_t* group, const char16_t* name, std::uint64_t value) override;
  bool setValue(const char16_t* group, const char16_t* name, std::int8_t value) override;
  bool setValue(const char16_t* group, const char16_t* name, std::int16_t value) override;
  bool setValue(const char16_t* group, const char16_t* name, std::int32_t value) override;
  bool setValue(const char16_t* group, const char16_t* name, std::int64_t value) override;
  bool setValue(const char16_t* group, const char16_t* name, float value) override;
  bool setValue(const char16_t* group, const char16_t* name, double value) override;
  bool setValue(const char16_t* group, const char16_t* name, bool value) override;
  bool setValue(const char16_t* group, const char16_t* name, const char16_t* text) override;
  bool setExpandValue(const char16_t* group, const char16_t* name, const char16_t* text) override;
  bool setValue(const char16_t* group, const char16_t* name,
                const s::str::strarray::StrArray& list) override;
  bool setValue(const char16_t* group, const char16_t* name,
                const s::col::_array::ArrayU08& bytes) override;

  bool getAutoFlush() const override { return autoFlush_; }
  void setAutoFlush(bool autoFlush) override { autoFlush_ = autoFlush; }

  const char16_t* getClassName() const override { return u"s_xml_MappedData"; }

  // Gives the tree back, forgets the file and the group, auto-flush on.
  void reset() override;

 private:
  // The group's element (created with `create`), or null. With `outParent`,
  // also its parent and its index there (null parent for the root).
  Node* selectGroup(const char16_t* group, bool create, Node** outParent = nullptr,
                    std::uint32_t* outIndex = nullptr);
  bool finishChange(bool changed);
  template <class T>
  T read(const char16_t* group, const char16_t* name, T defaultValue);
  template <class T>
  T readFloating(const char16_t* group, const char16_t* name, T defaultValue);
  template <class T>
  bool write(const char16_t* group, const char16_t* name, T value);
  bool writeText(const char16_t* group, const char16_t* name, const char16_t* text);

  std::u16string path_;
  Node* root_ = nullptr;
  Node* group_ = nullptr;  // the group selected last, inside root_'s tree
  bool autoFlush_ = true;
};

}  // namespace s::xml
