#include "map/Map.h"

#include <cstdlib>

#include "base/IDestructor.h"

namespace s::map {

namespace {

s::thread::EasyPooler& entryPool() {
  return s::thread::recordPool<Map::Entry, sizeof(Map::Entry)>();
}

}  // namespace

Map::Map(s::base::IDestructor* keyDisposer, s::base::IDestructor* keyDisposerAtDestruction) {
  setDisposers(keyDisposer, keyDisposerAtDestruction);
}

Map::~Map() {
  dropEntries(keyDisposerAtDestruction_, false);
}

void Map::setDisposers(s::base::IDestructor* keyDisposer,
                       s::base::IDestructor* keyDisposerAtDestruction) {
  keyDisposer_ = keyDisposer;
  keyDisposerAtDestruction_ = keyDisposerAtDestruction;
}

std::uint32_t Map::hashOf(const s::base::IObject* key) const {
  if (key == nullptr) return 0;
  return ignoreCase_ ? key->hashCodeIgnoreCase() : key->hashCode();
}

Map::Entry** Map::findSlot(std::uint32_t hash, const s::base::IObject* key) const {
  return chains_.findSlot(hash, key, ignoreCase_);
}

bool Map::contains(const s::base::IObject* key) const {
  Entry** slot = findSlot(hashOf(key), key);
  return slot != nullptr && *slot != nullptr;
}

bool Map::addEntry(std::uint32_t hash, s::base::IObject* key, void* keyPtr) {
  if (key == nullptr || !chains_.prepareForAdd()) return false;
  Entry** slot = findSlot(hash, key);
  if (*slot != nullptr) return false;
  auto* entry = static_cast<Entry*>(entryPool().take());
  if (entry == nullptr) return false;
  *entry = Entry{hash, key, keyPtr, nullptr};
  chains_.link(slot, entry);
  return true;
}

void Map::dropEntries(s::base::IDestructor* keys, bool toPool) {
  chains_.forEach([&](Entry* e) {
    if (keys != nullptr && e->keyPtr != nullptr) keys->destroy(&e->keyPtr);
    if (toPool) {
      entryPool().giveBack(e);
    } else {
      std::free(e);
    }
  });
  chains_.emptyBuckets();
}

void Map::clearEntries() {
  dropEntries(nullptr, true);
}

void Map::reset() {
  dropEntries(keyDisposer_, true);
  chains_.freeBuckets();
  setDisposers(nullptr, nullptr);
  ignoreCase_ = false;
}

}  // namespace s::map
