#pragma once

#include <cstdint>

#include "base/IObject.h"
#include "map/HashChains.h"
#include "thread/IPoolable.h"
#include "thread/Pooled.h"

namespace s::base {
class IDestructor;
}

namespace s::col::_array {
class ArrayP;
}

namespace s::map {

// A chained hash set of framework objects: MapTable without values (see
// there for hashing, growth, equality and how keys are stored and disposed
// of). Entry records come from a pool of their own (cap 10000).
//
// Not locked: one thread at a time, by its owner's convention.
// Pooled (cap 1000): Map::create() / release().
class Map : public virtual s::base::IObject, public virtual s::thread::IPoolable {
  VONQ_POOLED(Map, s::thread::kPoolCap)

 public:
  struct Entry {
    std::uint32_t hash;
    s::base::IObject* key;
    void* keyPtr;
    Entry* next;
  };

  Map() = default;
  Map(s::base::IDestructor* keyDisposer, s::base::IDestructor* keyDisposerAtDestruction);
  ~Map() override;
  Map(const Map&) = delete;
  Map& operator=(const Map&) = delete;

  void setDisposers(s::base::IDestructor* keyDisposer,
                    s::base::IDestructor* keyDisposerAtDestruction);
  // Set while the set is empty.
  void setIgnoreCase(bool ignoreCase) { ignoreCase_ = ignoreCase; }
  bool isIgnoreCase() const { return ignoreCase_; }

  // The hash the set expects for `key` (0 for null).
  std::uint32_t hashOf(const s::base::IObject* key) const;

  // Adds `key`. True when added (the set then holds it under its
  // disposers); false when an equal key is present, `key` is null, or
  // memory is exhausted: the key then stays the caller's.
  template <class K>
  bool add(std::uint32_t hash, K* key) {
    return addEntry(hash, key, const_cast<void*>(static_cast<const void*>(key)));
  }
  template <class K>
  bool add(K* key) {
    return add(hashOf(key), key);
  }

  // The link holding the entry of `key`, or the empty link where it would be
  // linked; null when there are no buckets yet or `key` is null.
  Entry** findSlot(std::uint32_t hash, const s::base::IObject* key) const;
  bool contains(const s::base::IObject* key) const;

  // A new pooled ArrayP of every Entry*, owned by the caller; null when
  // memory is exhausted.
  s::col::_array::ArrayP* entries() const { return chains_.entries(); }
  // Gives every record back without touching the keys; buckets kept, empty.
  void clearEntries();

  std::uint32_t size() const { return chains_.count(); }
  std::uint32_t bucketCount() const { return chains_.bucketCount(); }

  const char16_t* getClassName() const override { return u"s_map_Map"; }
  // Disposes of the keys with the reset disposer, gives the records back,
  // frees the buckets and clears every field.
  void reset() override;

 private:
  bool addEntry(std::uint32_t hash, s::base::IObject* key, void* keyPtr);
  void dropEntries(s::base::IDestructor* keys, bool toPool);

  HashChains<Entry> chains_;
  s::base::IDestructor* keyDisposer_ = nullptr;
  s::base::IDestructor* keyDisposerAtDestruction_ = nullptr;
  bool ignoreCase_ = false;
};

}  // namespace s::map
