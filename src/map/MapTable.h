#pragma once

#include <cstdint>

#include "base/IObject.h"
#include "map/HashChains.h"
#include "thread/IPoolable.h"
#include "thread/ObjLocker.h"
#include "thread/Pooled.h"

namespace s::base {
class IDestructor;
}

namespace s::col::_array {
class ArrayP;
}

namespace s::map {

// A chained hash table from framework objects to values. Keys are compared
// with their own equals (or equalsIgnoreCase when the table ignores case);
// the caller supplies the key's hash (hashCode, or hashCodeIgnoreCase when
// the table ignores case) or lets hashOf() compute it. Buckets grow through
// a fixed list of 20 primes (211, 431, ... 113905901) whenever the count
// reaches half the bucket count, and never past the last.
//
// Entry records come from a process-wide pool (cap 10000). Keys are stored
// twice: as the IObject face for equality and as the pointer the caller
// gave (its own kind, converted to void*), which is what the key disposers
// receive; values are stored as given.
//
// Disposers: the "reset" pair is applied to every key and value when the
// table is reset (or given back); the "destruction" pair when the table is
// destroyed. Null disposers leave keys and values alone. clearEntries()
// never touches keys or values.
//
// The table does not lock; getLock() is there for its owner's convention.
// Pooled (cap 1000): MapTable::create() / release().
class MapTable : public virtual s::base::IObject, public virtual s::thread::IPoolable {
  VONQ_POOLED(MapTable, s::thread::kPoolCap)

 public:
  struct Entry {
    std::uint32_t hash;
    s::base::IObject* key;
    void* keyPtr;
    void* value;
    Entry* next;
  };

  MapTable() = default;
  MapTable(s::base::IDestructor* keyDisposer, s::base::IDestructor* keyDisposerAtDestruction,
           s::base::IDestructor* valueDisposer, s::base::IDestructor* valueDisposerAtDestruction);
  ~MapTable() override;
  MapTable(const MapTable&) = delete;
  MapTable& operator=(const MapTable&) = delete;

  // Sets the four disposers (each may be null).
  void setDisposers(s::base::IDestructor* keyDisposer,
                    s::base::IDestructor* keyDisposerAtDestruction,
                    s::base::IDestructor* valueDisposer,
                    s::base::IDestructor* valueDisposerAtDestruction);
  // Set while the table is empty.
  void setIgnoreCase(bool ignoreCase) { ignoreCase_ = ignoreCase; }
  bool isIgnoreCase() const { return ignoreCase_; }
  s::thread::ObjLocker& getLock() { return lock_; }

  // The hash the table expects for `key` (0 for null).
  std::uint32_t hashOf(const s::base::IObject* key) const;

  // Adds key -> value. True when added (the table then holds key and value
  // under its disposers); false when an equal key is present (its value is
  // kept, nothing changes), `key` is null, or memory is exhausted: the key
  // and value then stay the caller's.
  template <class K>
  bool put(std::uint32_t hash, K* key, void* value) {
    return putEntry(hash, key, const_cast<void*>(static_cast<const void*>(key)), value);
  }
  template <class K>
  bool put(K* key, void* value) {
    return put(hashOf(key), key, value);
  }

  // The link holding the entry of `key`, or the empty link where it would be
  // linked. Null when the table has no buckets yet or `key` is null. Valid
  // until the table changes.
  Entry** findSlot(std::uint32_t hash, const s::base::IObject* key) const;
  // The value stored for `key`, or null when absent.
  void* get(std::uint32_t hash, const s::base::IObject* key) const;
  void* get(const s::base::IObject* key) const { return get(hashOf(key), key); }

  // A new pooled ArrayP of every Entry* (bucket by bucket, each chain in
  // order), owned by the caller; null when memory is exhausted.
  s::col::_array::ArrayP* entries() const { return chains_.entries(); }

  // Gives every entry record back to the pool without touching keys or
  // values; the buckets stay allocated, all empty; count 0.
  void clearEntries();

  std::uint32_t size() const { return chains_.count(); }
  std::uint32_t bucketCount() const { return chains_.bucketCount(); }
  std::uint32_t sizeClass() const { return chains_.sizeClass(); }

  const char16_t* getClassName() const override { return u"s_map_MapTable"; }
  // Disposes of keys and values with the reset disposers, gives the records
  // back, frees the buckets and clears every field.
  void reset() override;

 private:
  bool putEntry(std::uint32_t hash, s::base::IObject* key, void* keyPtr, void* value);
  void dropEntries(s::base::IDestructor* keys, s::base::IDestructor* values, bool toPool);

  s::thread::ObjLocker lock_;
  HashChains<Entry> chains_;
  s::base::IDestructor* keyDisposer_ = nullptr;
  s::base::IDestructor* keyDisposerAtDestruction_ = nullptr;
  s::base::IDestructor* valueDisposer_ = nullptr;
  s::base::IDestructor* valueDisposerAtDestruction_ = nullptr;
  bool ignoreCase_ = false;
};

}  // namespace s::map
