#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "map/IMappedData.h"
#include "thread/IPoolable.h"
#include "thread/Pooled.h"

namespace s::reg {

namespace win {
class RegDir;
}

// The settings tree kept in the registry: the base key (root and path, set
// with open()) holds one subkey per group, named after the group (a group
// name may hold backslashes to reach deeper keys; the empty group is the base
// key itself); values are registry values of the group's key, encoded as
// RegDir encodes them. flush() has nothing to do: every change is lasting once
// it returned.
//
// The group selected last stays open between calls; a group name that equals
// the last one ignoring the case of ASCII letters reuses it.
//
// Pooled (cap 1000): MappedData::create() / release(). One thread at a time.
class MappedData : public s::map::IMappedData, public virtual s::thread::IPoolable {
  VONQ_POOLED(MappedData, s::thread::kPoolCap)
 public:
  MappedData();
  ~MappedData() override;

  MappedData(const MappedData&) = delete;
  MappedData& operator=(const MappedData&) = delete;

  // Uses the key `path` under the predefined `root` (s::os::RegRoot) as the
  // base key; no group is selected afterwards. Nothing is created yet. True
  // when the base key exists already.
  bool open(std::uint32_t root, const char16_t* path);

  bool flush() override { return true; }
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

  const char16_t* getClassName() const override { return u"s_reg_MappedData"; }

  // Releases both keys, forgets the group, switches auto-flush on.
  void reset() override;

 private:
  // Makes `group` the selected group; true when it was selected afresh (a
  // new key object). False in `ok` when there is no base key.
  bool selectGroup(const char16_t* group, bool& ok);
  void dropGroupKey();
  bool finishChange(bool changed);
  template <class T>
  T read(const char16_t* group, const char16_t* name, T defaultValue);
  template <class T>
  bool write(const char16_t* group, const char16_t* name, const T& value);

  win::RegDir* baseKey_ = nullptr;
  std::u16string groupName_;
  std::u16string groupPath_;
  win::RegDir* groupKey_ = nullptr;
  bool autoFlush_ = true;
};

}  // namespace s::reg
