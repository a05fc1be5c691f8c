#include "col/_array/ArrayBase.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <new>
#include <utility>

#include "base/IComparator.h"
#include "col/CollectionInputStream.h"
#include "col/_array/Iterator.h"
#include "str/IStr.h"
#include "system/MD5.h"

namespace s::col::_array {

namespace {

constexpr std::uint64_t kMaxElements = 0xFFFFFFFFull;

// A heap copy of a caller's range that lies inside the array's own storage,
// so that growing the storage cannot pull it away mid-copy.
class SourceCopy {
 public:
  SourceCopy(const void* src, std::size_t bytes, const void* storage, std::size_t storageBytes) {
    const auto* s = static_cast<const std::uint8_t*>(src);
    const auto* lo = static_cast<const std::uint8_t*>(storage);
    const bool inside =
        lo != nullptr && std::less_equal<>()(lo, s) && std::less<>()(s, lo + storageBytes);
    if (!inside || bytes == 0) {
      data_ = src;
      return;
    }
    owned_ = std::malloc(bytes);
    if (owned_ != nullptr) std::memcpy(owned_, src, bytes);
    data_ = owned_;
  }
  ~SourceCopy() { std::free(owned_); }
  SourceCopy(const SourceCopy&) = delete;
  SourceCopy& operator=(const SourceCopy&) = delete;

  // Null when a needed copy could not be made.
  const void* data() const { return data_; }

 private:
  const void* data_ = nullptr;
  void* owned_ = nullptr;
};

}  // namespace

ArrayBase::ArrayBase(std::uint32_t shift) : shift_(shift) {}

ArrayBase::~ArrayBase() {
  freeSlots();
}

std::uint32_t ArrayBase::grownCapacity(std::uint32_t capacity) {
  std::uint64_t c = capacity;
  if (c < 100) {
    c = 100;
  } else if (c < 10'000'000) {
    c *= 3;
  } else if (c < 50'000'000) {
    c *= 2;
  } else if (c < 100'000'000) {
    c = c * 3 / 2;
  } else {
    c = c * 6 / 5;
  }
  return static_cast<std::uint32_t>(std::min(c, kMaxElements));
}

// --- Storage

bool ArrayBase::reallocate(std::uint32_t newCapacity) {
  const std::size_t bytes = static_cast<std::size_t>(newCapacity) << shift_;
  auto* fresh = static_cast<std::uint8_t*>(std::malloc(bytes == 0 ? 1 : bytes));
  if (fresh == nullptr) return false;
  if (length_ != 0) std::memcpy(fresh, elements_, static_cast<std::size_t>(length_) << shift_);
  std::free(elements_);
  elements_ = fresh;
  capacity_ = newCapacity;
  return true;
}

bool ArrayBase::growFor(std::uint64_t needed) {
  if (needed <= capacity_) return true;
  if (needed > kMaxElements) return false;
  std::uint32_t c = capacity_;
  while (c < needed) c = grownCapacity(c);  // saturates at kMaxElements >= needed
  return reallocate(c);
}

bool ArrayBase::ensureCapacity(std::uint32_t n) {
  return growFor(n);
}

bool ArrayBase::reserve(std::uint32_t n) {
  return n <= capacity_ || reallocate(n);
}

bool ArrayBase::swapStorage(ArrayBase& other) {
  if (other.shift_ != shift_) return false;
  std::swap(elements_, other.elements_);
  std::swap(length_, other.length_);
  std::swap(capacity_, other.capacity_);
  std::swap(position_, other.position_);
  return true;
}

void ArrayBase::freeSlots() {
  std::free(elements_);
  elements_ = nullptr;
  length_ = 0;
  capacity_ = 0;
  position_ = 0;
}

void ArrayBase::clear() {
  length_ = 0;
  position_ = 0;
}

void ArrayBase::freeStorage() {
  disposeRange(0, length_);
  freeSlots();
}

void ArrayBase::reset() {
  freeStorage();
}

void ArrayBase::disposeRange(std::uint32_t, std::uint32_t) {}

bool ArrayBase::setLength(std::uint32_t n) {
  if (n > length_) {
    if (!growFor(n)) return false;
    std::memset(bytesAt(length_), 0, static_cast<std::size_t>(n - length_) << shift_);
  }
  length_ = n;
  clampPosition();
  return true;
}

std::uint64_t ArrayBase::byteSize(std::uint32_t n) const {
  return static_cast<std::uint64_t>(n == kAll ? length_ : n) << shift_;
}

std::uint32_t ArrayBase::clampCount(std::uint32_t from, std::uint32_t count) const {
  return from >= length_ ? 0 : std::min(count, length_ - from);
}

void ArrayBase::clampPosition() {
  position_ = std::min(position_, byteSize());
}

// --- Copying

std::uint32_t ArrayBase::copyOut(void* dest, std::uint32_t destIndex, std::uint32_t from,
                                 std::uint32_t count) const {
  count = clampCount(from, count);
  if (dest == nullptr || count == 0) return 0;
  std::memmove(static_cast<std::uint8_t*>(dest) + (static_cast<std::size_t>(destIndex) << shift_),
               bytesAt(from), static_cast<std::size_t>(count) << shift_);
  return count;
}

std::uint32_t ArrayBase::copyTo(ArrayBase& target, std::uint32_t targetIndex, std::uint32_t from,
                                std::uint32_t count) const {
  count = clampCount(from, count);
  if (count == 0 || target.shift_ != shift_) return 0;
  return target.writeAt(elements_, count, from, targetIndex) ? count : 0;
}

std::uint32_t ArrayBase::copyFrom(const ArrayBase& source, std::uint32_t from, std::uint32_t at,
                                  std::uint32_t count) {
  return source.copyTo(*this, at, from, count);
}

bool ArrayBase::writeAt(const void* src, std::uint32_t count, std::uint32_t srcIndex,
                        std::uint32_t at) {
  if (count == 0) return at <= length_;
  if (src == nullptr || at > length_) return false;
  const std::uint64_t end = static_cast<std::uint64_t>(at) + count;
  const std::size_t bytes = static_cast<std::size_t>(count) << shift_;
  const auto* from =
      static_cast<const std::uint8_t*>(src) + (static_cast<std::size_t>(srcIndex) << shift_);
  SourceCopy source(from, bytes, elements_, static_cast<std::size_t>(capacity_) << shift_);
  if (source.data() == nullptr || !growFor(end)) return false;
  std::memmove(bytesAt(at), source.data(), bytes);
  length_ = std::max(length_, static_cast<std::uint32_t>(end));
  return true;
}

bool ArrayBase::openGap(std::uint32_t at, std::uint32_t count) {
  if (!growFor(static_cast<std::uint64_t>(length_) + count)) return false;
  std::memmove(bytesAt(at + count), bytesAt(at), static_cast<std::size_t>(length_ - at) << shift_);
  length_ += count;
  return true;
}

bool ArrayBase::insertCopy(std::uint32_t at, const void* src, std::uint32_t count,
                           std::uint32_t srcIndex) {
  if (count == 0) return at <= length_;
  if (src == nullptr || at > length_) return false;
  const std::size_t bytes = static_cast<std::size_t>(count) << shift_;
  const auto* from =
      static_cast<const std::uint8_t*>(src) + (static_cast<std::size_t>(srcIndex) << shift_);
  SourceCopy source(from, bytes, elements_, static_cast<std::size_t>(capacity_) << shift_);
  if (source.data() == nullptr || !openGap(at, count)) return false;
  std::memcpy(bytesAt(at), source.data(), bytes);
  return true;
}

bool ArrayBase::append(const void* src, std::uint32_t count, std::uint32_t srcIndex) {
  return insertCopy(length_, src, count, srcIndex);
}

bool ArrayBase::prepend(const void* src, std::uint32_t count, std::uint32_t srcIndex) {
  return insertCopy(0, src, count, srcIndex);
}

bool ArrayBase::insert(std::uint32_t at, const void* src, std::uint32_t count,
                       std::uint32_t srcIndex) {
  return insertCopy(at, src, count, srcIndex);
}

// --- Removing

void ArrayBase::removeSlots(std::uint32_t at, std::uint32_t count) {
  const std::uint32_t tail = length_ - at - count;
  std::memmove(bytesAt(at), bytesAt(at + count), static_cast<std::size_t>(tail) << shift_);
  length_ -= count;
  clampPosition();
}

std::uint32_t ArrayBase::removeRange(std::uint32_t at, std::uint32_t count) {
  count = clampCount(at, count);
  if (count == 0) return 0;
  disposeRange(at, count);
  removeSlots(at, count);
  return count;
}

std::uint32_t ArrayBase::dropLast(std::uint32_t count) {
  count = std::min(count, length_);
  return removeRange(length_ - count, count);
}

std::uint32_t ArrayBase::dropFirst(std::uint32_t count) {
  return removeRange(0, count);
}

std::uint32_t ArrayBase::takeRange(std::uint32_t at, void* dest, std::uint32_t count,
                                   std::uint32_t destIndex) {
  count = copyOut(dest, destIndex, at, count);
  if (count != 0) removeSlots(at, count);
  return count;
}

std::uint32_t ArrayBase::popLast(void* dest, std::uint32_t count, std::uint32_t destIndex) {
  count = std::min(count, length_);
  return takeRange(length_ - count, dest, count, destIndex);
}

std::uint32_t ArrayBase::popFirst(void* dest, std::uint32_t count, std::uint32_t destIndex) {
  return takeRange(0, dest, count, destIndex);
}

// --- Comparing, swapping

int ArrayBase::compareRange(std::uint32_t at, const void* other, std::uint32_t otherLength,
                            std::uint32_t otherFrom, std::uint32_t count) const {
  const std::uint32_t mine = clampCount(at, count);
  const std::uint32_t theirs =
      (other == nullptr || otherFrom >= otherLength) ? 0 : std::min(count, otherLength - otherFrom);
  const std::size_t common = static_cast<std::size_t>(std::min(mine, theirs)) << shift_;
  if (common != 0) {
    const auto* o =
        static_cast<const std::uint8_t*>(other) + (static_cast<std::size_t>(otherFrom) << shift_);
    const int c = std::memcmp(bytesAt(at), o, common);
    if (c != 0) return c < 0 ? -1 : 1;
  }
  return mine < theirs ? -1 : (mine > theirs ? 1 : 0);
}

int ArrayBase::compareTo(const s::base::IComparable* other,
                         const s::base::IComparator* comparator) const {
  const auto* array = dynamic_cast<const ArrayBase*>(other);
  if (comparator != nullptr || array == nullptr || array->shift_ != shift_) {
    return IComparable::compareTo(other, comparator);
  }
  if (length_ != array->length_) return length_ < array->length_ ? -1 : 1;
  const s::base::IComparator* order = getComparator();
  for (std::uint32_t i = 0; i < length_; ++i) {
    const int c = order->compare(bytesAt(i), array->bytesAt(i));
    if (c != 0) return c < 0 ? -1 : 1;
  }
  return 0;
}

std::uint32_t ArrayBase::hashCode() const {
  std::uint32_t h = 2166136261u;  // FNV-1a over the used bytes
  const std::size_t bytes = static_cast<std::size_t>(byteSize());
  for (std::size_t i = 0; i < bytes; ++i) h = (h ^ elements_[i]) * 16777619u;
  return h;
}

bool ArrayBase::swap(std::uint32_t i, std::uint32_t j, void* scratch) {
  if (i >= length_ || j >= length_ || scratch == nullptr) return false;
  if (i == j) return true;
  const std::size_t size = elementSize();
  std::memcpy(scratch, bytesAt(i), size);
  std::memcpy(bytesAt(i), bytesAt(j), size);
  std::memcpy(bytesAt(j), scratch, size);
  return true;
}

bool ArrayBase::swap(std::uint32_t i, std::uint32_t j) {
  std::uint64_t scratch;  // elements are at most 8 bytes
  return swap(i, j, &scratch);
}

void ArrayBase::reverse() {
  for (std::uint32_t i = 0, j = length_; i + 1 < j; ++i, --j) swap(i, j - 1);
}

// --- Text forms

void ArrayBase::toDebugText(s::str::IStr& out, bool append) const {
  if (!append) out.clear();
  out.append(getClassName());
  out.append(u" [");
  for (std::uint32_t i = 0; i < length_; ++i) {
    if (i != 0) out.appendChar(u' ');
    appendElementText(out, bytesAt(i));
  }
  out.appendChar(u']');
}

void ArrayBase::appendElementsXml(s::str::IStr& out, bool append) const {
  if (!append) out.clear();
  for (std::uint32_t i = 0; i < length_; ++i) appendElementXml(out, bytesAt(i));
}

void ArrayBase::toXml(s::str::IStr& out, bool append) const {
  if (!append) out.clear();
  out.appendChar(u'<');
  out.append(getClassName());
  out.append(u" length=\"");
  out.appendNumber(length_);
  out.append(u"\">");
  appendElementsXml(out, true);
  out.append(u"</");
  out.append(getClassName());
  out.appendChar(u'>');
}

void ArrayBase::digest(s::str::IStr& out, int form) const {
  const s::system::MD5::Digest d =
      s::system::MD5::of(elements_, static_cast<std::size_t>(byteSize()));
  out.clear();
  if (form == s::system::MD5::kRaw) {
    for (std::size_t i = 0; i < d.size(); i += 2) {
      out.appendChar(static_cast<char16_t>(d[i] | (d[i + 1] << 8)));
    }
    return;
  }
  char16_t hex[32];
  s::system::MD5::toHex(d, form == s::system::MD5::kHexUpper, hex);
  out.append(hex, 32);
}

// --- IEnumerable

const void* ArrayBase::elementPointer(std::uint32_t i) const {
  return i < length_ ? bytesAt(i) : nullptr;
}

void* ArrayBase::elementPointer(std::uint32_t i) {
  return i < length_ ? bytesAt(i) : nullptr;
}

namespace {

IteratorBase* openIterator(ArrayBase* array, std::int64_t index) {
  Iterator* it = Iterator::create();
  if (it != nullptr) it->open(array, index);
  return it;
}

}  // namespace

IteratorBase* ArrayBase::iterator() {
  return openIterator(this, -1);
}

IteratorBase* ArrayBase::iteratorAtEnd() {
  return openIterator(this, length_);
}

IteratorBase* ArrayBase::iteratorAt(std::uint32_t i) {
  return openIterator(this, static_cast<std::int64_t>(i) - 1);
}

IteratorBase* ArrayBase::iteratorFromEnd(std::uint32_t n) {
  const std::int64_t index = static_cast<std::int64_t>(length_) - n + 1;
  return openIterator(this, index <= 0 ? -1 : index);
}

s::io::IInputStream* ArrayBase::openInputStream() {
  CollectionInputStream* stream = CollectionInputStream::create();
  if (stream != nullptr) stream->open(this);
  return stream;
}

// --- Stream faces

bool ArrayBase::read(void* buffer, std::uint32_t count, std::uint32_t& outCount) {
  outCount = 0;
  const std::uint64_t available = byteSize() - position_;
  if (buffer == nullptr || count == 0 || available == 0) return false;
  outCount = static_cast<std::uint32_t>(std::min<std::uint64_t>(count, available));
  std::memcpy(buffer, elements_ + position_, outCount);
  position_ += outCount;
  return true;
}

bool ArrayBase::write(const void* data, std::uint32_t count, std::uint32_t& outCount) {
  outCount = 0;
  if (count == 0) return true;
  if (data == nullptr) return false;
  const std::uint64_t endByte = position_ + count;
  const std::uint64_t endElement = (endByte + elementSize() - 1) >> shift_;
  if (endElement > kMaxElements) return false;
  SourceCopy source(data, count, elements_, static_cast<std::size_t>(capacity_) << shift_);
  if (source.data() == nullptr) return false;
  if (endElement > length_ && !setLength(static_cast<std::uint32_t>(endElement))) return false;
  std::memmove(elements_ + position_, source.data(), count);
  position_ = endByte;
  outCount = count;
  return true;
}

bool ArrayBase::truncateHere() {
  length_ = static_cast<std::uint32_t>((position_ + elementSize() - 1) >> shift_);
  return true;
}

bool ArrayBase::movePosition(std::uint64_t position) {
  position_ = std::min(position, byteSize());
  return position_ == position;
}

bool ArrayBase::seekToStart() {
  return movePosition(0);
}

bool ArrayBase::seekToEnd() {
  return movePosition(byteSize());
}

bool ArrayBase::seek(std::uint64_t position) {
  return movePosition(position);
}

bool ArrayBase::seekFromEnd(std::uint64_t n) {
  const std::uint64_t size = byteSize();
  if (n > size) {
    position_ = 0;
    return false;
  }
  return movePosition(size - n);
}

bool ArrayBase::forward(std::uint64_t n) {
  const std::uint64_t size = byteSize();
  return movePosition(n > size ? size + 1 : position_ + n);
}

bool ArrayBase::backward(std::uint64_t n) {
  if (n > position_) {
    position_ = 0;
    return false;
  }
  position_ -= n;
  return true;
}

}  // namespace s::col::_array
