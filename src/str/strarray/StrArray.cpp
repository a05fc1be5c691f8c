#include "str/strarray/StrArray.h"

#include <cstring>
#include <string_view>

#include "col/_array/ArrayU08.h"
#include "os/AsciiCase.h"
#include "str/strbuffer/StrBuffer.h"

namespace s::str::strarray {

using s::col::_array::ArrayU08;
using s::str::strbuffer::StrBuffer;

namespace {

bool sameText(std::u16string_view a, std::u16string_view b, bool ignoreCase) {
  return ignoreCase ? s::os::equalsAsciiIgnoreCase(a, b) : a == b;
}

std::u16string_view textView(const char16_t* text, std::int32_t n) {
  if (text == nullptr || n < -1) return {};
  return n == -1 ? std::u16string_view(text) : std::u16string_view(text, n);
}

int compareStrings(void* a, void* b, void*) {
  return StrBuffer::compareStringsIgnoreCase(static_cast<StrBuffer*>(a),
                                             static_cast<StrBuffer*>(b));
}

// Unit i of a byte buffer of UTF-16LE units (read bytewise: the buffer may be
// unaligned).
char16_t unitAt(const std::uint8_t* bytes, std::uint32_t i) {
  return static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
}

}  // namespace

StrArray::StrArray() {
  items_.setDisposer(&StrBuffer::pool());
}

StrArray::~StrArray() = default;  // items_ gives its strings back

bool StrArray::add(StrBuffer* str) {
  if (str == nullptr) return false;
  if (items_.add(str)) return true;
  str->release();
  return false;
}

StrArray* StrArray::copy() const {
  StrArray* out = StrArray::create();
  for (std::uint32_t i = 0; i < length(); ++i) {
    out->addText(get(i)->view().data(), static_cast<std::int32_t>(get(i)->length()));
  }
  return out;
}

bool StrArray::addText(const char16_t* text, std::int32_t n) {
  StrBuffer* str = StrBuffer::create();
  if (str == nullptr) return false;
  const std::u16string_view view = textView(text, n);
  str->append(view.data(), static_cast<std::int32_t>(view.size()));
  if (str->length() != view.size()) {  // out of memory
    str->release();
    return false;
  }
  return add(str);
}

StrBuffer* StrArray::removeAt(std::uint32_t i) {
  return static_cast<StrBuffer*>(items_.removeAt(i));
}

void StrArray::clear() {
  items_.dropLast(items_.length());
}

std::int64_t StrArray::indexOf(const char16_t* text, std::int32_t n, bool ignoreCase) const {
  const std::u16string_view wanted = textView(text, n);
  for (std::uint32_t i = 0; i < items_.length(); ++i) {
    if (sameText(get(i)->view(), wanted, ignoreCase)) return i;
  }
  return -1;
}

bool StrArray::sort(bool descending) {
  return items_.sort(&compareStrings, nullptr, descending);
}

void StrArray::fromMultiString(const void* bytes, std::uint32_t byteCount) {
  clear();
  const auto* b = static_cast<const std::uint8_t*>(bytes);
  const std::uint32_t n = b != nullptr ? byteCount / 2 : 0;
  if (n < 2) return;
  // The list ends at the last pair of zero units; nothing past it is read.
  std::uint32_t end = n - 1;
  while (end > 0 && !(unitAt(b, end - 1) == 0 && unitAt(b, end) == 0)) --end;
  if (end == 0) return;
  std::uint32_t i = 0;
  do {
    const std::uint32_t start = i;
    while (unitAt(b, i) != 0) ++i;  // stops at end - 1 at the latest
    StrBuffer* str = StrBuffer::create();
    if (str == nullptr) return;
    str->reserve(i - start);
    for (std::uint32_t k = start; k < i; ++k) str->appendChar(unitAt(b, k));
    if (!add(str)) return;
    ++i;  // past the zero
  } while (i < end && unitAt(b, i) != 0);
}

void StrArray::fromMultiString(const ArrayU08& bytes) {
  fromMultiString(bytes.data(), static_cast<std::uint32_t>(bytes.byteSize()));
}

ArrayU08* StrArray::toMultiString(ArrayU08* bytes) const {
  std::uint64_t size = 2;
  for (std::uint32_t i = 0; i < items_.length(); ++i) size += 2ull * get(i)->length() + 2;
  if (items_.length() == 0) size = 4;
  ArrayU08* out = bytes != nullptr ? bytes : ArrayU08::create();
  if (out == nullptr) return nullptr;
  out->clear();
  if (size > 0xFFFFFFFFull || !out->setLength(static_cast<std::uint32_t>(size))) {
    if (bytes == nullptr) out->release();
    return nullptr;
  }
  std::uint8_t* p = out->values();
  for (std::uint32_t i = 0; i < items_.length(); ++i) {
    for (char16_t unit : get(i)->view()) {
      *p++ = static_cast<std::uint8_t>(unit & 0xFF);
      *p++ = static_cast<std::uint8_t>(unit >> 8);
    }
    p += 2;  // its zero (setLength zero-filled the array)
  }
  return out;
}

void StrArray::reset() {
  items_.freeStorage();
  items_.setDisposer(&StrBuffer::pool());
}

}  // namespace s::str::strarray
