#include "col/_array/ArrayP.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "base/IDestructor.h"
#include "comp/CompP.h"
#include "str/IStr.h"

namespace s::col::_array {

namespace {

// One merge sort over a range, moving elements from `src` into `dst`. On
// entry both hold the same elements over [lo, hi).
class MergeSort {
 public:
  MergeSort(ArrayP::SortFn compare, void* userData, bool descending)
      : compare_(compare), userData_(userData), descending_(descending) {}

  void sort(void** src, void** dst, std::uint32_t lo, std::uint32_t hi) const {
    if (hi - lo <= kInsertionMax) {
      insertionSort(dst, lo, hi);
      return;
    }
    const std::uint32_t mid = lo + (hi - lo) / 2;
    sort(dst, src, lo, mid);
    sort(dst, src, mid, hi);
    if (!after(src[mid - 1], src[mid])) {
      std::memcpy(dst + lo, src + lo, (hi - lo) * sizeof(void*));
      return;
    }
    std::uint32_t p = lo;
    std::uint32_t q = mid;
    for (std::uint32_t i = lo; i < hi; ++i) {
      const bool takeLeft = q >= hi || (p < mid && !after(src[p], src[q]));
      dst[i] = takeLeft ? src[p++] : src[q++];
    }
  }

 private:
  static constexpr std::uint32_t kInsertionMax = 6;

  // True when `a` must come after `b` in the requested order.
  bool after(void* a, void* b) const {
    const int c = compare_(a, b, userData_);
    return descending_ ? c < 0 : c > 0;
  }

  void insertionSort(void** a, std::uint32_t lo, std::uint32_t hi) const {
    for (std::uint32_t i = lo + 1; i < hi; ++i) {
      for (std::uint32_t j = i; j > lo && after(a[j - 1], a[j]); --j) {
        void* t = a[j];
        a[j] = a[j - 1];
        a[j - 1] = t;
      }
    }
  }

  const ArrayP::SortFn compare_;
  void* const userData_;
  const bool descending_;
};

}  // namespace

ArrayP::ArrayP() : ArrayBase(sizeof(void*) == 8 ? 3 : 2) {}

ArrayP::~ArrayP() {
  disposeRange(0, length());
}

bool ArrayP::sortPointers(void** array, std::uint32_t count, SortFn compare, void* userData,
                          bool descending) {
  if (count < 2) return true;
  if (array == nullptr || compare == nullptr) return false;
  void** scratch = static_cast<void**>(std::malloc(count * sizeof(void*)));
  if (scratch == nullptr) return false;
  std::memcpy(scratch, array, count * sizeof(void*));
  MergeSort(compare, userData, descending).sort(scratch, array, 0, count);
  std::free(scratch);
  return true;
}

bool ArrayP::sort(SortFn compare, void* userData, bool descending) {
  return sortPointers(items(), length(), compare, userData, descending);
}

void ArrayP::disposeRange(std::uint32_t at, std::uint32_t count) {
  if (disposer_ == nullptr) return;
  void** slots = items();
  for (std::uint32_t i = at; i < at + count; ++i) disposer_->destroy(&slots[i]);
}

void ArrayP::reset() {
  ArrayBase::reset();
  disposer_ = nullptr;
  namer_ = nullptr;
}

std::uint32_t ArrayP::typeDescriptor() const {
  return 0x1000u | sizeof(void*);
}

void ArrayP::appendElementText(s::str::IStr& out, const void* element) const {
  void* pointer;
  std::memcpy(&pointer, element, sizeof(pointer));
  if (namer_ != nullptr && pointer != nullptr) out.append(namer_(pointer));
  out.appendChar(u'(');
  out.appendNumber(static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(pointer)));
  out.appendChar(u')');
}

void ArrayP::appendElementXml(s::str::IStr&, const void*) const {}

const s::base::IComparator* ArrayP::getComparator() const {
  return &s::comp::CompP::instance();
}

}  // namespace s::col::_array
