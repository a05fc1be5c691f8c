#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "col/_array/ArrayU08.h"
#include "os/RegistryStore.h"
#include "reg/IRegDir.h"
#include "thread/Pooled.h"

namespace s::reg::win {

// A registry key reached through the platform's registry store
// (s::os::registryStore()), by the key's native path. The handle belongs to
// the store that opened it, so a store swapped in later does not receive it.
//
// A fresh or reset RegDir holds no handle, has the root HKEY_LOCAL_MACHINE
// and empty paths. Pooled (cap 1000): RegDir::create() / release().
class RegDir : public IRegDir {
  VONQ_POOLED(RegDir, s::thread::kPoolCap)
 public:
  RegDir();
  ~RegDir() override;

  RegDir(const RegDir&) = delete;
  RegDir& operator=(const RegDir&) = delete;

  const char16_t* getDisplayPath() const override { return displayPath_.c_str(); }
  const char16_t* getNativePath() const override { return nativePath_.c_str(); }
  IRegDir* getParent() const override;
  s::col::_array::ArrayP* listSubkeys() override;
  s::col::_array::ArrayP* listSubkeysWithPrefix(const char16_t* prefix) override;
  std::uint32_t getRoot() const override { return root_; }
  void setRoot(std::uint32_t root) override;
  const char16_t* getPath() const override { return path_.c_str(); }
  bool openPath(const char16_t* path) override;
  const char16_t* getName() const override;
  bool setFromText(const char16_t* text) override;
  bool openRootPath(std::uint32_t root, const char16_t* path) override;
  void close() override;
  bool exists() override;
  bool createKey() override;
  bool remove(bool withSelf) override;
  bool rename(const char16_t* newName) override;
  bool flushKey() override;
  bool queryValue(const char16_t* name, std::uint32_t* outType, std::uint32_t* outSize,
                  std::uint32_t expectedType) override;
  s::str::strarray::StrArray* listValueNames() override;
  std::uint64_t totalSize(bool recurse, std::uint32_t* outValueCount, std::uint32_t* outKeyCount,
                          bool withValues) override;
  std::uint32_t getValueSize(const char16_t* name) override;

  std::uint8_t getValue(const char16_t* name, std::uint8_t defaultValue) override;
  std::uint16_t getValue(const char16_t* name, std::uint16_t defaultValue) override;
  std::uint32_t getValue(const char16_t* name, std::uint32_t defaultValue) override;
  std::uint64_t getValue(const char16_t* name, std::uint64_t defaultValue) override;
  std::int8_t getValue(const char16_t* name, std::int8_t defaultValue) override;
  std::int16_t getValue(const char16_t* name, std::int16_t defaultValue) override;
  std::int32_t getValue(const char16_t* name, std::int32_t defaultValue) override;
  std::int64_t getValue(const char16_t* name, std::int64_t defaultValue) override;
  float getValue(const char16_t* name, float defaultValue) override;
  double getValue(const char16_t* name, double defaultValue) override;
  bool getValue(const char16_t* name, bool defaultValue) override;
  bool getValue(const char16_t* name, s::str::IStr& out, const char16_t* defaultValue,
                bool* outExpandable, bool expand) override;
  bool getValue(const char16_t* name, s::str::strarray::StrArray& out) override;
  bool getValue(const char16_t* name, s::col::_array::ArrayU08& out) override;

  bool deleteValue(const char16_t* name) override;

  bool setValue(const char16_t* name, std::uint8_t value) override;
  bool setValue(const char16_t* name, std::uint16_t value) override;
  bool setValue(const char16_t* name, std::uint32_t value) override;
  bool setValue(const char16_t* name, std::uint64_t value) override;
  bool setValue(const char16_t* name, std::int8_t value) override;
  bool setValue(const char16_t* name, std::int16_t value) override;
  bool setValue(const char16_t* name, std::int32_t value) override;
  bool setValue(const char16_t* name, std::int64_t value) override;
  bool setValue(const char16_t* name, float value) override;
  bool setValue(const char16_t* name, double value) override;
  bool setValue(const char16_t* name, bool value) override;
  bool setValue(const char16_t* name, const char16_t* text) override;
  bool setExpandValue(const char16_t* name, const char16_t* text) override;
  bool setValue(const char16_t* name, const s::str::strarray::StrArray& list) override;
  bool setValue(const char16_t* name, const s::col::_array::ArrayU08& bytes) override;

  const s::col::_array::ArrayU08& getData() const override { return data_; }

  // Whether a handle is held right now (no store call).
  bool isOpen() const { return handle_ != s::os::RegistryStore::kNoKey; }

  const char16_t* getClassName() const override { return u"s_reg_win_RegDir"; }

  // Closes the handle, selects HKEY_LOCAL_MACHINE and empties the paths and
  // the data buffer.
  void reset() override;

 private:
  using Key = s::os::RegistryStore::Key;

  bool openIfNeeded();
  std::u16string childPath(std::u16string_view name) const;
  // Reads a value of exactly `size` bytes into the data buffer.
  bool readSized(const char16_t* name, std::uint32_t size);
  bool readDword(const char16_t* name, std::uint32_t& out);
  bool readQword(const char16_t* name, std::uint64_t& out);
  bool writeValue(const char16_t* name, std::uint32_t type, const void* data, std::size_t size);
  bool writeDword(const char16_t* name, std::uint32_t value);
  bool writeQword(const char16_t* name, std::uint64_t value);
  bool writeText(const char16_t* name, std::uint32_t type, const char16_t* text);

  s::col::_array::ArrayU08 data_;
  s::os::RegistryStore* store_ = nullptr;  // the store handle_ belongs to
  Key handle_ = s::os::RegistryStore::kNoKey;
  bool layerReady_ = false;
  std::uint32_t root_ = s::os::RegRoot::kLocalMachine;
  std::u16string rootName_;
  std::u16string nativeRoot_;
  std::u16string path_;
  std::u16string displayPath_;
  std::u16string nativePath_;
};

}  // namespace s::reg::win
