#pragma once

#include <cstdint>

#include "base/IObject.h"
#include "col/_array/ArrayP.h"
#include "thread/IPoolable.h"
#include "thread/Pooled.h"

namespace s::col::_array {
class ArrayU08;
}
namespace s::str::strbuffer {
class StrBuffer;
}

namespace s::str::strarray {

// An ordered list of strings that owns them: the list is an ArrayP of
// StrBuffer* whose disposer is the StrBuffer pool, so every string dropped
// from the list, or left in it when the list is cleared, reset or given back,
// returns to the string pool exactly once.
//
// A string added to the list belongs to the list from then on (even when
// adding fails: it is then given back at once); a string read from the list
// stays the list's. items() gives the full ArrayP for the array operations;
// through it, removeAt/popLast/popFirst/takeRange hand strings to the caller
// (who releases them) while dropLast/dropFirst/removeRange dispose of them.
//
// Pooled (cap 1000): StrArray::create() / release(). One thread at a time.
class StrArray : public virtual s::base::IObject, public virtual s::thread::IPoolable {
  VONQ_POOLED(StrArray, s::thread::kPoolCap)

 public:
  using StrBuffer = s::str::strbuffer::StrBuffer;

  StrArray();
  ~StrArray() override;
  StrArray(const StrArray&) = delete;
  StrArray& operator=(const StrArray&) = delete;

  // The underlying pointer array (elements are StrBuffer*).
  s::col::_array::ArrayP& items() { return items_; }
  const s::col::_array::ArrayP& items() const { return items_; }

  std::uint32_t length() const { return items_.length(); }
  // String i, still owned by the list; null when i is not below the length.
  StrBuffer* get(std::uint32_t i) const { return items_.getAs<StrBuffer>(i); }

  // Takes ownership of `str` and appends it. False when storage could not
  // be had (the string has then been given back to its pool). A null `str`
  // is refused (false).
  bool add(StrBuffer* str);
  // Appends a new string holding `n` units of `text` (-1: to its zero).
  bool addText(const char16_t* text, std::int32_t n = -1);
  // Removes string i and hands it to the caller (who releases it); null when
  // i is not below the length.
  StrBuffer* removeAt(std::uint32_t i);
  // Gives every string back to the string pool; the storage is kept.
  void clear();
  // A new list (from the pool) holding a copy of every string, in order;
  // the caller releases it.
  StrArray* copy() const;

  // Index of the first string equal to `text` (units, -1: to its zero), or
  // -1. `ignoreCase` folds ASCII letters.
  std::int64_t indexOf(const char16_t* text, std::int32_t n = -1, bool ignoreCase = false) const;

  // Stable sort with StrBuffer::compareStringsIgnoreCase. False when the
  // scratch buffer could not be had (order unchanged).
  bool sort(bool descending = false);

  // Replaces the content with the strings of a double-zero-terminated
  // UTF-16LE list (the registry's multi-string form) of `byteCount` bytes.
  // Reads nothing beyond the given bytes: without two zero units in a row
  // the list ends up empty. The two units 0, 0 give one empty string.
  void fromMultiString(const void* bytes, std::uint32_t byteCount);
  void fromMultiString(const s::col::_array::ArrayU08& bytes);

  // The list in that form: each string with its zero, then one more zero
  // unit (an empty list: four zero bytes). Written into `bytes` (its content
  // replaced) or, when null, into a new pooled ArrayU08 owned by the caller.
  // Returns the array written; null when memory is exhausted or the list
  // does not fit in 4 GiB (a given array is then left empty).
  s::col::_array::ArrayU08* toMultiString(s::col::_array::ArrayU08* bytes = nullptr) const;

  const char16_t* getClassName() const override { return u"s_str_strarray_StrArray"; }

  // Gives every string back to the string pool and frees the item storage.
  void reset() override;

 private:
  s::col::_array::ArrayP items_;
};

}  // namespace s::str::strarray
