#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "map/TypedMappedData.h"
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
class MappedData : public s::map::TypedMappedData<MappedData>, public virtual s::thread::IPoolable {
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

  const char16_t* getClassName() const override { return u"s_reg_MappedData"; }

  // Releases both keys, forgets the group, switches auto-flush on.
  void reset() override;

 private:
  // Makes `group` the selected group; true when it was selected afresh (a
  // new key object). False in `ok` when there is no base key.
  bool selectGroup(const char16_t* group, bool& ok);
  void dropGroupKey();
  friend class s::map::TypedMappedData<MappedData>;
  template <class T>
  T readValue(const char16_t* group, const char16_t* name, T defaultValue);
  template <class T>
  bool writeValue(const char16_t* group, const char16_t* name, const T& value);

  win::RegDir* baseKey_ = nullptr;
  std::u16string groupName_;
  std::u16string groupPath_;
  win::RegDir* groupKey_ = nullptr;
};

}  // namespace s::reg

extern template class s::map::TypedMappedData<s::reg::MappedData>;
