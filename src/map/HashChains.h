#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "base/IObject.h"
#include "col/_array/ArrayP.h"

namespace s::map {

// The chained buckets shared by MapTable and Map: a pointer array of chain
// heads sized from a fixed list of primes, the size class into that list and
// the entry count. `Entry` has the fields hash, key (the IObject face used
// for equality) and next. Keys are compared through their own
// equals/equalsIgnoreCase; stored hashes are reused when the table grows.
// Not thread-safe: the owner of the table decides who uses it.
template <class Entry>
class HashChains {
 public:
  static constexpr std::uint32_t kClasses = 20;
  static constexpr std::uint32_t kBucketCounts[kClasses] = {
      211,    431,    863,    1733,    3467,    6947,    13901,    27803,    55609,    111227,
      222461, 444929, 889871, 1779761, 3559537, 7119103, 14238221, 28476473, 56952947, 113905901};

  std::uint32_t count() const { return count_; }
  std::uint32_t sizeClass() const { return sizeClass_; }
  std::uint32_t bucketCount() const { return buckets_.length(); }

  // Before a new entry may be linked: allocates the buckets of the current
  // class when there are none, else grows one class when the count reached
  // half the bucket count. False only when there are no buckets and none
  // could be had (a failed growth keeps the old buckets: still correct).
  bool prepareForAdd() {
    if (buckets_.length() == 0) return allocate(sizeClass_, buckets_);
    if (count_ >= kBucketCounts[sizeClass_] / 2) growTo(sizeClass_ + 1);
    return true;
  }

  // The link holding the entry whose stored hash is `hash` and whose key
  // equals `key`, or the empty link at the end of its chain. Null when the
  // table has no buckets yet or `key` is null.
  Entry** findSlot(std::uint32_t hash, const s::base::IObject* key, bool ignoreCase) const {
    const std::uint32_t n = buckets_.length();
    if (n == 0 || key == nullptr) return nullptr;
    auto** link = reinterpret_cast<Entry**>(const_cast<void*>(buckets_.elementPointer(hash % n)));
    while (*link != nullptr) {
      const Entry* e = *link;
      if (e->hash == hash && (ignoreCase ? e->key->equalsIgnoreCase(key) : e->key->equals(key))) {
        break;
      }
      link = &(*link)->next;
    }
    return link;
  }

  // Links `entry` into the empty link `slot` (from findSlot).
  void link(Entry** slot, Entry* entry) {
    *slot = entry;
    ++count_;
  }

  // Calls visit(entry) for every entry, bucket by bucket, each chain in
  // order. `visit` may free the entry (its next link is read before).
  template <class Visit>
  void forEach(Visit visit) const {
    for (std::uint32_t b = 0; b < buckets_.length(); ++b) {
      Entry* e = static_cast<Entry*>(buckets_.get(b));
      while (e != nullptr) {
        Entry* next = e->next;
        visit(e);
        e = next;
      }
    }
  }

  // A new pooled ArrayP listing every entry in forEach order (owned by the
  // caller; it owns the list, not the entries). Null when memory is
  // exhausted.
  s::col::_array::ArrayP* entries() const {
    s::col::_array::ArrayP* list = s::col::_array::ArrayP::create();
    if (list == nullptr) return nullptr;
    if (!list->ensureCapacity(count_)) {
      list->release();
      return nullptr;
    }
    forEach([list](Entry* e) { list->add(e); });
    return list;
  }

  // Empties every bucket (the bucket storage is kept); count 0. The entries
  // themselves are the caller's business (forEach them first).
  void emptyBuckets() {
    if (buckets_.length() != 0) {
      std::memset(buckets_.data(), 0, static_cast<std::size_t>(buckets_.byteSize()));
    }
    count_ = 0;
  }

  // Frees the bucket storage; size class 0, count 0.
  void freeBuckets() {
    buckets_.freeStorage();
    sizeClass_ = 0;
    count_ = 0;
  }

 private:
  static bool allocate(std::uint32_t sizeClass, s::col::_array::ArrayP& buckets) {
    buckets.clear();
    return buckets.setLength(kBucketCounts[sizeClass]);  // zero-filled
  }

  // Rehashes into the buckets of class k (capped at the last class); only
  // when there are buckets and the current class is below k.
  void growTo(std::uint32_t k) {
    if (k >= kClasses) k = kClasses - 1;
    if (buckets_.length() == 0 || sizeClass_ >= k) return;
    s::col::_array::ArrayP fresh;
    if (!allocate(k, fresh)) return;
    const std::uint32_t n = fresh.length();
    auto** heads = reinterpret_cast<Entry**>(fresh.items());
    // Tail of each new chain, so entries keep their order: bucket by bucket,
    // each old chain in order, appended at the end of the new chain.
    s::col::_array::ArrayP tails;
    if (!tails.setLength(n)) return;
    auto** last = reinterpret_cast<Entry**>(tails.items());
    forEach([&](Entry* e) {
      e->next = nullptr;
      const std::uint32_t b = e->hash % n;
      (last[b] == nullptr ? heads[b] : last[b]->next) = e;
      last[b] = e;
    });
    buckets_.swapStorage(fresh);  // the old buckets go with `fresh`
    sizeClass_ = k;
  }

  s::col::_array::ArrayP buckets_;  // chain heads, no disposer
  std::uint32_t sizeClass_ = 0;
  std::uint32_t count_ = 0;
};

}  // namespace s::map
