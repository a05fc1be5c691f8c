#pragma once

#include <cstdint>

#include "base/IObject.h"
#include "os/RegistryStore.h"
#include "thread/IPoolable.h"

namespace s::col::_array {
class ArrayP;
class ArrayU08;
}  // namespace s::col::_array
namespace s::str {
class IStr;
namespace strarray {
class StrArray;
}
}  // namespace s::str

namespace s::reg {

// One registry key: a predefined root, a path below it (key names joined with
// backslashes, no trailing backslash) and a handle on the key, opened on
// demand. Reads and writes typed values, lists subkeys and value names,
// creates keys with their missing parents and deletes key trees.
//
// Common rules:
// - Key and value names match ignoring the case of ASCII letters. A null
//   value name is the empty name: the key's default value.
// - Operations that need the key open it when no handle is held; a missing
//   key leaves the handle empty and the operation fails. Setters create the
//   key (with its missing parents) first.
// - Value encodings: unsigned and signed 8/16/32-bit numbers and booleans
//   (0 or 1) as REG_DWORD, zero- or sign-extended to 4 bytes; 64-bit numbers
//   and both float kinds as REG_BINARY of their 8 or 4 bytes (little-endian);
//   strings as REG_SZ or REG_EXPAND_SZ, UTF-16 with the terminating zero;
//   string lists as REG_MULTI_SZ; bytes as REG_BINARY.
// - Numeric and boolean getters check the data size only (4 bytes for the
//   DWORD kinds and float, 8 for the 64-bit kinds and double; the DWORD kinds
//   take its low bits) and return the caller's default when the value is
//   missing or its size differs.
// - No exception leaves any operation; failures are false, 0, null or the
//   caller's default. Nothing is ever reported to the user.
// - A RegDir is used by one thread at a time; different RegDirs may be used
//   on different threads at once.
// - "New" results are pooled objects owned by the caller (release()).
class IRegDir : public virtual s::base::IObject, public virtual s::thread::IPoolable {
 public:
  // Accepted by queryValue as "any type".
  static constexpr std::uint32_t kAnyType = 0xFFFFFFFFu;

  ~IRegDir() override = default;

  // The root's name, a backslash and the path ("HKEY_CURRENT_USER\Software");
  // the root's name alone for an empty path. Empty before the first
  // openPath. Valid until the path changes.
  virtual const char16_t* getDisplayPath() const = 0;
  // The same with the root's kernel-namespace prefix
  // ("\Registry\User\S-1-22-1-1000\Software").
  virtual const char16_t* getNativePath() const = 0;

  // New key on the same root with the path up to the last backslash (opened
  // when it exists); null when the path has no backslash.
  virtual IRegDir* getParent() const = 0;

  // New pointer array of new keys, one per subkey in name order; the array's
  // disposer gives them back to their pool. Empty when the key is missing.
  virtual s::col::_array::ArrayP* listSubkeys() = 0;
  // The same, only subkeys whose name starts with `prefix` (ignoring the case
  // of ASCII letters; null: all).
  virtual s::col::_array::ArrayP* listSubkeysWithPrefix(const char16_t* prefix) = 0;

  // The predefined root (s::os::RegRoot constants).
  virtual std::uint32_t getRoot() const = 0;
  // Selects the root, its name and its native prefix; with an unknown
  // constant the name and prefix are empty and no key can be opened. The
  // paths are rebuilt by the next openPath.
  virtual void setRoot(std::uint32_t root) = 0;

  // The path below the root.
  virtual const char16_t* getPath() const = 0;
  // Stores `path` (trailing backslashes dropped; null: empty), builds the
  // display and native paths, closes any handle and opens the key. True
  // when the key exists (a handle is held).
  virtual bool openPath(const char16_t* path) = 0;

  // The last component of the path (all of it without a backslash). Valid
  // until the path changes.
  virtual const char16_t* getName() const = 0;

  // `text` starting with a root name ("HKEY_LOCAL_MACHINE", ... ignoring
  // case) and a backslash opens the rest as the path under that root; any
  // other text opens "InvalidKey" under HKEY_CURRENT_USER. True when the key
  // exists.
  virtual bool setFromText(const char16_t* text) = 0;

  // setRoot, then openPath.
  virtual bool openRootPath(std::uint32_t root, const char16_t* path) = 0;

  // Ends the handle, if any.
  virtual void close() = 0;

  // Opens the key afresh; true when it exists.
  virtual bool exists() = 0;

  // With no handle held: creates the key, creating its missing parents
  // first when needed. True when a handle is held afterwards. (Named
  // createKey because create() is the pool's factory of every pooled class.)
  virtual bool createKey() = 0;

  // Deletes every subkey tree; with `withSelf` also the key itself with its
  // values, and forgets the handle. True when all of it went; false when
  // the key is missing.
  virtual bool remove(bool withSelf) = 0;

  // Gives the key the last component `newName` (no backslash); the handle is
  // forgotten and the path kept. False when a sibling has that name or the
  // key is missing.
  virtual bool rename(const char16_t* newName) = 0;

  // Makes the key's changes durable. False when the key is missing.
  virtual bool flushKey() = 0;

  // True when the value exists and, unless `expectedType` is kAnyType, has
  // that type; its data then goes to the data buffer (getData()) and its type
  // and size to the out parameters (each may be null).
  virtual bool queryValue(const char16_t* name, std::uint32_t* outType, std::uint32_t* outSize,
                          std::uint32_t expectedType) = 0;

  // New list of the value names (empty when the key is missing).
  virtual s::str::strarray::StrArray* listValueNames() = 0;

  // The summed data sizes of the values (with `withValues`; else 0) and, with
  // `recurse`, of all subkeys' values. Adds each value met to
  // `outValueCount` and each subkey met to `outKeyCount` (each may be null).
  virtual std::uint64_t totalSize(bool recurse, std::uint32_t* outValueCount,
                                  std::uint32_t* outKeyCount, bool withValues) = 0;

  // The value's data size; 0 when it is missing.
  virtual std::uint32_t getValueSize(const char16_t* name) = 0;

  // Typed getters (see the size rules above).
  virtual std::uint8_t getValue(const char16_t* name, std::uint8_t defaultValue) = 0;
  virtual std::uint16_t getValue(const char16_t* name, std::uint16_t defaultValue) = 0;
  virtual std::uint32_t getValue(const char16_t* name, std::uint32_t defaultValue) = 0;
  virtual std::uint64_t getValue(const char16_t* name, std::uint64_t defaultValue) = 0;
  virtual std::int8_t getValue(const char16_t* name, std::int8_t defaultValue) = 0;
  virtual std::int16_t getValue(const char16_t* name, std::int16_t defaultValue) = 0;
  virtual std::int32_t getValue(const char16_t* name, std::int32_t defaultValue) = 0;
  virtual std::int64_t getValue(const char16_t* name, std::int64_t defaultValue) = 0;
  virtual float getValue(const char16_t* name, float defaultValue) = 0;
  virtual double getValue(const char16_t* name, double defaultValue) = 0;
  // Any non-zero DWORD is true.
  virtual bool getValue(const char16_t* name, bool defaultValue) = 0;
  // A REG_SZ or REG_EXPAND_SZ value (up to its first zero unit) replaces the
  // content of `out`; `outExpandable` (may be null) tells whether it was
  // REG_EXPAND_SZ, and with `expand` its %NAME% references are replaced from
  // the environment. When the value is missing or of another type, `out`
  // receives `defaultValue` (null: empty) and the result is false.
  virtual bool getValue(const char16_t* name, s::str::IStr& out, const char16_t* defaultValue,
                        bool* outExpandable, bool expand) = 0;
  // A REG_MULTI_SZ value of more than 3 bytes replaces the content of `out`
  // (a list holding one empty string reads as empty). False, `out` left as
  // it is, otherwise.
  virtual bool getValue(const char16_t* name, s::str::strarray::StrArray& out) = 0;
  // The data of a value of any type replaces the content of `out`. False,
  // `out` left as it is, when the value is missing.
  virtual bool getValue(const char16_t* name, s::col::_array::ArrayU08& out) = 0;

  // Deletes the value. False when it is missing.
  virtual bool deleteValue(const char16_t* name) = 0;

  // Typed setters (encodings above). False when the key cannot be created or
  // the value cannot be written.
  virtual bool setValue(const char16_t* name, std::uint8_t value) = 0;
  virtual bool setValue(const char16_t* name, std::uint16_t value) = 0;
  virtual bool setValue(const char16_t* name, std::uint32_t value) = 0;
  virtual bool setValue(const char16_t* name, std::uint64_t value) = 0;
  virtual bool setValue(const char16_t* name, std::int8_t value) = 0;
  virtual bool setValue(const char16_t* name, std::int16_t value) = 0;
  virtual bool setValue(const char16_t* name, std::int32_t value) = 0;
  virtual bool setValue(const char16_t* name, std::int64_t value) = 0;
  virtual bool setValue(const char16_t* name, float value) = 0;
  virtual bool setValue(const char16_t* name, double value) = 0;
  virtual bool setValue(const char16_t* name, bool value) = 0;
  // A zero-terminated text (null: empty) as REG_SZ / REG_EXPAND_SZ.
  virtual bool setValue(const char16_t* name, const char16_t* text) = 0;
  virtual bool setExpandValue(const char16_t* name, const char16_t* text) = 0;
  virtual bool setValue(const char16_t* name, const s::str::strarray::StrArray& list) = 0;
  virtual bool setValue(const char16_t* name, const s::col::_array::ArrayU08& bytes) = 0;

  // The data buffer: the data of the last value queryValue (or a getter)
  // read. Valid until the next read.
  virtual const s::col::_array::ArrayU08& getData() const = 0;
};

}  // namespace s::reg
