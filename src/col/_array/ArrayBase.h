#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "col/ICollection.h"
#include "col/IEnumerable.h"
#include "io/IInputStream.h"
#include "io/IInputStreamable.h"
#include "io/IOutputStream.h"
#include "thread/IPoolable.h"

namespace s::base {
class IComparator;
}

namespace s::col::_array {

// A growable array of fixed-size elements (1 << shift bytes each) on the C
// heap: the common part of ArrayP, ArrayU08, ArrayS08, ArrayU32 and ArrayS32.
//
// Counts and indexes are in elements unless a name says bytes. kAll (the
// 32-bit -1) as a count means "to the end". A source or destination index
// selects the first element used in a caller's buffer.
//
// Safety: no operation reads or writes outside the array's storage, whatever
// the index or count. Ranges that run past the end are clamped to it; an
// index beyond the end makes the operation do nothing and report so (false
// or a count of 0). Caller buffers are trusted to hold the elements the
// clamped range names. Out of memory leaves the array as it was.
//
// Growth (when one more element does not fit): a capacity below 100 becomes
// 100; then x3 below 10,000,000, x2 below 50,000,000, x1.5 below 100,000,000
// and x1.2 from there (truncated). A multi-element operation repeats the step
// until the capacity is large enough, then allocates exactly that.
//
// The array is also a byte stream over its elements (the IInputStream and
// IOutputStream faces share one byte position, clamped to the used bytes).
//
// One thread at a time per array; nothing throws.
class ArrayBase : public ICollection,
                  public IEnumerable,
                  public s::io::IInputStreamable,
                  public s::io::IInputStream,
                  public s::io::IOutputStream,
                  public virtual s::thread::IPoolable {
 public:
  static constexpr std::uint32_t kAll = 0xFFFFFFFFu;

  explicit ArrayBase(std::uint32_t shift);
  ~ArrayBase() override;
  ArrayBase(const ArrayBase&) = delete;
  ArrayBase& operator=(const ArrayBase&) = delete;

  // The capacity that follows `capacity` under the growth rule (saturating
  // at 0xFFFFFFFF). Shared with the other growable buffers of the framework.
  static std::uint32_t grownCapacity(std::uint32_t capacity);

  // --- IObject / IComparable
  // With a comparator, it decides. Without one: arrays of other element
  // sizes (and non-arrays) keep the identity order; otherwise the shorter
  // array first, then element by element with getComparator().
  int compareTo(const s::base::IComparable* other,
                const s::base::IComparator* comparator = nullptr) const override;
  // Consistent with equals: a hash of the used bytes.
  std::uint32_t hashCode() const override;
  const char16_t* getClassName() const override { return u"s_col_array_ArrayBase"; }

  // --- ICollection
  const char16_t* getTypeName() const override { return getClassName(); }
  std::uint32_t length() const override { return length_; }
  void clear() override;
  void freeStorage() override;
  std::uint32_t typeCode() const override { return 0; }
  void toDebugText(s::str::IStr& out, bool append) const override;
  void toXml(s::str::IStr& out, bool append) const override;

  // --- IPoolable: frees the storage (ArrayP disposes of its elements first)
  // and forgets the disposer. release() comes with each concrete class.
  void reset() override;

  // --- Copying between arrays and buffers
  // Copies `count` elements from index `from` of this array into `target`
  // at `targetIndex` (as target.writeAt). Returns the number copied; 0 when
  // the element sizes differ, `from` or `targetIndex` is beyond the end of
  // its array, or storage could not be had.
  virtual std::uint32_t copyTo(ArrayBase& target, std::uint32_t targetIndex, std::uint32_t from,
                               std::uint32_t count = kAll) const;
  // source.copyTo(*this, at, from, count).
  virtual std::uint32_t copyFrom(const ArrayBase& source, std::uint32_t from, std::uint32_t at,
                                 std::uint32_t count = kAll);

  // Sets the length; grows the storage when needed. Elements beyond the old
  // length are zero-filled (never left undefined, so a pointer array never
  // holds garbage). Shrinking drops elements without disposing of them.
  // False when storage could not be had (nothing changes).
  virtual bool setLength(std::uint32_t n);
  // n << shift bytes (n = kAll: the length).
  virtual std::uint64_t byteSize(std::uint32_t n = kAll) const;

  // Copies up to `count` elements from index `from` to dest[destIndex...].
  // Returns the number copied (0 for a null dest or `from` at the end).
  virtual std::uint32_t copyOut(void* dest, std::uint32_t destIndex, std::uint32_t from,
                                std::uint32_t count = kAll) const;

  // Writes src[srcIndex .. srcIndex + count) over the elements from `at`,
  // raising the length when the write runs past the end. `at` may be at most
  // the length. The source may lie in this array's own storage. False when
  // `at` is beyond the end, src is null with a count, the length would pass
  // 0xFFFFFFFF, or storage could not be had (nothing changes).
  virtual bool writeAt(const void* src, std::uint32_t count, std::uint32_t srcIndex,
                       std::uint32_t at);
  // Adds the elements at the end / the start / before index `at` (at most
  // the length). Same failures as writeAt.
  virtual bool append(const void* src, std::uint32_t count, std::uint32_t srcIndex = 0);
  virtual bool prepend(const void* src, std::uint32_t count, std::uint32_t srcIndex = 0);
  virtual bool insert(std::uint32_t at, const void* src, std::uint32_t count,
                      std::uint32_t srcIndex = 0);

  // Drop elements (clamped to what there is) and return how many went.
  // ArrayP disposes of the dropped elements through its disposer.
  virtual std::uint32_t dropLast(std::uint32_t count);
  virtual std::uint32_t dropFirst(std::uint32_t count);
  virtual std::uint32_t removeRange(std::uint32_t at, std::uint32_t count);

  // Copy elements out to dest[destIndex...], then remove them (nothing is
  // disposed of: the caller receives them). Clamped; return how many moved;
  // 0 for a null dest.
  virtual std::uint32_t popLast(void* dest, std::uint32_t count, std::uint32_t destIndex = 0);
  virtual std::uint32_t popFirst(void* dest, std::uint32_t count, std::uint32_t destIndex = 0);
  virtual std::uint32_t takeRange(std::uint32_t at, void* dest, std::uint32_t count,
                                  std::uint32_t destIndex = 0);

  // Compares the bytes of elements [at, at + count) of this array (clamped to
  // the length) with elements [otherFrom, otherFrom + count) of `other`
  // (clamped to `otherLength` elements of this array's size) as unsigned
  // bytes; when equal over the shorter range, the shorter range is smaller.
  // -1, 0, 1. A null other counts as empty.
  virtual int compareRange(std::uint32_t at, const void* other, std::uint32_t otherLength,
                           std::uint32_t otherFrom, std::uint32_t count) const;

  // Exchanges elements i and j; false when either is not below the length.
  virtual bool swap(std::uint32_t i, std::uint32_t j);
  // The same through caller-provided scratch space of one element.
  virtual bool swap(std::uint32_t i, std::uint32_t j, void* scratch);
  // Reverses the order of the elements.
  virtual void reverse();

  // A constant that tells the element type apart (internal).
  virtual std::uint32_t typeDescriptor() const = 0;
  // Appends the text form / the XML form of the element `element` points at.
  virtual void appendElementText(s::str::IStr& out, const void* element) const = 0;
  virtual void appendElementXml(s::str::IStr& out, const void* element) const = 0;
  // Sets `out` to the MD5 digest of the used bytes in the given form
  // (s::system::MD5::Form).
  virtual void digest(s::str::IStr& out, int form) const;
  // Writes the XML forms of all elements, one after another.
  virtual void appendElementsXml(s::str::IStr& out, bool append) const;
  // The element comparator of the class (a process-wide singleton).
  virtual const s::base::IComparator* getComparator() const = 0;

  // --- Storage
  // Grows (by the growth steps) until `n` elements fit. False when storage
  // could not be had.
  bool ensureCapacity(std::uint32_t n);
  // Makes the capacity exactly `n` when `n` is larger than it.
  bool reserve(std::uint32_t n);
  std::uint32_t capacity() const { return capacity_; }
  std::uint32_t elementShift() const { return shift_; }
  std::uint32_t elementSize() const { return 1u << shift_; }
  // Exchanges storage, length, capacity and stream position with `other`
  // (nothing is copied, allocated or disposed of; disposers stay where they
  // are). False when the element sizes differ.
  bool swapStorage(ArrayBase& other);
  // The storage (null before any exists). Valid until the array changes.
  void* data() { return elements_; }
  const void* data() const { return elements_; }

  // --- IEnumerable (iterators are s::col::_array::Iterator)
  IteratorBase* iterator() override;
  IteratorBase* iteratorAtEnd() override;
  IteratorBase* iteratorAt(std::uint32_t i) override;
  IteratorBase* iteratorFromEnd(std::uint32_t n) override;
  void* elementPointer(std::uint32_t i) override;
  const void* elementPointer(std::uint32_t i) const;

  // --- IInputStreamable: a CollectionInputStream over the used bytes.
  s::io::IInputStream* openInputStream() override;

  // --- Stream faces (one shared byte position, clamped to byteSize()).
  bool read(void* buffer, std::uint32_t count, std::uint32_t& outCount) override;
  bool write(const void* data, std::uint32_t count, std::uint32_t& outCount) override;
  bool flush() override { return true; }
  // Cuts the array at the element that holds the position (rounded up).
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

 protected:
  // Disposes of elements [at, at + count) (which are in range); the base
  // class owns no elements and does nothing.
  virtual void disposeRange(std::uint32_t at, std::uint32_t count);

  // One-element fast paths for the typed arrays.
  template <class T>
  bool addValue(T value) {
    if (length_ == capacity_ && !growFor(length_ + 1ull)) return false;
    reinterpret_cast<T*>(elements_)[length_++] = value;
    return true;
  }
  template <class T>
  T valueAt(std::uint32_t i) const {
    return i < length_ ? reinterpret_cast<const T*>(elements_)[i] : T();
  }
  template <class T>
  bool popLastValue(T& out) {
    if (length_ == 0) return false;
    out = reinterpret_cast<const T*>(elements_)[--length_];
    clampPosition();
    return true;
  }

  // Removes element i and returns it (not disposed of); T() when i is not
  // below the length.
  template <class T>
  T removeValueAt(std::uint32_t i) {
    if (i >= length_) return T();
    T value = reinterpret_cast<const T*>(elements_)[i];
    removeSlots(i, 1);
    return value;
  }
  // Linear search for an exact value; outIndex -1 when absent.
  template <class T>
  bool indexOfValue(T value, std::int64_t& outIndex) const {
    const T* e = reinterpret_cast<const T*>(elements_);
    for (std::uint32_t i = 0; i < length_; ++i) {
      if (e[i] == value) {
        outIndex = i;
        return true;
      }
    }
    outIndex = -1;
    return false;
  }

  std::uint8_t* bytesAt(std::uint32_t i) const {
    return elements_ + (static_cast<std::size_t>(i) << shift_);
  }
  // Removes slots [at, at + count) (in range) without disposing of them.
  void removeSlots(std::uint32_t at, std::uint32_t count);
  // Frees the storage without disposing of anything.
  void freeSlots();
  // Ensures room for `needed` elements (needed may exceed 32 bits: fails).
  bool growFor(std::uint64_t needed);

 private:
  bool reallocate(std::uint32_t newCapacity);
  bool openGap(std::uint32_t at, std::uint32_t count);
  bool insertCopy(std::uint32_t at, const void* src, std::uint32_t count, std::uint32_t srcIndex);
  std::uint32_t clampCount(std::uint32_t from, std::uint32_t count) const;
  void clampPosition();
  bool movePosition(std::uint64_t position);

  const std::uint32_t shift_;
  std::uint8_t* elements_ = nullptr;
  std::uint32_t length_ = 0;
  std::uint32_t capacity_ = 0;
  std::uint64_t position_ = 0;  // byte offset of the stream faces
};

}  // namespace s::col::_array
