#pragma once

#include <cstdint>

#include "base/IObject.h"

namespace s::col::_array {
class ArrayU08;
}
namespace s::str {
class IStr;
namespace strarray {
class StrArray;
}
}  // namespace s::str

namespace s::map {

// The settings tree: named values of several kinds in named groups. Callers
// name a group and a value; reads take a default that comes back whenever
// the group or the value is missing, or the stored value does not fit the
// kind asked for.
//
// Common rules:
// - Group and value names are zero-terminated UTF-16 texts; null is the empty
//   name. The empty group is the store's base group.
// - A store remembers the group selected last and keeps it open; selecting
//   the same group again (ignoring the case of ASCII letters, where the store
//   says so) reuses it.
// - Every getter first selects the group (openGroup) and returns the default
//   when it is missing. Every setter first selects the group for writing
//   (openGroupForWrite), then writes, then flushes when auto-flush is on;
//   deleteValue flushes the same way. Setters return false when the group
//   cannot be made or the value cannot be written.
// - No exception leaves any operation; nothing is reported to the user.
// - A store is used by one thread at a time.
class IMappedData : public virtual s::base::IObject {
 public:
  ~IMappedData() override = default;

  // Makes the changes so far lasting (for a file-backed store: writes the
  // file). True when nothing is left unsaved.
  virtual bool flush() = 0;

  // Selects the group and creates it, with any missing parents, when it does
  // not exist. True when it exists afterwards.
  virtual bool openGroupForWrite(const char16_t* group) = 0;

  // Selects the group and, when it exists, deletes it with everything below
  // it; the group is then no longer held. True when it was deleted.
  virtual bool deleteGroup(const char16_t* group) = 0;

  // Selects the group; true when it exists (the empty group always does).
  virtual bool openGroup(const char16_t* group) = 0;

  // True when the group holds a value of that name.
  virtual bool hasValue(const char16_t* group, const char16_t* name) = 0;

  virtual std::uint8_t getValue(const char16_t* group, const char16_t* name,
                                std::uint8_t defaultValue) = 0;
  virtual std::uint16_t getValue(const char16_t* group, const char16_t* name,
                                 std::uint16_t defaultValue) = 0;
  virtual std::uint32_t getValue(const char16_t* group, const char16_t* name,
                                 std::uint32_t defaultValue) = 0;
  virtual std::uint64_t getValue(const char16_t* group, const char16_t* name,
                                 std::uint64_t defaultValue) = 0;
  virtual std::int8_t getValue(const char16_t* group, const char16_t* name,
                               std::int8_t defaultValue) = 0;
  virtual std::int16_t getValue(const char16_t* group, const char16_t* name,
                                std::int16_t defaultValue) = 0;
  virtual std::int32_t getValue(const char16_t* group, const char16_t* name,
                                std::int32_t defaultValue) = 0;
  virtual std::int64_t getValue(const char16_t* group, const char16_t* name,
                                std::int64_t defaultValue) = 0;
  virtual float getValue(const char16_t* group, const char16_t* name, float defaultValue) = 0;
  virtual double getValue(const char16_t* group, const char16_t* name, double defaultValue) = 0;
  virtual bool getValue(const char16_t* group, const char16_t* name, bool defaultValue) = 0;
  // The stored text replaces the content of `out`; when there is none, `out`
  // receives `defaultValue` (null: empty) and the result is false.
  // `outExpandable` (may be null) tells whether the value was stored as an
  // expandable string; with `expand`, its %NAME% references are replaced
  // from the environment.
  virtual bool getValue(const char16_t* group, const char16_t* name, s::str::IStr& out,
                        const char16_t* defaultValue, bool* outExpandable, bool expand) = 0;
  // String lists are not kept in settings: always false, `out` untouched.
  virtual bool getValue(const char16_t* group, const char16_t* name,
                        s::str::strarray::StrArray& out) = 0;
  // The stored bytes, written into `out` (its content replaced) or, when
  // `out` is null, into a new pooled array owned by the caller. Returns the
  // array written, or null when there is no such value (`out` untouched).
  virtual s::col::_array::ArrayU08* getValue(const char16_t* group, const char16_t* name,
                                             s::col::_array::ArrayU08* out) = 0;

  // Deletes the value; false when it is missing.
  virtual bool deleteValue(const char16_t* group, const char16_t* name) = 0;

  virtual bool setValue(const char16_t* group, const char16_t* name, std::uint8_t value) = 0;
  virtual bool setValue(const char16_t* group, const char16_t* name, std::uint16_t value) = 0;
  virtual bool setValue(const char16_t* group, const char16_t* name, std::uint32_t value) = 0;
  virtual bool setValue(const char16_t* group, const char16_t* name, std::uint64_t value) = 0;
  virtual bool setValue(const char16_t* group, const char16_t* name, std::int8_t value) = 0;
  virtual bool setValue(const char16_t* group, const char16_t* name, std::int16_t value) = 0;
  virtual bool setValue(const char16_t* group, const char16_t* name, std::int32_t value) = 0;
  virtual bool setValue(const char16_t* group, const char16_t* name, std::int64_t value) = 0;
  virtual bool setValue(const char16_t* group, const char16_t* name, float value) = 0;
  virtual bool setValue(const char16_t* group, const char16_t* name, double value) = 0;
  virtual bool setValue(const char16_t* group, const char16_t* name, bool value) = 0;
  // A zero-terminated text (null: empty).
  virtual bool setValue(const char16_t* group, const char16_t* name, const char16_t* text) = 0;
  virtual bool setExpandValue(const char16_t* group, const char16_t* name,
                              const char16_t* text) = 0;
  // String lists are not kept in settings: does nothing, returns false.
  virtual bool setValue(const char16_t* group, const char16_t* name,
                        const s::str::strarray::StrArray& list) = 0;
  virtual bool setValue(const char16_t* group, const char16_t* name,
                        const s::col::_array::ArrayU08& bytes) = 0;

  // Whether every change is followed by flush(). On in a fresh store.
  virtual bool getAutoFlush() const = 0;
  virtual void setAutoFlush(bool autoFlush) = 0;
};

}  // namespace s::map
