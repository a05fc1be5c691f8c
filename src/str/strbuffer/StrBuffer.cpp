#include "str/strbuffer/StrBuffer.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <limits>
#include <string>
#include <unordered_set>

#include "col/_array/ArrayU08.h"
#include "os/CodePage.h"
#include "str/strarray/StrArray.h"
#include "str/strbuffer/CaseFold.h"
#include "str/strbuffer/Formatter.h"
#include "str/strbuffer/Iterator.h"
#include "system/MD5.h"

namespace s::str::strbuffer {

namespace {

constexpr char16_t kWhitespace[] = u" \n\u3000\t\r";
constexpr std::int32_t kWhitespaceCount = 5;

// Length of a text argument: -1 runs to the zero, other negatives and a
// null text are empty.
std::uint32_t textLength(const char16_t* text, std::int32_t n) {
  if (text == nullptr || n < -1) return 0;
  if (n >= 0) return static_cast<std::uint32_t>(n);
  return static_cast<std::uint32_t>(std::char_traits<char16_t>::length(text));
}

std::uint32_t byteTextLength(const char* bytes, std::int32_t n) {
  if (bytes == nullptr || n < -1) return 0;
  if (n >= 0) return static_cast<std::uint32_t>(n);
  return static_cast<std::uint32_t>(std::strlen(bytes));
}

char16_t lowerAscii(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? c + (u'a' - u'A') : c;
}
char16_t upperAscii(char16_t c) {
  return (c >= u'a' && c <= u'z') ? c - (u'a' - u'A') : c;
}

// The C library's wide case mapping, kept inside the 16-bit range.
char16_t lowerC(char16_t c) {
  const std::wint_t m = std::towlower(static_cast<std::wint_t>(c));
  return m <= 0xFFFF ? static_cast<char16_t>(m) : c;
}
char16_t upperC(char16_t c) {
  const std::wint_t m = std::towupper(static_cast<std::wint_t>(c));
  return m <= 0xFFFF ? static_cast<char16_t>(m) : c;
}

struct Exact {
  static char16_t fold(char16_t c) { return c; }
};
struct FoldAscii {
  static char16_t fold(char16_t c) { return lowerAscii(c); }
};
// Unicode case folding, the same under every locale (CaseFold).
struct FoldUnicode {
  static char16_t fold(char16_t c) { return CaseFold::fold(c); }
};

template <class Fold>
bool unitsEqual(const char16_t* a, const char16_t* b, std::uint32_t n) {
  for (std::uint32_t i = 0; i < n; ++i) {
    if (Fold::fold(a[i]) != Fold::fold(b[i])) return false;
  }
  return true;
}

template <class Fold>
bool inSet(char16_t c, const char16_t* set, std::uint32_t n) {
  const char16_t folded = Fold::fold(c);
  for (std::uint32_t i = 0; i < n; ++i) {
    if (Fold::fold(set[i]) == folded) return true;
  }
  return false;
}

// -1, 0, 1 for two values.
template <class T>
int order(T a, T b) {
  return a < b ? -1 : (a > b ? 1 : 0);
}

// Units in the order of their little-endian bytes: low byte first.
std::uint16_t byteOrderKey(char16_t c) {
  return static_cast<std::uint16_t>((c << 8) | (c >> 8));
}

// wcsncmp-like comparison: `a` ends at aLength (or a zero), `b` at its zero.
template <class Fold>
int compareTexts(const char16_t* a, std::uint32_t aLength, const char16_t* b, std::uint64_t limit) {
  for (std::uint64_t k = 0; k < limit; ++k) {
    const char16_t ca = k < aLength ? Fold::fold(a[k]) : 0;
    const char16_t cb = Fold::fold(b[k]);
    if (ca != cb) return ca < cb ? -1 : 1;
    if (ca == 0) return 0;
  }
  return 0;
}

// Whether `p` points into the storage [begin, begin + units].
bool pointsInto(const char16_t* p, const char16_t* begin, std::uint32_t units) {
  if (p == nullptr || begin == nullptr) return false;
  const auto at = reinterpret_cast<std::uintptr_t>(p);
  const auto start = reinterpret_cast<std::uintptr_t>(begin);
  return at >= start && at <= start + static_cast<std::uintptr_t>(units) * 2u;
}

const StrBuffer* asString(const s::base::IComparable* other) {
  return dynamic_cast<const StrBuffer*>(other);
}

// The next capacity of the framework's growth rule, capped at the maximum.
std::uint32_t nextCapacity(std::uint32_t capacity) {
  return std::min(s::col::_array::ArrayBase::grownCapacity(capacity), StrBuffer::kMaxCapacity);
}

// C-library style decimal conversion: whitespace, sign, digits; saturates
// at [low, high].
std::int64_t parseDecimal(std::u16string_view text, std::int64_t low, std::int64_t high) {
  std::size_t i = 0;
  while (i < text.size() && std::iswspace(static_cast<std::wint_t>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  // Accumulate as a negative number so that the lowest value fits.
  std::int64_t value = 0;
  bool saturated = false;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    const int digit = text[i] - u'0';
    if (value < (std::numeric_limits<std::int64_t>::min() + digit) / 10) {
      saturated = true;
      continue;
    }
    value = value * 10 - digit;
  }
  if (negative) {
    return saturated ? low : std::max(value, low);
  }
  if (saturated || value == std::numeric_limits<std::int64_t>::min()) return high;
  return std::min(-value, high);
}

constexpr std::int64_t kS32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kS32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kS64Min = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kS64Max = std::numeric_limits<std::int64_t>::max();

std::uint32_t hexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return 16;
}

}  // namespace

// ---------------------------------------------------------------- lifetime

StrBuffer::~StrBuffer() {
  std::free(text_);
}

void StrBuffer::reset() {
  freeStorage();
}

StrBuffer* StrBuffer::fromText(const char16_t* text) {
  StrBuffer* s = create();
  s->append(text, -1);
  return s;
}

StrBuffer* StrBuffer::fromAscii(const char* text) {
  StrBuffer* s = create();
  s->appendAscii(text, -1);
  return s;
}

StrBuffer* StrBuffer::concat(const IStr& a, const IStr& b) {
  StrBuffer* s = create();
  s->ensureCapacity(a.length() + b.length());
  s->append(a);
  s->append(b);
  return s;
}

StrBuffer* StrBuffer::joinPath(const IStr& folder, const IStr& name) {
  StrBuffer* s = create();
  s->append(folder);
  s->appendChar(u'\\');
  s->append(name);
  return s;
}

StrBuffer* StrBuffer::shortcutPath(const IStr& folder, const IStr& name) {
  StrBuffer* s = joinPath(folder, name);
  s->append(u".lnk", 4);
  return s;
}

int StrBuffer::compareStringsIgnoreCase(const StrBuffer* a, const StrBuffer* b) {
  if (a == nullptr || b == nullptr) return order(a != nullptr, b != nullptr);
  const std::uint32_t n = std::min(a->length_, b->length_);
  for (std::uint32_t i = 0; i < n; ++i) {
    const int c = order(CaseFold::fold(a->text_[i]), CaseFold::fold(b->text_[i]));
    if (c != 0) return c;
  }
  return order(a->length_, b->length_);
}

// ---------------------------------------------------------------- storage

bool StrBuffer::reallocate(std::uint32_t newCapacity) {
  auto* fresh =
      static_cast<char16_t*>(std::malloc((static_cast<std::size_t>(newCapacity) + 1) * 2));
  if (fresh == nullptr) return false;
  if (length_ != 0) std::memcpy(fresh, text_, static_cast<std::size_t>(length_) * 2);
  std::free(text_);
  text_ = fresh;
  capacity_ = newCapacity;
  return true;
}

bool StrBuffer::reserve(std::uint32_t n) {
  if (n <= capacity_) return true;
  if (n > kMaxCapacity) return false;
  return reallocate(n);
}

bool StrBuffer::grow() {
  const std::uint32_t next = nextCapacity(capacity_);
  return next > capacity_ && reallocate(next);
}

bool StrBuffer::ensureCapacity(std::uint32_t n) {
  if (n <= capacity_) return true;
  if (n > kMaxCapacity) return false;
  std::uint32_t c = capacity_;
  while (c < n) {
    const std::uint32_t next = nextCapacity(c);
    if (next <= c) return false;
    c = next;
  }
  return reallocate(c);
}

bool StrBuffer::makeRoom(std::uint32_t extra) {
  const std::uint64_t need = static_cast<std::uint64_t>(length_) + extra;
  return need <= kMaxCapacity && ensureCapacity(static_cast<std::uint32_t>(need));
}

void StrBuffer::setLength(std::uint32_t n) {
  length_ = std::min(n, capacity_);
}

void StrBuffer::clear() {
  length_ = 0;
  position_ = 0;
}

void StrBuffer::freeStorage() {
  std::free(text_);
  text_ = nullptr;
  length_ = 0;
  capacity_ = 0;
  position_ = 0;
}

void StrBuffer::adopt(StrBuffer* other) {
  if (other == nullptr) return;
  std::swap(text_, other->text_);
  std::swap(length_, other->length_);
  std::swap(capacity_, other->capacity_);
  other->release();
}

void StrBuffer::terminate() {
  static_cast<const StrBuffer*>(this)->terminate();
}

void StrBuffer::terminate() const {
  if (length_ != 0 && text_[length_] != 0) text_[length_] = 0;
}

const char16_t* StrBuffer::getText() const {
  if (length_ == 0) return u"";
  terminate();  // reads only when the zero is already there
  return text_;
}

char16_t* StrBuffer::charPtr(std::uint32_t i) {
  return (text_ != nullptr && i <= capacity_) ? text_ + i : nullptr;
}

const char16_t* StrBuffer::charPtr(std::uint32_t i) const {
  return (text_ != nullptr && i <= capacity_) ? text_ + i : nullptr;
}

// ---------------------------------------------------------------- appending

void StrBuffer::appendSlow(char16_t ch) {
  if (makeRoom(1)) text_[length_++] = ch;
}

void StrBuffer::appendUnits(const char16_t* units, std::uint32_t n) {
  if (n == 0 || units == nullptr) return;
  if (n <= capacity_ - length_) {  // room enough: no storage moves
    std::memmove(text_ + length_, units, static_cast<std::size_t>(n) * 2);
    length_ += n;
    return;
  }
  // The source may lie in this string's own storage, which growing frees.
  const bool own = pointsInto(units, text_, capacity_);
  const std::size_t offset = own ? static_cast<std::size_t>(units - text_) : 0;
  if (!makeRoom(n)) return;
  if (own) units = text_ + offset;
  std::memmove(text_ + length_, units, static_cast<std::size_t>(n) * 2);
  length_ += n;
}

void StrBuffer::appendSlow(const char16_t* text, std::int32_t n) {
  appendUnits(text, textLength(text, n));
}

void StrBuffer::append(const char16_t* text) {
  append(text, -1);
}

void StrBuffer::append(const IStr& other) {
  const StrBuffer* s = dynamic_cast<const StrBuffer*>(&other);
  if (s != nullptr) {
    appendUnits(s->text_, s->length_);
  } else {
    appendUnits(other.getText(), other.length());
  }
}

void StrBuffer::appendAscii(const char* bytes, std::int32_t n) {
  const std::uint32_t count = byteTextLength(bytes, n);
  if (count == 0 || !makeRoom(count)) return;
  for (std::uint32_t i = 0; i < count; ++i) {
    text_[length_ + i] = static_cast<unsigned char>(bytes[i]);
  }
  length_ += count;
}

void StrBuffer::appendAscii(const char* bytes) {
  appendAscii(bytes, -1);
}

void StrBuffer::prepend(const char16_t* text, std::int32_t n) {
  const std::uint32_t count = textLength(text, n);
  if (count == 0) return;
  const bool own = pointsInto(text, text_, capacity_);
  const std::size_t offset = own ? static_cast<std::size_t>(text - text_) : 0;
  if (!makeRoom(count)) return;
  std::memmove(text_ + count, text_, static_cast<std::size_t>(length_) * 2);
  // An own source moved right with the rest of the text.
  const char16_t* source = own ? text_ + count + offset : text;
  std::memcpy(text_, source, static_cast<std::size_t>(count) * 2);
  length_ += count;
}

void StrBuffer::set(const char16_t* text) {
  if (text == text_ && text != nullptr) return;
  if (pointsInto(text, text_, capacity_)) {
    const std::u16string copy(text);
    clear();
    appendUnits(copy.data(), static_cast<std::uint32_t>(copy.size()));
    return;
  }
  clear();
  append(text, -1);
}

void StrBuffer::set(const IStr& other) {
  if (&other == static_cast<const IStr*>(this)) return;
  clear();
  append(other);
}

// ---------------------------------------------------------------- hex out

template <class T>
void StrBuffer::appendHexValues(const T* values, std::uint32_t count) {
  static constexpr char kDigits[] = "0123456789abcdef";
  if (values == nullptr || count == 0) return;
  // Floats and doubles show their raw bits; doubles as the low then the
  // high 32 bits.
  constexpr std::uint32_t kDigitsPerValue =
      sizeof(T) == 8 && std::is_floating_point_v<T> ? 16 : sizeof(T) * 2;
  const std::uint64_t need = static_cast<std::uint64_t>(count) * kDigitsPerValue;
  if (need > kMaxCapacity || !makeRoom(static_cast<std::uint32_t>(need))) return;
  auto put = [this](std::uint64_t v, int digits) {
    for (int d = digits - 1; d >= 0; --d) text_[length_++] = kDigits[(v >> (4 * d)) & 15];
  };
  for (std::uint32_t i = 0; i < count; ++i) {
    if constexpr (std::is_same_v<T, float>) {
      put(std::bit_cast<std::uint32_t>(values[i]), 8);
    } else if constexpr (std::is_same_v<T, double>) {
      const auto bits = std::bit_cast<std::uint64_t>(values[i]);
      put(bits & 0xFFFFFFFFu, 8);
      put(bits >> 32, 8);
    } else {
      using U = std::make_unsigned_t<T>;
      put(static_cast<U>(values[i]), sizeof(T) * 2);
    }
  }
}

void StrBuffer::appendHex(const std::uint64_t* v, std::uint32_t n) {
  appendHexValues(v, n);
}
void StrBuffer::appendHex(const std::uint32_t* v, std::uint32_t n) {
  appendHexValues(v, n);
}
void StrBuffer::appendHex(const std::uint16_t* v, std::uint32_t n) {
  appendHexValues(v, n);
}
void StrBuffer::appendHex(const std::uint8_t* v, std::uint32_t n) {
  appendHexValues(v, n);
}
void StrBuffer::appendHex(const std::int64_t* v, std::uint32_t n) {
  appendHexValues(v, n);
}
void StrBuffer::appendHex(const std::int32_t* v, std::uint32_t n) {
  appendHexValues(v, n);
}
void StrBuffer::appendHex(const std::int16_t* v, std::uint32_t n) {
  appendHexValues(v, n);
}
void StrBuffer::appendHex(const std::int8_t* v, std::uint32_t n) {
  appendHexValues(v, n);
}
void StrBuffer::appendHex(const float* v, std::uint32_t n) {
  appendHexValues(v, n);
}
void StrBuffer::appendHex(const double* v, std::uint32_t n) {
  appendHexValues(v, n);
}

// ---------------------------------------------------------------- numbers out

void StrBuffer::appendNumber(std::uint64_t v) {
  appendFormat(u"%I64u", v);
}
void StrBuffer::appendNumber(std::uint32_t v) {
  appendFormat(u"%u", v);
}
void StrBuffer::appendNumber(std::uint16_t v) {
  appendFormat(u"%u", static_cast<unsigned>(v));
}
void StrBuffer::appendNumber(std::uint8_t v) {
  appendFormat(u"%u", static_cast<unsigned>(v));
}
void StrBuffer::appendNumber(std::int64_t v) {
  appendFormat(u"%I64d", v);
}
void StrBuffer::appendNumber(std::int32_t v) {
  appendFormat(u"%d", v);
}
void StrBuffer::appendNumber(std::int16_t v) {
  appendFormat(u"%d", static_cast<int>(v));
}
void StrBuffer::appendNumber(std::int8_t v) {
  appendFormat(u"%d", static_cast<int>(v));
}
void StrBuffer::appendNumber(float v) {
  appendFormat(u"%f", static_cast<double>(v));
}
void StrBuffer::appendNumber(double v) {
  appendFormat(u"%f", v);
}

template <class T>
void StrBuffer::setNumberValue(T v) {
  clear();
  appendNumber(v);
}

void StrBuffer::setNumber(std::uint64_t v) {
  setNumberValue(v);
}
void StrBuffer::setNumber(std::uint32_t v) {
  setNumberValue(v);
}
void StrBuffer::setNumber(std::uint16_t v) {
  setNumberValue(v);
}
void StrBuffer::setNumber(std::uint8_t v) {
  setNumberValue(v);
}
void StrBuffer::setNumber(std::int64_t v) {
  setNumberValue(v);
}
void StrBuffer::setNumber(std::int32_t v) {
  setNumberValue(v);
}
void StrBuffer::setNumber(std::int16_t v) {
  setNumberValue(v);
}
void StrBuffer::setNumber(std::int8_t v) {
  setNumberValue(v);
}
void StrBuffer::setNumber(float v) {
  setNumberValue(v);
}
void StrBuffer::setNumber(double v) {
  setNumberValue(v);
}

void StrBuffer::appendFormat(const char16_t* format, ...) {
  std::va_list args;
  va_start(args, format);
  appendFormatV(format, args);
  va_end(args);
}

void StrBuffer::appendFormatV(const char16_t* format, std::va_list args) {
  Formatter::appendFormat(*this, format, args);
}

void StrBuffer::format(const char16_t* format, ...) {
  std::va_list args;
  va_start(args, format);
  clear();
  appendFormatV(format, args);
  va_end(args);
}

// ---------------------------------------------------------------- numbers in

std::uint8_t StrBuffer::parseU08() const {
  return static_cast<std::uint8_t>(parseDecimal(view(), kS32Min, kS32Max));
}
std::uint16_t StrBuffer::parseU16() const {
  return static_cast<std::uint16_t>(parseDecimal(view(), kS32Min, kS32Max));
}
std::uint32_t StrBuffer::parseU32() const {
  return static_cast<std::uint32_t>(parseDecimal(view(), kS64Min, kS64Max));
}
std::uint64_t StrBuffer::parseU64() const {
  return static_cast<std::uint64_t>(parseDecimal(view(), kS64Min, kS64Max));
}
std::int8_t StrBuffer::parseS08() const {
  return static_cast<std::int8_t>(parseDecimal(view(), kS32Min, kS32Max));
}
std::int16_t StrBuffer::parseS16() const {
  return static_cast<std::int16_t>(parseDecimal(view(), kS32Min, kS32Max));
}
std::int32_t StrBuffer::parseS32() const {
  return static_cast<std::int32_t>(parseDecimal(view(), kS32Min, kS32Max));
}
std::int64_t StrBuffer::parseS64() const {
  return parseDecimal(view(), kS64Min, kS64Max);
}

float StrBuffer::parseFloat() const {
  return static_cast<float>(parseDouble());
}

double StrBuffer::parseDouble() const {
  // strtod reads bytes: hand it the leading run of ASCII units.
  std::string ascii;
  for (std::uint32_t i = 0; i < length_ && text_[i] != 0 && text_[i] < 0x80; ++i) {
    ascii.push_back(static_cast<char>(text_[i]));
  }
  return static_cast<double>(static_cast<float>(std::strtod(ascii.c_str(), nullptr)));
}

// ---------------------------------------------------------------- hex in

bool StrBuffer::isHex() const {
  if (length_ == 0) return false;
  for (std::uint32_t i = 0; i < length_; ++i) {
    if (hexValue(text_[i]) > 15) return false;
  }
  return true;
}

std::uint32_t StrBuffer::hexDigitAt(std::uint32_t i) const {
  const std::uint32_t v = hexValue(charAt(i));
  return v > 15 ? 0 : v;
}

std::uint32_t StrBuffer::parseHex() const {
  std::uint32_t value = 0;
  for (std::uint32_t i = 0; i < length_; ++i) value = value * 16 + hexDigitAt(i);
  return value;
}

bool StrBuffer::isInteger() const {
  if (length_ == 0) return false;
  const std::uint32_t first = (length_ > 1 && text_[0] == u'-') ? 1 : 0;
  for (std::uint32_t i = first; i < length_; ++i) {
    if (text_[i] < u'0' || text_[i] > u'9') return false;
  }
  return true;
}

// ---------------------------------------------------------------- object

int StrBuffer::compareTo(const s::base::IComparable* other,
                         const s::base::IComparator* comparator) const {
  const StrBuffer* s = asString(other);
  if (comparator != nullptr || s == nullptr) return IComparable::compareTo(other, comparator);
  const std::uint32_t n = std::min(length_, s->length_);
  for (std::uint32_t i = 0; i < n; ++i) {
    if (text_[i] != s->text_[i]) return order(byteOrderKey(text_[i]), byteOrderKey(s->text_[i]));
  }
  return order(length_, s->length_);
}

int StrBuffer::compareToIgnoreCase(const s::base::IComparable* other,
                                   const s::base::IComparator* comparator) const {
  const StrBuffer* s = asString(other);
  if (comparator != nullptr || s == nullptr) {
    return IComparable::compareToIgnoreCase(other, comparator);
  }
  return compareStringsIgnoreCase(this, s);
}

bool StrBuffer::equals(const s::base::IComparable* other,
                       const s::base::IComparator* comparator) const {
  const StrBuffer* s = asString(other);
  if (comparator != nullptr || s == nullptr) return IComparable::equals(other, comparator);
  return length_ == s->length_ && unitsEqual<Exact>(text_, s->text_, length_);
}

bool StrBuffer::equalsIgnoreCase(const s::base::IComparable* other,
                                 const s::base::IComparator* comparator) const {
  const StrBuffer* s = asString(other);
  if (comparator != nullptr || s == nullptr) {
    return IComparable::equalsIgnoreCase(other, comparator);
  }
  return length_ == s->length_ && unitsEqual<FoldUnicode>(text_, s->text_, length_);
}

namespace {
template <class Fold>
std::uint32_t hashUnits(const char16_t* text, std::uint32_t n) {
  std::uint32_t h = 0;
  for (std::uint32_t i = 0; i < n; ++i) h = ((h << 1) | ((h >> 30) & 1u)) ^ Fold::fold(text[i]);
  return h;
}
}  // namespace

std::uint32_t StrBuffer::hashCode() const {
  return hashUnits<Exact>(text_, length_);
}

std::uint32_t StrBuffer::hashCodeIgnoreCase() const {
  return hashUnits<FoldUnicode>(text_, length_);
}

// ---------------------------------------------------------------- units

char16_t StrBuffer::charAt(std::uint32_t i) const {
  return i < length_ ? text_[i] : 0;
}
char16_t StrBuffer::charAtLower(std::uint32_t i) const {
  return lowerAscii(charAt(i));
}
char16_t StrBuffer::charAtUpper(std::uint32_t i) const {
  return upperAscii(charAt(i));
}

void StrBuffer::reverse() {
  if (length_ != 0) std::reverse(text_, text_ + length_);
}

void StrBuffer::toLower() {
  for (std::uint32_t i = 0; i < length_; ++i) text_[i] = lowerC(text_[i]);
}

void StrBuffer::toUpper() {
  for (std::uint32_t i = 0; i < length_; ++i) text_[i] = upperC(text_[i]);
}

void StrBuffer::capitalize() {
  toLower();
  if (length_ != 0) text_[0] = upperAscii(text_[0]);
}

// ---------------------------------------------------------------- searching

namespace {

// End (exclusive) of a backward search.
std::uint32_t searchEnd(std::uint32_t length, std::uint32_t before) {
  return before == IStr::kFromEnd ? length : std::min(length, before);
}

template <class Match>
bool findForward(const char16_t* text, std::uint32_t length, std::uint32_t from, std::uint32_t& out,
                 Match match) {
  for (std::uint32_t i = from; i < length; ++i) {
    if (match(text[i])) {
      out = i;
      return true;
    }
  }
  return false;
}

template <class Match>
bool findBackward(const char16_t* text, std::uint32_t end, std::uint32_t& out, Match match) {
  for (std::uint32_t i = end; i > 0; --i) {
    if (match(text[i - 1])) {
      out = i - 1;
      return true;
    }
  }
  return false;
}

template <class Fold>
auto unitMatch(char16_t ch) {
  return [folded = Fold::fold(ch)](char16_t c) { return Fold::fold(c) == folded; };
}

template <class Fold>
auto setMatch(const char16_t* chars, std::int32_t count) {
  return [chars, n = textLength(chars, count)](char16_t c) { return inSet<Fold>(c, chars, n); };
}

// First index >= from (and <= last) where `needle` matches.
template <class Fold>
bool findText(const char16_t* text, std::uint32_t length, std::u16string_view needle,
              std::uint32_t from, std::uint32_t& out) {
  if (from > length || needle.size() > length - from) return false;
  const std::uint32_t m = static_cast<std::uint32_t>(needle.size());
  for (std::uint32_t i = from; i + m <= length; ++i) {
    if (unitsEqual<Fold>(text + i, needle.data(), m)) {
      out = i;
      return true;
    }
  }
  return false;
}

// Last index whose match lies wholly in [0, end).
template <class Fold>
bool findTextBackward(const char16_t* text, std::uint32_t end, std::u16string_view needle,
                      std::uint32_t& out) {
  const std::uint32_t m = static_cast<std::uint32_t>(needle.size());
  if (m > end) return false;
  for (std::uint32_t i = end - m + 1; i > 0; --i) {
    if (unitsEqual<Fold>(text + i - 1, needle.data(), m)) {
      out = i - 1;
      return true;
    }
  }
  return false;
}

std::u16string_view zeroText(const char16_t* text) {
  return text != nullptr ? std::u16string_view(text) : std::u16string_view();
}

}  // namespace

bool StrBuffer::indexOf(char16_t ch, std::uint32_t& out, std::uint32_t from) const {
  return findForward(text_, length_, from, out, unitMatch<Exact>(ch));
}
bool StrBuffer::indexOfIgnoreCase(char16_t ch, std::uint32_t& out, std::uint32_t from) const {
  return findForward(text_, length_, from, out, unitMatch<FoldAscii>(ch));
}
bool StrBuffer::indexOfAny(const char16_t* chars, std::int32_t count, std::uint32_t& out,
                           std::uint32_t from) const {
  return findForward(text_, length_, from, out, setMatch<Exact>(chars, count));
}
bool StrBuffer::indexOfAnyIgnoreCase(const char16_t* chars, std::int32_t count, std::uint32_t& out,
                                     std::uint32_t from) const {
  return findForward(text_, length_, from, out, setMatch<FoldAscii>(chars, count));
}

bool StrBuffer::lastIndexOf(char16_t ch, std::uint32_t& out, std::uint32_t before) const {
  return findBackward(text_, searchEnd(length_, before), out, unitMatch<Exact>(ch));
}
bool StrBuffer::lastIndexOfIgnoreCase(char16_t ch, std::uint32_t& out, std::uint32_t before) const {
  return findBackward(text_, searchEnd(length_, before), out, unitMatch<FoldAscii>(ch));
}
bool StrBuffer::lastIndexOfAny(const char16_t* chars, std::int32_t count, std::uint32_t& out,
                               std::uint32_t before) const {
  return findBackward(text_, searchEnd(length_, before), out, setMatch<Exact>(chars, count));
}
bool StrBuffer::lastIndexOfAnyIgnoreCase(const char16_t* chars, std::int32_t count,
                                         std::uint32_t& out, std::uint32_t before) const {
  return findBackward(text_, searchEnd(length_, before), out, setMatch<FoldAscii>(chars, count));
}

bool StrBuffer::indexOfText(const char16_t* text, std::uint32_t& out, std::uint32_t from) const {
  if (from > length_) return false;
  const std::size_t at = view().find(zeroText(text), from);
  if (at == std::u16string_view::npos) return false;
  out = static_cast<std::uint32_t>(at);
  return true;
}
bool StrBuffer::indexOfTextIgnoreCase(const char16_t* text, std::uint32_t& out,
                                      std::uint32_t from) const {
  return findText<FoldAscii>(text_, length_, zeroText(text), from, out);
}
bool StrBuffer::lastIndexOfText(const char16_t* text, std::uint32_t& out,
                                std::uint32_t before) const {
  return findTextBackward<Exact>(text_, searchEnd(length_, before), zeroText(text), out);
}
bool StrBuffer::lastIndexOfTextIgnoreCase(const char16_t* text, std::uint32_t& out,
                                          std::uint32_t before) const {
  return findTextBackward<FoldAscii>(text_, searchEnd(length_, before), zeroText(text), out);
}

// ---------------------------------------------------------------- regions

namespace {

template <class Fold>
bool regionMatches(const char16_t* text, std::uint32_t length, std::uint32_t index,
                   const char16_t* other, std::uint32_t otherIndex, std::int32_t count) {
  if (index > length) return false;
  const char16_t* from = other != nullptr ? other + otherIndex : u"";
  std::uint32_t n;
  if (count == -1) {
    n = static_cast<std::uint32_t>(std::char_traits<char16_t>::length(from));
    if (n != length - index) return false;
  } else {
    n = count < 0 ? 0 : static_cast<std::uint32_t>(count);
    if (n > length - index) return false;
  }
  return unitsEqual<Fold>(text + index, from, n);
}

template <class Fold>
int compareRegionOf(const char16_t* text, std::uint32_t length, std::uint32_t index,
                    const char16_t* other, std::uint32_t otherIndex, std::int32_t count) {
  const char16_t* a = index < length ? text + index : u"";
  const std::uint32_t aLength = index < length ? length - index : 0;
  const char16_t* b = other != nullptr ? other + otherIndex : u"";
  const std::uint64_t limit = count == -1 ? std::numeric_limits<std::uint64_t>::max()
                                          : static_cast<std::uint64_t>(std::max(count, 0));
  return compareTexts<Fold>(a, aLength, b, limit);
}

}  // namespace

bool StrBuffer::regionEquals(std::uint32_t index, const char16_t* text, std::uint32_t textIndex,
                             std::int32_t count) const {
  return regionMatches<Exact>(text_, length_, index, text, textIndex, count);
}
bool StrBuffer::regionEqualsIgnoreCase(std::uint32_t index, const char16_t* text,
                                       std::uint32_t textIndex, std::int32_t count) const {
  return regionMatches<FoldAscii>(text_, length_, index, text, textIndex, count);
}

int StrBuffer::compareRegion(std::uint32_t index, const char16_t* text, std::uint32_t textIndex,
                             std::int32_t count) const {
  return compareRegionOf<Exact>(text_, length_, index, text, textIndex, count);
}
int StrBuffer::compareRegionIgnoreCase(std::uint32_t index, const char16_t* text,
                                       std::uint32_t textIndex, std::int32_t count) const {
  return compareRegionOf<FoldUnicode>(text_, length_, index, text, textIndex, count);
}

namespace {
template <class Fold>
bool hasEnd(const char16_t* text, std::uint32_t length, const char16_t* end, std::int32_t n,
            bool atStart) {
  const std::uint32_t m = textLength(end, n);
  if (m > length) return false;
  return unitsEqual<Fold>(atStart ? text : text + (length - m), end, m);
}
}  // namespace

bool StrBuffer::endsWith(const char16_t* text, std::int32_t n) const {
  return hasEnd<Exact>(text_, length_, text, n, false);
}
bool StrBuffer::endsWithIgnoreCase(const char16_t* text, std::int32_t n) const {
  return hasEnd<FoldAscii>(text_, length_, text, n, false);
}
bool StrBuffer::startsWith(const char16_t* text, std::int32_t n) const {
  return hasEnd<Exact>(text_, length_, text, n, true);
}
bool StrBuffer::startsWithIgnoreCase(const char16_t* text, std::int32_t n) const {
  return hasEnd<FoldAscii>(text_, length_, text, n, true);
}

// ---------------------------------------------------------------- trimming

void StrBuffer::trimRightWhitespace() {
  trimRight(kWhitespace, 0u, kWhitespaceCount);
}

void StrBuffer::trimRightWhitespace(std::uint32_t minLength) {
  trimRight(kWhitespace, minLength, kWhitespaceCount);
}

void StrBuffer::trimRight(const char16_t* chars, std::int32_t n) {
  trimRight(chars, 0u, n);
}

void StrBuffer::trimRight(const char16_t* chars, std::uint32_t minLength, std::int32_t n) {
  const std::uint32_t count = textLength(chars, n);
  while (length_ > minLength && inSet<Exact>(text_[length_ - 1], chars, count)) --length_;
}

void StrBuffer::trimLeftWhitespace() {
  trimLeft(kWhitespace, kWhitespaceCount);
}

void StrBuffer::trimLeft(const char16_t* chars, std::int32_t n) {
  const std::uint32_t count = textLength(chars, n);
  std::uint32_t skip = 0;
  while (skip < length_ && inSet<Exact>(text_[skip], chars, count)) ++skip;
  if (skip != 0) keepRange(skip, length_);
}

// ---------------------------------------------------------------- ranges

void StrBuffer::keepRange(std::uint32_t from, std::uint32_t to) {
  const std::uint32_t end = std::min(length_, to);
  if (from >= end) {
    length_ = 0;
    return;
  }
  if (from != 0) std::memmove(text_, text_ + from, static_cast<std::size_t>(end - from) * 2);
  length_ = end - from;
}

StrBuffer* StrBuffer::substring(std::uint32_t from, std::uint32_t to) const {
  StrBuffer* s = create();
  const std::uint32_t end = std::min(length_, to);
  if (from < end) s->appendUnits(text_ + from, end - from);
  return s;
}

StrBuffer* StrBuffer::clone() const {
  return substring(0, length_);
}

namespace {
// The text before a match found by `found`, or a new empty string.
StrBuffer* headBefore(const StrBuffer& s, bool found, std::uint32_t at) {
  return s.substring(0, found ? at : 0);
}
}  // namespace

StrBuffer* StrBuffer::beforeLast(char16_t ch, std::uint32_t before) const {
  std::uint32_t at = 0;
  const bool found = lastIndexOf(ch, at, before);
  return headBefore(*this, found, at);
}
StrBuffer* StrBuffer::beforeLastIgnoreCase(char16_t ch, std::uint32_t before) const {
  std::uint32_t at = 0;
  const bool found = lastIndexOfIgnoreCase(ch, at, before);
  return headBefore(*this, found, at);
}
StrBuffer* StrBuffer::beforeLastAny(const char16_t* chars, std::int32_t count,
                                    std::uint32_t before) const {
  std::uint32_t at = 0;
  const bool found = lastIndexOfAny(chars, count, at, before);
  return headBefore(*this, found, at);
}
StrBuffer* StrBuffer::beforeLastAnyIgnoreCase(const char16_t* chars, std::int32_t count,
                                              std::uint32_t before) const {
  std::uint32_t at = 0;
  const bool found = lastIndexOfAnyIgnoreCase(chars, count, at, before);
  return headBefore(*this, found, at);
}
StrBuffer* StrBuffer::beforeLastText(const char16_t* text, std::uint32_t before) const {
  std::uint32_t at = 0;
  const bool found = lastIndexOfText(text, at, before);
  return headBefore(*this, found, at);
}
StrBuffer* StrBuffer::beforeLastTextIgnoreCase(const char16_t* text, std::uint32_t before) const {
  std::uint32_t at = 0;
  const bool found = lastIndexOfTextIgnoreCase(text, at, before);
  return headBefore(*this, found, at);
}

// ---------------------------------------------------------------- replacing

namespace {
// Replaces in place when the replacement is not longer than the text it
// replaces; otherwise returns the result built in a new string.
template <class Fold>
StrBuffer* replaceEvery(StrBuffer& s, std::u16string_view find, std::u16string_view with) {
  const auto m = static_cast<std::uint32_t>(find.size());
  const auto r = static_cast<std::uint32_t>(with.size());
  char16_t* text = s.getBuffer();
  const std::uint32_t length = s.length();
  std::uint32_t at = 0;
  if (m == 0 || !findText<Fold>(text, length, find, 0, at)) return nullptr;
  if (r == m) {
    do {
      std::copy(with.begin(), with.end(), text + at);
    } while (findText<Fold>(text, length, find, at + m, at));
    return nullptr;
  }
  // Shorter: compact in place; longer: build the result in a new string.
  StrBuffer* built = r < m ? nullptr : StrBuffer::create();
  std::uint32_t read = 0;
  std::uint32_t written = 0;
  auto emit = [&](const char16_t* units, std::uint32_t n) {
    if (built != nullptr) {
      built->append(units, static_cast<std::int32_t>(n));
    } else {
      std::memmove(text + written, units, static_cast<std::size_t>(n) * 2);
      written += n;
    }
  };
  do {
    emit(text + read, at - read);
    emit(with.data(), r);
    read = at + m;
  } while (findText<Fold>(text, length, find, read, at));
  emit(text + read, length - read);
  if (built == nullptr) s.setLength(written);
  return built;
}
}  // namespace

void StrBuffer::replaceAll(const char16_t* find, const char16_t* replacement) {
  // Texts taken from this string itself are copied before it changes.
  const std::u16string f(zeroText(find));
  const std::u16string r(zeroText(replacement));
  adopt(replaceEvery<Exact>(*this, f, r));
}

void StrBuffer::replaceAllIgnoreCase(const char16_t* find, const char16_t* replacement) {
  const std::u16string f(zeroText(find));
  const std::u16string r(zeroText(replacement));
  adopt(replaceEvery<FoldAscii>(*this, f, r));
}

// ---------------------------------------------------------------- digest

void StrBuffer::digest(IStr& out, int form) const {
  s::system::MD5 md5;
  for (std::uint32_t i = 0; i < length_; ++i) {
    const unsigned char bytes[2] = {static_cast<unsigned char>(text_[i] & 0xFF),
                                    static_cast<unsigned char>(text_[i] >> 8)};
    md5.update(bytes, 2);
  }
  const s::system::MD5::Digest d = md5.finish();
  char16_t units[32];
  std::uint32_t n = 32;
  if (form == s::system::MD5::kRaw) {
    for (int i = 0; i < 8; ++i) units[i] = static_cast<char16_t>(d[2 * i] | (d[2 * i + 1] << 8));
    n = 8;
  } else {
    s::system::MD5::toHex(d, form == s::system::MD5::kHexUpper, units);
  }
  out.clear();
  out.append(units, static_cast<std::int32_t>(n));
}

// ---------------------------------------------------------------- streams

bool StrBuffer::read(void* buffer, std::uint32_t count, std::uint32_t& outCount) {
  outCount = 0;
  if (buffer == nullptr || count == 0 || position_ >= byteLength()) return false;
  const std::uint32_t n = std::min(count, byteLength() - position_);
  std::memcpy(buffer, reinterpret_cast<const char*>(text_) + position_, n);
  position_ += n;
  outCount = n;
  return true;
}

bool StrBuffer::write(const void* data, std::uint32_t count, std::uint32_t& outCount) {
  outCount = 0;
  if (count == 0) return true;
  if (data == nullptr) return false;
  const std::uint64_t end = static_cast<std::uint64_t>(position_) + count;
  const std::uint64_t units = (end + 1) / 2;
  if (units > kMaxCapacity || !ensureCapacity(static_cast<std::uint32_t>(units))) return false;
  if (units > length_) {
    // A gap or a half-written last unit reads as zero bytes.
    std::memset(text_ + length_, 0, static_cast<std::size_t>(units - length_) * 2);
    length_ = static_cast<std::uint32_t>(units);
  }
  std::memcpy(reinterpret_cast<char*>(text_) + position_, data, count);
  position_ = static_cast<std::uint32_t>(end);
  outCount = count;
  return true;
}

bool StrBuffer::truncateHere() {
  const std::uint32_t units = position_ / 2 + (position_ & 1u);
  if (units < length_) length_ = units;
  return true;
}

bool StrBuffer::moveTo(std::uint64_t position) {
  const std::uint32_t end = byteLength();
  position_ = static_cast<std::uint32_t>(std::min<std::uint64_t>(position, end));
  return position <= end;
}

bool StrBuffer::seekToStart() {
  return moveTo(0);
}
bool StrBuffer::seekToEnd() {
  return moveTo(byteLength());
}
bool StrBuffer::seek(std::uint64_t position) {
  return moveTo(position);
}

bool StrBuffer::seekFromEnd(std::uint64_t n) {
  if (n > byteLength()) {
    moveTo(0);
    return false;
  }
  return moveTo(byteLength() - n);
}

bool StrBuffer::forward(std::uint64_t n) {
  return moveTo(std::min<std::uint64_t>(position_, byteLength()) + n);
}

bool StrBuffer::backward(std::uint64_t n) {
  const std::uint64_t from = std::min<std::uint64_t>(position_, byteLength());
  if (n > from) {
    moveTo(0);
    return false;
  }
  return moveTo(from - n);
}

// ---------------------------------------------------------------- iterators

namespace {
Iterator* iteratorOn(const StrBuffer* s, std::int64_t index) {
  Iterator* it = Iterator::create();
  it->attach(s, index);
  return it;
}
}  // namespace

Iterator* StrBuffer::iterator() const {
  return iteratorOn(this, -1);
}
Iterator* StrBuffer::iteratorAtEnd() const {
  return iteratorOn(this, length_);
}
Iterator* StrBuffer::iteratorAt(std::uint32_t i) const {
  return iteratorOn(this, static_cast<std::int64_t>(i) - 1);
}
Iterator* StrBuffer::iteratorFromEnd(std::uint32_t n) const {
  return iteratorOn(this, static_cast<std::int64_t>(length_) - n + 1);
}

// ---------------------------------------------------------------- code pages

namespace {

using s::col::_array::ArrayBase;
using s::os::CodePage;

bool isUtf16(std::uint32_t codePage) {
  return codePage == CodePage::kUtf16Le || codePage == CodePage::kUtf16Be;
}

// The bytes of `text` in `codePage` (empty when the code page is not
// available).
std::string encodeText(std::uint32_t codePage, std::u16string_view text) {
  std::string bytes;
  if (isUtf16(codePage)) {
    const bool big = codePage == CodePage::kUtf16Be;
    bytes.reserve(text.size() * 2);
    for (char16_t unit : text) {
      bytes.push_back(static_cast<char>(big ? unit >> 8 : unit & 0xFF));
      bytes.push_back(static_cast<char>(big ? unit & 0xFF : unit >> 8));
    }
  } else {
    s::os::codePage().fromUtf16(codePage, text, bytes);
  }
  return bytes;
}

// Length of a byte argument in `codePage`: -1 runs to the first zero unit
// of the code page (two zero bytes at an even offset for UTF-16).
std::uint32_t encodedLength(std::uint32_t codePage, const char* bytes, std::int32_t n) {
  if (!isUtf16(codePage) || n != -1 || bytes == nullptr) return byteTextLength(bytes, n);
  std::uint32_t i = 0;
  while (bytes[i] != 0 || bytes[i + 1] != 0) i += 2;
  return i;
}

std::u16string decodeBytes(std::uint32_t codePage, const char* bytes, std::uint32_t n) {
  std::u16string text;
  if (isUtf16(codePage)) {
    const bool big = codePage == CodePage::kUtf16Be;
    const auto* b = reinterpret_cast<const unsigned char*>(bytes);
    text.reserve(n / 2);
    for (std::uint32_t i = 0; i + 1 < n; i += 2) {
      text.push_back(static_cast<char16_t>(big ? (b[i] << 8) | b[i + 1] : b[i] | (b[i + 1] << 8)));
    }
  } else if (n != 0) {
    s::os::codePage().toUtf16(codePage, std::string_view(bytes, n), text);
  }
  return text;
}

// Puts `bytes` into `target` (emptied first unless `append`), followed by
// `zeroBytes` zero bytes that are counted in its length only when
// `countZero`.
void storeBytes(ArrayBase& target, bool append, const std::string& bytes, std::uint32_t zeroBytes,
                bool countZero) {
  if (!append) target.clear();
  const std::uint64_t end = static_cast<std::uint64_t>(target.length()) + bytes.size();
  if (end + zeroBytes > 0xFFFFFFFFu) return;
  if (!target.ensureCapacity(static_cast<std::uint32_t>(end + zeroBytes))) return;
  if (!bytes.empty() && !target.append(bytes.data(), static_cast<std::uint32_t>(bytes.size()))) {
    return;
  }
  std::memset(static_cast<std::uint8_t*>(target.data()) + end, 0, zeroBytes);
  if (countZero) target.setLength(static_cast<std::uint32_t>(end + zeroBytes));
}

void encodeInto(std::uint32_t codePage, std::u16string_view text, ArrayBase& target, bool append,
                bool countZero) {
  storeBytes(target, append, encodeText(codePage, text), isUtf16(codePage) ? 2 : 1, countZero);
}

}  // namespace

void StrBuffer::toUtf8WithZero(s::col::_array::ArrayU08& bytes, bool append) const {
  encodeInto(CodePage::kUtf8, view(), bytes, append, true);
}
void StrBuffer::toUtf8(s::col::_array::ArrayU08& bytes, bool append) const {
  encodeInto(CodePage::kUtf8, view(), bytes, append, false);
}
void StrBuffer::fromUtf8(const char* bytes, bool append, std::int32_t byteCount) {
  decode(CodePage::kUtf8, bytes, append, byteCount);
}

void StrBuffer::encodeWithZero(std::uint32_t codePage, s::col::_array::ArrayU08& bytes,
                               bool append) const {
  encodeInto(codePage, view(), bytes, append, true);
}
void StrBuffer::encode(std::uint32_t codePage, s::col::_array::ArrayU08& bytes, bool append) const {
  encodeInto(codePage, view(), bytes, append, false);
}
void StrBuffer::decode(std::uint32_t codePage, const char* bytes, bool append,
                       std::int32_t byteCount) {
  // Decoded aside first: the bytes may lie in this string's own storage.
  const std::u16string text =
      decodeBytes(codePage, bytes, encodedLength(codePage, bytes, byteCount));
  if (!append) clear();
  appendUnits(text.data(), static_cast<std::uint32_t>(text.size()));
}

void StrBuffer::toOemWithZero(s::col::_array::ArrayU08& bytes, bool append) const {
  encodeInto(CodePage::kOem, view(), bytes, append, true);
}
void StrBuffer::toOem(s::col::_array::ArrayU08& bytes, bool append) const {
  encodeInto(CodePage::kOem, view(), bytes, append, false);
}
void StrBuffer::fromOem(const char* bytes, bool append, std::int32_t byteCount) {
  decode(CodePage::kOem, bytes, append, byteCount);
}

void StrBuffer::hexToBytes(s::col::_array::ArrayU08& bytes, bool append) const {
  std::string out;
  out.reserve(length_ / 2);
  for (std::uint32_t i = 0; i + 1 < length_; i += 2) {
    out.push_back(static_cast<char>(hexDigitAt(i) * 16 + hexDigitAt(i + 1)));
  }
  if (!append) bytes.clear();
  if (!out.empty()) bytes.append(out.data(), static_cast<std::uint32_t>(out.size()));
}

// ---------------------------------------------------------------- splitting

s::str::strarray::StrArray* StrBuffer::split(char16_t ch) const {
  auto* parts = s::str::strarray::StrArray::create();
  std::uint32_t start = 0;
  for (std::uint32_t i = 0; i <= length_; ++i) {
    if (i < length_ && text_[i] != ch) continue;
    if (i > start) parts->add(substring(start, i));
    start = i + 1;
  }
  return parts;
}

namespace {

bool isLatin1Letter(char16_t c) {
  return (c >= 0xC0 && c <= 0xFF && c != 0xD7 && c != 0xF7) || c == 0xAA || c == 0xB5 || c == 0xBA;
}

// Units that may separate words: Latin-1 and the CJK punctuation below.
bool inPunctuationRange(char16_t c) {
  return c <= 0xFF || (c >= 0x3000 && c <= 0x3002) || c == 0x300C || c == 0x300D || c == 0x3010 ||
         c == 0x3011 || c == 0xFF08 || c == 0xFF09;
}

bool isWordUnit(char16_t c) {
  const bool asciiAlnum =
      (c >= u'0' && c <= u'9') || (lowerAscii(c) >= u'a' && lowerAscii(c) <= u'z');
  return !inPunctuationRange(c) || asciiAlnum || isLatin1Letter(c) || c == u'%' || c == u'+' ||
         c == u'-';
}

// The process-wide list of words left out by splitWords(true).
bool isCommonWord(std::u16string_view folded) {
  static constexpr std::u16string_view kCommon[] = {u"the", u"of", u"and"};
  for (std::u16string_view word : kCommon) {
    if (folded == word) return true;
  }
  return false;
}

}  // namespace

s::str::strarray::StrArray* StrBuffer::splitWords(bool skipCommon) const {
  auto* words = s::str::strarray::StrArray::create();
  std::unordered_set<std::u16string> seen;  // case-folded words already taken
  std::uint32_t i = 0;
  while (i < length_) {
    while (i < length_ && !isWordUnit(text_[i])) ++i;
    const std::uint32_t start = i;
    while (i < length_ && isWordUnit(text_[i])) ++i;
    if (i == start) break;
    std::u16string folded(text_ + start, i - start);
    for (char16_t& c : folded) c = CaseFold::fold(c);
    if (skipCommon && isCommonWord(folded)) continue;
    if (seen.insert(std::move(folded)).second) words->add(substring(start, i));
  }
  return words;
}

}  // namespace s::str::strbuffer
