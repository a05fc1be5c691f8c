#pragma once

#include <cstdint>

#include "base/IObject.h"

namespace s::col::_array {
class ArrayU08;
}
namespace s::str::strarray {
class StrArray;
}

namespace s::str {

namespace strbuffer {
class StrBuffer;
class Iterator;
}  // namespace strbuffer

// The framework's string: a growable run of UTF-16 code units.
//
// Conventions for every operation below:
// - Lengths and indexes count UTF-16 code units. A text length argument `n`
//   of -1 means "the text runs to its terminating zero"; any other negative
//   length means an empty text. A null text pointer is an empty text.
// - `kFromEnd` (0xFFFFFF) as the `before` index of a backward search means
//   "from the end of the string", whatever its length.
// - Searches return true and store the index in `out`; when nothing is found
//   they return false and leave `out` untouched.
// - Units outside [0, length) of this string are never read or written:
//   indexes and ranges are clamped to the string; accessors given an index
//   beyond it return 0 or null. Foreign texts are read exactly as far as
//   their given length (or their zero when the length is -1).
// - The text is not kept zero-terminated: only terminate() and getText()
//   write the zero after the last unit.
// - Case-insensitive operations fold the ASCII letters 'A'-'Z' only, except
//   those documented as folding with CaseFold (Unicode folding, the same under
//   every locale) and toLower/toUpper, which follow the C library's
//   wide-character case rules (towlower/towupper in the current locale).
// - "New" results are pooled strings (or lists) owned by the caller, who
//   gives them back with release(). They are never null.
// - No exception leaves any operation; out of memory leaves the string as it
//   was and the operation does nothing further.
// - A string is used by one thread at a time.
class IStr : public virtual s::base::IObject {
 public:
  static constexpr std::uint32_t kFromEnd = 0xFFFFFF;

  ~IStr() override = default;

  // Writes the zero after the last unit when the length is non-zero (the
  // storage always has room for it). Changes neither length nor content.
  virtual void terminate() = 0;
  virtual void terminate() const = 0;

  virtual std::uint32_t length() const = 0;
  // Sets the length without writing anything; clamped to capacity(). The
  // units between the old and the new length are whatever the storage holds.
  virtual void setLength(std::uint32_t n) = 0;
  // Units available without growing (the terminator slot not counted).
  virtual std::uint32_t capacity() const = 0;

  // Makes the capacity exactly `n` when `n` is larger than the capacity.
  // Returns false when the storage could not be had (nothing changes).
  virtual bool reserve(std::uint32_t n) = 0;
  // One growth step: below 100 -> 100; x3 below 10,000,000; x2 below
  // 50,000,000; x1.5 below 100,000,000; x1.2 from there (truncated).
  virtual bool grow() = 0;
  // Repeats the growth step until the capacity is at least `n`.
  virtual bool ensureCapacity(std::uint32_t n) = 0;

  // Length 0 and stream position 0; the storage is kept.
  virtual void clear() = 0;
  // Frees the storage: capacity, length and stream position become 0.
  virtual void freeStorage() = 0;

  // The storage (capacity + 1 units), or null before any storage exists.
  // Not zero-terminated in general.
  virtual char16_t* getBuffer() = 0;
  // The text, zero-terminated; a shared read-only empty text when the
  // length is 0. Never null. Valid until the string changes.
  virtual const char16_t* getText() const = 0;

  // Reverses the order of the units.
  virtual void reverse() = 0;

  // C-library case mapping of every unit (towlower/towupper).
  virtual void toLower() = 0;
  virtual void toUpper() = 0;
  // toLower(), then the first unit upper-cased when it is 'a'-'z'.
  virtual void capitalize() = 0;

  // Unit i (ASCII-folded for the Lower/Upper forms); 0 when i >= length().
  virtual char16_t charAt(std::uint32_t i) const = 0;
  virtual char16_t charAtLower(std::uint32_t i) const = 0;
  virtual char16_t charAtUpper(std::uint32_t i) const = 0;

  // Forward searches for a unit (or any of `count` units of `chars`) at an
  // index >= `from`.
  virtual bool indexOf(char16_t ch, std::uint32_t& out, std::uint32_t from = 0) const = 0;
  virtual bool indexOfIgnoreCase(char16_t ch, std::uint32_t& out, std::uint32_t from = 0) const = 0;
  virtual bool indexOfAny(const char16_t* chars, std::int32_t count, std::uint32_t& out,
                          std::uint32_t from = 0) const = 0;
  virtual bool indexOfAnyIgnoreCase(const char16_t* chars, std::int32_t count, std::uint32_t& out,
                                    std::uint32_t from = 0) const = 0;

  // Backward searches from index min(length, before) - 1 down to 0.
  virtual bool lastIndexOf(char16_t ch, std::uint32_t& out,
                           std::uint32_t before = kFromEnd) const = 0;
  virtual bool lastIndexOfIgnoreCase(char16_t ch, std::uint32_t& out,
                                     std::uint32_t before = kFromEnd) const = 0;
  virtual bool lastIndexOfAny(const char16_t* chars, std::int32_t count, std::uint32_t& out,
                              std::uint32_t before = kFromEnd) const = 0;
  virtual bool lastIndexOfAnyIgnoreCase(const char16_t* chars, std::int32_t count,
                                        std::uint32_t& out,
                                        std::uint32_t before = kFromEnd) const = 0;

  // Searches for a zero-terminated text. indexOfText finds the first
  // occurrence starting at or after `from`; lastIndexOfText the last one
  // lying wholly inside the first min(length, before) units. An empty text
  // is found at `from` (forward) or at min(length, before) (backward).
  virtual bool indexOfText(const char16_t* text, std::uint32_t& out,
                           std::uint32_t from = 0) const = 0;
  virtual bool indexOfTextIgnoreCase(const char16_t* text, std::uint32_t& out,
                                     std::uint32_t from = 0) const = 0;
  virtual bool lastIndexOfText(const char16_t* text, std::uint32_t& out,
                               std::uint32_t before = kFromEnd) const = 0;
  virtual bool lastIndexOfTextIgnoreCase(const char16_t* text, std::uint32_t& out,
                                         std::uint32_t before = kFromEnd) const = 0;

  // True when the `count` units at `index` equal the units of `text` from
  // `textIndex`. With count -1 the compared text runs to its zero and the
  // region must also end exactly at the end of this string. False when the
  // region does not fit inside this string.
  virtual bool regionEquals(std::uint32_t index, const char16_t* text, std::uint32_t textIndex,
                            std::int32_t count) const = 0;
  virtual bool regionEqualsIgnoreCase(std::uint32_t index, const char16_t* text,
                                      std::uint32_t textIndex, std::int32_t count) const = 0;

  // Whether the string ends / starts with the first `n` units of `text`.
  virtual bool endsWith(const char16_t* text, std::int32_t n = -1) const = 0;
  virtual bool endsWithIgnoreCase(const char16_t* text, std::int32_t n = -1) const = 0;
  virtual bool startsWith(const char16_t* text, std::int32_t n = -1) const = 0;
  virtual bool startsWithIgnoreCase(const char16_t* text, std::int32_t n = -1) const = 0;

  // Drop trailing units found in the set (whitespace: space, line feed,
  // U+3000, tab, carriage return), never going below `minLength`.
  virtual void trimRightWhitespace() = 0;
  virtual void trimRightWhitespace(std::uint32_t minLength) = 0;
  virtual void trimRight(const char16_t* chars, std::int32_t n) = 0;
  virtual void trimRight(const char16_t* chars, std::uint32_t minLength, std::int32_t n) = 0;
  // Drop leading units found in the set.
  virtual void trimLeftWhitespace() = 0;
  virtual void trimLeft(const char16_t* chars, std::int32_t n) = 0;

  // Compares up to `count` units of this string from `index` (the string
  // ends at its length) with `text` from `textIndex` (which ends at its
  // zero), in the manner of wcsncmp; count -1 compares to the ends.
  // Returns -1, 0, 1. An index at or beyond the end compares as an empty
  // text. The IgnoreCase form folds with CaseFold.
  virtual int compareRegion(std::uint32_t index, const char16_t* text, std::uint32_t textIndex,
                            std::int32_t count) const = 0;
  virtual int compareRegionIgnoreCase(std::uint32_t index, const char16_t* text,
                                      std::uint32_t textIndex, std::int32_t count) const = 0;

  virtual void prepend(const char16_t* text, std::int32_t n = -1) = 0;

  // Appends `n` bytes, each widened to one unit (Latin-1).
  virtual void appendAscii(const char* bytes, std::int32_t n) = 0;
  virtual void append(const char16_t* text, std::int32_t n) = 0;
  virtual void appendChar(char16_t ch) = 0;
  // Appends one byte widened to one unit.
  virtual void appendChar(char ch) = 0;

  // Appends each of `count` values as lower-case hexadecimal digits of the
  // value's own width (16, 8, 4, 2 digits; negative values in two's
  // complement of that width). Floats: the 8 digits of their raw bits;
  // doubles: 8 digits of the low, then 8 of the high 32 raw bits.
  virtual void appendHex(const std::uint64_t* values, std::uint32_t count) = 0;
  virtual void appendHex(const std::uint32_t* values, std::uint32_t count) = 0;
  virtual void appendHex(const std::uint16_t* values, std::uint32_t count) = 0;
  virtual void appendHex(const std::uint8_t* values, std::uint32_t count) = 0;
  virtual void appendHex(const std::int64_t* values, std::uint32_t count) = 0;
  virtual void appendHex(const std::int32_t* values, std::uint32_t count) = 0;
  virtual void appendHex(const std::int16_t* values, std::uint32_t count) = 0;
  virtual void appendHex(const std::int8_t* values, std::uint32_t count) = 0;
  virtual void appendHex(const float* values, std::uint32_t count) = 0;
  virtual void appendHex(const double* values, std::uint32_t count) = 0;

  // Replaces every non-overlapping occurrence of the zero-terminated `find`,
  // left to right, resuming after each replacement. An empty `find` does
  // nothing.
  virtual void replaceAll(const char16_t* find, const char16_t* replacement) = 0;
  virtual void replaceAllIgnoreCase(const char16_t* find, const char16_t* replacement) = 0;

  // New copy of this string.
  virtual strbuffer::StrBuffer* clone() const = 0;
  // Keeps units [from, min(length, to)); empty when from is beyond that.
  virtual void keepRange(std::uint32_t from, std::uint32_t to) = 0;
  // New string of units [from, min(length, to)).
  virtual strbuffer::StrBuffer* substring(std::uint32_t from, std::uint32_t to) const = 0;

  // New string holding the text before the last match found by the
  // matching backward search; a new empty string when there is none.
  virtual strbuffer::StrBuffer* beforeLast(char16_t ch, std::uint32_t before = kFromEnd) const = 0;
  virtual strbuffer::StrBuffer* beforeLastIgnoreCase(char16_t ch,
                                                     std::uint32_t before = kFromEnd) const = 0;
  virtual strbuffer::StrBuffer* beforeLastAny(const char16_t* chars, std::int32_t count,
                                              std::uint32_t before = kFromEnd) const = 0;
  virtual strbuffer::StrBuffer* beforeLastAnyIgnoreCase(const char16_t* chars, std::int32_t count,
                                                        std::uint32_t before = kFromEnd) const = 0;
  virtual strbuffer::StrBuffer* beforeLastText(const char16_t* text,
                                               std::uint32_t before = kFromEnd) const = 0;
  virtual strbuffer::StrBuffer* beforeLastTextIgnoreCase(const char16_t* text,
                                                         std::uint32_t before = kFromEnd) const = 0;

  // Sets `out` to the MD5 digest of the text's bytes (UTF-16LE) in the
  // given form (s::system::MD5::Form: lower-case hex, upper-case hex, or the
  // 16 raw bytes as 8 little-endian units).
  virtual void digest(IStr& out, int form) const = 0;

  // UTF-8. `append` keeps what `bytes` holds; otherwise it is emptied
  // first. toUtf8WithZero appends a zero byte and counts it in the array's
  // length; toUtf8 writes a zero after the data without counting it.
  // Invalid UTF-16 (lone surrogates) becomes U+FFFD.
  virtual void toUtf8WithZero(s::col::_array::ArrayU08& bytes, bool append) const = 0;
  virtual void toUtf8(s::col::_array::ArrayU08& bytes, bool append) const = 0;
  // Decodes `byteCount` bytes (-1: to the first zero byte); invalid
  // sequences become U+FFFD. `append` keeps this string's content.
  virtual void fromUtf8(const char* bytes, bool append, std::int32_t byteCount = -1) = 0;

  // Any code page by its number (s::os::CodePage constants): UTF-16LE
  // copies the units, UTF-16BE swaps the bytes of each unit, the others go
  // through the platform's conversion (unmappable units become '?', invalid
  // bytes U+FFFD). Zero and append rules as for UTF-8; for UTF-16 code
  // pages the zero is two bytes. decode with byteCount -1 reads to the first
  // zero unit of the code page (a zero byte, or two for UTF-16).
  virtual void encodeWithZero(std::uint32_t codePage, s::col::_array::ArrayU08& bytes,
                              bool append) const = 0;
  virtual void encode(std::uint32_t codePage, s::col::_array::ArrayU08& bytes,
                      bool append) const = 0;
  virtual void decode(std::uint32_t codePage, const char* bytes, bool append,
                      std::int32_t byteCount = -1) = 0;

  // The same with the system's OEM code page.
  virtual void toOemWithZero(s::col::_array::ArrayU08& bytes, bool append) const = 0;
  virtual void toOem(s::col::_array::ArrayU08& bytes, bool append) const = 0;
  virtual void fromOem(const char* bytes, bool append, std::int32_t byteCount = -1) = 0;

  // Decimal parsing of the text, C-library style: optional leading
  // whitespace and sign, digits up to the first non-digit, 0 when there are
  // none. The 8/16-bit kinds and parseS32 saturate at the signed 32-bit
  // range, then narrow (cast) to their type; parseU32 and the 64-bit kinds
  // saturate at the signed 64-bit range, then narrow. Both floating kinds
  // read with wcstod and round to single precision.
  virtual std::uint8_t parseU08() const = 0;
  virtual std::uint16_t parseU16() const = 0;
  virtual std::uint32_t parseU32() const = 0;
  virtual std::uint64_t parseU64() const = 0;
  virtual std::int8_t parseS08() const = 0;
  virtual std::int16_t parseS16() const = 0;
  virtual std::int32_t parseS32() const = 0;
  virtual std::int64_t parseS64() const = 0;
  virtual float parseFloat() const = 0;
  virtual double parseDouble() const = 0;

  // True for a non-empty text of hexadecimal digits.
  virtual bool isHex() const = 0;
  // Value 0-15 of the digit at i; 0 for any other unit or an index beyond
  // the end.
  virtual std::uint32_t hexDigitAt(std::uint32_t i) const = 0;
  // value = value * 16 + digit over the whole text, in 32 bits.
  virtual std::uint32_t parseHex() const = 0;
  // One byte per pair of units, high digit first (length / 2 bytes; a unit
  // that is not a digit counts as 0). `append` keeps what `bytes` holds.
  virtual void hexToBytes(s::col::_array::ArrayU08& bytes, bool append) const = 0;
  // True for a non-empty text of decimal digits with at most one leading
  // '-' when the length is above 1.
  virtual bool isInteger() const = 0;

  // New list of the parts between occurrences of `ch`; empty parts are left
  // out.
  virtual s::str::strarray::StrArray* split(char16_t ch) const = 0;
  // New list of the words of the text, each once (ignoring case as
  // CaseFold folds it); with
  // `skipCommon` the words "the", "of" and "and" are left out.
  virtual s::str::strarray::StrArray* splitWords(bool skipCommon) const = 0;

  // Pointer to unit i (i may equal the length: the terminator slot); null
  // when i is beyond the capacity or there is no storage.
  virtual char16_t* charPtr(std::uint32_t i) = 0;

  // Appends a zero-terminated byte text, each byte widened to one unit.
  virtual void appendAscii(const char* bytes) = 0;

  // Decimal text of the number ("%u", "%d", 64-bit alike; "%f" for the
  // floating kinds, six decimals).
  virtual void appendNumber(std::uint64_t v) = 0;
  virtual void appendNumber(std::uint32_t v) = 0;
  virtual void appendNumber(std::uint16_t v) = 0;
  virtual void appendNumber(std::uint8_t v) = 0;
  virtual void appendNumber(std::int64_t v) = 0;
  virtual void appendNumber(std::int32_t v) = 0;
  virtual void appendNumber(std::int16_t v) = 0;
  virtual void appendNumber(std::int8_t v) = 0;
  virtual void appendNumber(float v) = 0;
  virtual void appendNumber(double v) = 0;

  // Appends another string (itself included) or a zero-terminated text.
  virtual void append(const IStr& other) = 0;
  virtual void append(const char16_t* text) = 0;

  // Replace the content with the decimal text of the number.
  virtual void setNumber(std::uint64_t v) = 0;
  virtual void setNumber(std::uint32_t v) = 0;
  virtual void setNumber(std::uint16_t v) = 0;
  virtual void setNumber(std::uint8_t v) = 0;
  virtual void setNumber(std::int64_t v) = 0;
  virtual void setNumber(std::int32_t v) = 0;
  virtual void setNumber(std::int16_t v) = 0;
  virtual void setNumber(std::int8_t v) = 0;
  virtual void setNumber(float v) = 0;
  virtual void setNumber(double v) = 0;

  // Replace the content with a copy of another string or a zero-terminated
  // text (setting a string to itself keeps it).
  virtual void set(const IStr& other) = 0;
  virtual void set(const char16_t* text) = 0;

  // New iterators over the units (owned by the caller): before the first
  // unit, after the last, so that next() returns unit `i`, so that
  // previous() returns the unit `n` places from the end (n = 1: the last).
  virtual strbuffer::Iterator* iterator() const = 0;
  virtual strbuffer::Iterator* iteratorAtEnd() const = 0;
  virtual strbuffer::Iterator* iteratorAt(std::uint32_t i) const = 0;
  virtual strbuffer::Iterator* iteratorFromEnd(std::uint32_t n) const = 0;

  // Read-only pointer to unit i; null when i is beyond the capacity or there
  // is no storage.
  virtual const char16_t* charPtr(std::uint32_t i) const = 0;
};

}  // namespace s::str
