#pragma once

#include <cstdarg>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "io/IInputStream.h"
#include "io/IOutputStream.h"
#include "str/IStr.h"
#include "thread/Pooled.h"

namespace s::str::strbuffer {

// The framework's string (see IStr for the conventions every operation
// keeps). Pooled: take one with StrBuffer::create() (or newInstance()), give
// it back with release(); never new/delete it. A pooled string holds no
// storage.
//
// Storage is a C-heap run of capacity() + 1 units, so the terminator always
// fits; it is written only by terminate()/getText(). Growth follows the
// framework's rule (100, then x3, x2, x1.5, x1.2 by size), capped at
// kMaxCapacity units.
//
// The two stream faces read and write the text's bytes (UTF-16LE, two per
// unit) at one shared byte position, which every move clamps to
// [0, 2 * length()]. Writing raises the length to cover the bytes written.
//
// One thread at a time per string; the pool itself is safe from any thread.
class StrBuffer final : public IStr, public s::io::IInputStream, public s::io::IOutputStream {
  // pool() (cap 1000), create() (an empty string owned by the caller),
  // newInstance() and release().
  VONQ_POOLED(StrBuffer, s::thread::kPoolCap)

 public:
  static constexpr std::uint32_t kMaxCapacity = 0x7FFFFFF0u;

  // Use create(); public only for the pool.
  StrBuffer() = default;
  ~StrBuffer() override;
  StrBuffer(const StrBuffer&) = delete;
  StrBuffer& operator=(const StrBuffer&) = delete;

  // --- Factories: each returns a new pooled string owned by the caller.
  // Copy of a zero-terminated text (null: empty).
  static StrBuffer* fromText(const char16_t* text);
  // Copy of a zero-terminated byte text, each byte widened to one unit.
  static StrBuffer* fromAscii(const char* text);
  // a then b.
  static StrBuffer* concat(const IStr& a, const IStr& b);
  // folder, a backslash, name.
  static StrBuffer* joinPath(const IStr& folder, const IStr& name);
  // folder, a backslash, name, ".lnk".
  static StrBuffer* shortcutPath(const IStr& folder, const IStr& name);

  // Sort order of string lists: the units folded by CaseFold (the same under
  // every locale) compared over the shorter length, then the shorter first.
  // -1, 0, 1.
  // Null sorts before any string. Any thread.
  static int compareStringsIgnoreCase(const StrBuffer* a, const StrBuffer* b);

  // --- printf-style formatting (not virtual). Conversions: %d %i %u %x %X
  // %o %c (a char16_t) %s (a zero-terminated char16_t text; null prints
  // "(null)") %hs (a zero-terminated byte text) %f %F %e %E %g %G %p %%,
  // with flags, width, precision (also '*') and the size prefixes hh h l ll
  // I64 z j t. Unknown conversions are copied as they stand; %n consumes
  // its argument and writes nothing; widths and precisions are capped at
  // 2^20. The arguments must match the format as for printf.
  void appendFormat(const char16_t* format, ...);
  void appendFormatV(const char16_t* format, std::va_list args);
  // Replaces the content with the formatted text.
  void format(const char16_t* format, ...);

  // The used units as a view (no terminator needed). Valid until the string
  // changes.
  std::u16string_view view() const { return {text_ != nullptr ? text_ : u"", length_}; }

  // --- IObject
  // Byte order of the UTF-16LE text, then the shorter first.
  int compareTo(const s::base::IComparable* other,
                const s::base::IComparator* comparator = nullptr) const override;
  // compareStringsIgnoreCase: 0 exactly when equalsIgnoreCase holds.
  int compareToIgnoreCase(const s::base::IComparable* other,
                          const s::base::IComparator* comparator = nullptr) const override;
  bool equals(const s::base::IComparable* other,
              const s::base::IComparator* comparator = nullptr) const override;
  // Same length and the same units once folded by CaseFold.
  bool equalsIgnoreCase(const s::base::IComparable* other,
                        const s::base::IComparator* comparator = nullptr) const override;
  // h = rotl31(h) ^ unit: h shifted left by one with bit 0 set to the old
  // bit 30. The IgnoreCase form folds each unit by CaseFold first, as
  // equalsIgnoreCase does, so equal strings hash alike under every locale
  // (a process may set its locale at any time; a table built before must
  // still find its keys).
  std::uint32_t hashCode() const override;
  std::uint32_t hashCodeIgnoreCase() const override;
  const char16_t* getClassName() const override { return u"s_str_strbuffer_StrBuffer"; }

  // --- IPoolable (release() comes with the pool; one answer for every face)
  // Frees the storage: capacity, length and stream position 0.
  void reset() override;

  // --- IStr
  void terminate() override;
  void terminate() const override;
  std::uint32_t length() const override { return length_; }
  void setLength(std::uint32_t n) override;
  std::uint32_t capacity() const override { return capacity_; }
  bool reserve(std::uint32_t n) override;
  bool grow() override;
  bool ensureCapacity(std::uint32_t n) override;
  void clear() override;
  void freeStorage() override;
  char16_t* getBuffer() override { return text_; }
  const char16_t* getText() const override;
  void reverse() override;
  void toLower() override;
  void toUpper() override;
  void capitalize() override;
  char16_t charAt(std::uint32_t i) const override;
  char16_t charAtLower(std::uint32_t i) const override;
  char16_t charAtUpper(std::uint32_t i) const override;
  bool indexOf(char16_t ch, std::uint32_t& out, std::uint32_t from = 0) const override;
  bool indexOfIgnoreCase(char16_t ch, std::uint32_t& out, std::uint32_t from = 0) const override;
  bool indexOfAny(const char16_t* chars, std::int32_t count, std::uint32_t& out,
                  std::uint32_t from = 0) const override;
  bool indexOfAnyIgnoreCase(const char16_t* chars, std::int32_t count, std::uint32_t& out,
                            std::uint32_t from = 0) const override;
  bool lastIndexOf(char16_t ch, std::uint32_t& out, std::uint32_t before = kFromEnd) const override;
  bool lastIndexOfIgnoreCase(char16_t ch, std::uint32_t& out,
                             std::uint32_t before = kFromEnd) const override;
  bool lastIndexOfAny(const char16_t* chars, std::int32_t count, std::uint32_t& out,
                      std::uint32_t before = kFromEnd) const override;
  bool lastIndexOfAnyIgnoreCase(const char16_t* chars, std::int32_t count, std::uint32_t& out,
                                std::uint32_t before = kFromEnd) const override;
  bool indexOfText(const char16_t* text, std::uint32_t& out, std::uint32_t from = 0) const override;
  bool indexOfTextIgnoreCase(const char16_t* text, std::uint32_t& out,
                             std::uint32_t from = 0) const override;
  bool lastIndexOfText(const char16_t* text, std::uint32_t& out,
                       std::uint32_t before = kFromEnd) const override;
  bool lastIndexOfTextIgnoreCase(const char16_t* text, std::uint32_t& out,
                                 std::uint32_t before = kFromEnd) const override;
  bool regionEquals(std::uint32_t index, const char16_t* text, std::uint32_t textIndex,
                    std::int32_t count) const override;
  bool regionEqualsIgnoreCase(std::uint32_t index, const char16_t* text, std::uint32_t textIndex,
                              std::int32_t count) const override;
  bool endsWith(const char16_t* text, std::int32_t n = -1) const override;
  bool endsWithIgnoreCase(const char16_t* text, std::int32_t n = -1) const override;
  bool startsWith(const char16_t* text, std::int32_t n = -1) const override;
  bool startsWithIgnoreCase(const char16_t* text, std::int32_t n = -1) const override;
  void trimRightWhitespace() override;
  void trimRightWhitespace(std::uint32_t minLength) override;
  void trimRight(const char16_t* chars, std::int32_t n) override;
  void trimRight(const char16_t* chars, std::uint32_t minLength, std::int32_t n) override;
  void trimLeftWhitespace() override;
  void trimLeft(const char16_t* chars, std::int32_t n) override;
  int compareRegion(std::uint32_t index, const char16_t* text, std::uint32_t textIndex,
                    std::int32_t count) const override;
  int compareRegionIgnoreCase(std::uint32_t index, const char16_t* text, std::uint32_t textIndex,
                              std::int32_t count) const override;
  void prepend(const char16_t* text, std::int32_t n = -1) override;
  void appendAscii(const char* bytes, std::int32_t n) override;
  // Fast path: one copy when room remains.
  void append(const char16_t* text, std::int32_t n) override {
    if (n > 0 && text != nullptr && static_cast<std::uint32_t>(n) <= capacity_ - length_) {
      std::memmove(text_ + length_, text, static_cast<std::size_t>(n) * 2);
      length_ += static_cast<std::uint32_t>(n);
    } else {
      appendSlow(text, n);
    }
  }
  // Fast path: one store when room remains.
  void appendChar(char16_t ch) override {
    if (length_ < capacity_) {
      text_[length_++] = ch;
    } else {
      appendSlow(ch);
    }
  }
  void appendChar(char ch) override {
    appendChar(static_cast<char16_t>(static_cast<unsigned char>(ch)));
  }
  void appendHex(const std::uint64_t* values, std::uint32_t count) override;
  void appendHex(const std::uint32_t* values, std::uint32_t count) override;
  void appendHex(const std::uint16_t* values, std::uint32_t count) override;
  void appendHex(const std::uint8_t* values, std::uint32_t count) override;
  void appendHex(const std::int64_t* values, std::uint32_t count) override;
  void appendHex(const std::int32_t* values, std::uint32_t count) override;
  void appendHex(const std::int16_t* values, std::uint32_t count) override;
  void appendHex(const std::int8_t* values, std::uint32_t count) override;
  void appendHex(const float* values, std::uint32_t count) override;
  void appendHex(const double* values, std::uint32_t count) override;
  void replaceAll(const char16_t* find, const char16_t* replacement) override;
  void replaceAllIgnoreCase(const char16_t* find, const char16_t* replacement) override;
  StrBuffer* clone() const override;
  void keepRange(std::uint32_t from, std::uint32_t to) override;
  StrBuffer* substring(std::uint32_t from, std::uint32_t to) const override;
  StrBuffer* beforeLast(char16_t ch, std::uint32_t before = kFromEnd) const override;
  StrBuffer* beforeLastIgnoreCase(char16_t ch, std::uint32_t before = kFromEnd) const override;
  StrBuffer* beforeLastAny(const char16_t* chars, std::int32_t count,
                           std::uint32_t before = kFromEnd) const override;
  StrBuffer* beforeLastAnyIgnoreCase(const char16_t* chars, std::int32_t count,
                                     std::uint32_t before = kFromEnd) const override;
  StrBuffer* beforeLastText(const char16_t* text, std::uint32_t before = kFromEnd) const override;
  StrBuffer* beforeLastTextIgnoreCase(const char16_t* text,
                                      std::uint32_t before = kFromEnd) const override;
  void digest(IStr& out, int form) const override;
  void toUtf8WithZero(s::col::_array::ArrayU08& bytes, bool append) const override;
  void toUtf8(s::col::_array::ArrayU08& bytes, bool append) const override;
  void fromUtf8(const char* bytes, bool append, std::int32_t byteCount = -1) override;
  void encodeWithZero(std::uint32_t codePage, s::col::_array::ArrayU08& bytes,
                      bool append) const override;
  void encode(std::uint32_t codePage, s::col::_array::ArrayU08& bytes, bool append) const override;
  void decode(std::uint32_t codePage, const char* bytes, bool append,
              std::int32_t byteCount = -1) override;
  void toOemWithZero(s::col::_array::ArrayU08& bytes, bool append) const override;
  void toOem(s::col::_array::ArrayU08& bytes, bool append) const override;
  void fromOem(const char* bytes, bool append, std::int32_t byteCount = -1) override;
  std::uint8_t parseU08() const override;
  std::uint16_t parseU16() const override;
  std::uint32_t parseU32() const override;
  std::uint64_t parseU64() const override;
  std::int8_t parseS08() const override;
  std::int16_t parseS16() const override;
  std::int32_t parseS32() const override;
  std::int64_t parseS64() const override;
  float parseFloat() const override;
  double parseDouble() const override;
  bool isHex() const override;
  std::uint32_t hexDigitAt(std::uint32_t i) const override;
  std::uint32_t parseHex() const override;
  void hexToBytes(s::col::_array::ArrayU08& bytes, bool append) const override;
  bool isInteger() const override;
  s::str::strarray::StrArray* split(char16_t ch) const override;
  s::str::strarray::StrArray* splitWords(bool skipCommon) const override;
  char16_t* charPtr(std::uint32_t i) override;
  void appendAscii(const char* bytes) override;
  void appendNumber(std::uint64_t v) override;
  void appendNumber(std::uint32_t v) override;
  void appendNumber(std::uint16_t v) override;
  void appendNumber(std::uint8_t v) override;
  void appendNumber(std::int64_t v) override;
  void appendNumber(std::int32_t v) override;
  void appendNumber(std::int16_t v) override;
  void appendNumber(std::int8_t v) override;
  void appendNumber(float v) override;
  void appendNumber(double v) override;
  void append(const IStr& other) override;
  void append(const char16_t* text) override;
  void setNumber(std::uint64_t v) override;
  void setNumber(std::uint32_t v) override;
  void setNumber(std::uint16_t v) override;
  void setNumber(std::uint8_t v) override;
  void setNumber(std::int64_t v) override;
  void setNumber(std::int32_t v) override;
  void setNumber(std::int16_t v) override;
  void setNumber(std::int8_t v) override;
  void setNumber(float v) override;
  void setNumber(double v) override;
  void set(const IStr& other) override;
  void set(const char16_t* text) override;
  Iterator* iterator() const override;
  Iterator* iteratorAtEnd() const override;
  Iterator* iteratorAt(std::uint32_t i) const override;
  Iterator* iteratorFromEnd(std::uint32_t n) const override;
  const char16_t* charPtr(std::uint32_t i) const override;

  // --- IInputStream / IOutputStream (one shared byte position)
  bool read(void* buffer, std::uint32_t count, std::uint32_t& outCount) override;
  bool write(const void* data, std::uint32_t count, std::uint32_t& outCount) override;
  bool flush() override { return true; }
  // Cuts the text at the position (rounded up to whole units).
  bool truncateHere() override;
  void close() override {}
  std::uint64_t getPosition() override { return position_; }
  bool isSeekable() override { return true; }
  bool seekToStart() override;
  bool seekToEnd() override;
  bool seek(std::uint64_t position) override;
  bool seekFromEnd(std::uint64_t n) override;
  bool forward(std::uint64_t n) override;
  bool backward(std::uint64_t n) override;

 private:
  void appendSlow(char16_t ch);
  void appendSlow(const char16_t* text, std::int32_t n);
  // Makes room for `extra` more units; false when impossible.
  bool makeRoom(std::uint32_t extra);
  bool reallocate(std::uint32_t newCapacity);
  void appendUnits(const char16_t* units, std::uint32_t n);
  template <class T>
  void appendHexValues(const T* values, std::uint32_t count);
  template <class T>
  void setNumberValue(T v);
  // Takes the text and storage of `other` (null: nothing) and releases it.
  void adopt(StrBuffer* other);
  bool moveTo(std::uint64_t position);
  std::uint32_t byteLength() const { return length_ * 2u; }

  char16_t* text_ = nullptr;
  std::uint32_t length_ = 0;
  std::uint32_t capacity_ = 0;
  std::uint32_t position_ = 0;
};

}  // namespace s::str::strbuffer
