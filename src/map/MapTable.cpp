#include "map/MapTable.h"

#include <cstdlib>

#include "base/IDestructor.h"

namespace s::map {

namespace {

s::thread::EasyPooler& entryPool() {
  return s::thread::recordPool<MapTable::Entry, sizeof(MapTable::Entry)>();
}

void disposeOf(s::base::IDestructor* disposer, void* object) {
  if (disposer != nullptr && object != nullptr) disposer->destroy(&object);
}

}  // namespace

MapTable::MapTable(s::base::IDestructor* keyDisposer,
                   s::base::IDestructor* keyDisposerAtDestruction,
                   s::base::IDestructor* valueDisposer,
                   s::base::IDestructor* valueDisposerAtDestruction) {
  setDisposers(keyDisposer, keyDisposerAtDestruction, valueDisposer, valueDisposerAtDestruction);
}

MapTable::~MapTable() {
  dropEntries(keyDisposerAtDestruction_, valueDisposerAtDestruction_, false);
}

void MapTable::setDisposers(s::base::IDestructor* keyDisposer,
                            s::base::IDestructor* keyDisposerAtDestruction,
                            s::base::IDestructor* valueDisposer,
                            s::base::IDestructor* valueDisposerAtDestruction) {
  keyDisposer_ = keyDisposer;
  keyDisposerAtDestruction_ = keyDisposerAtDestruction;
  valueDisposer_ = valueDisposer;
  valueDisposerAtDestruction_ = valueDisposerAtDestruction;
}

std::uint32_t MapTable::hashOf(const s::base::IObject* key) const {
  if (key == nullptr) return 0;
  return ignoreCase_ ? key->hashCodeIgnoreCase() : key->hashCode();
}

MapTable::Entry** MapTable::findSlot(std::uint32_t hash, const s::base::IObject* key) const {
  return chains_.findSlot(hash, key, ignoreCase_);
}

void* MapTable::get(std::uint32_t hash, const s::base::IObject* key) const {
  Entry** slot = findSlot(hash, key);
  return slot != nullptr && *slot != nullptr ? (*slot)->value : nullptr;
}

bool MapTable::putEntry(std::uint32_t hash, s::base::IObject* key, void* keyPtr, void* value) {
  if (key == nullptr || !chains_.prepareForAdd()) return false;
  Entry** slot = findSlot(hash, key);
  if (*slot != nullptr) return false;
  auto* entry = static_cast<Entry*>(entryPool().take());
  if (entry == nullptr) return false;
  *entry = Entry{hash, key, keyPtr, value, nullptr};
  chains_.link(slot, entry);
  return true;
}

void MapTable::dropEntries(s::base::IDestructor* keys, s::base::IDestructor* values, bool toPool) {
  chains_.forEach([&](Entry* e) {
    disposeOf(keys, e->keyPtr);
    disposeOf(values, e->value);
    if (toPool) {
      entryPool().giveBack(e);
    } else {
      std::free(e);
    }
  });
  chains_.emptyBuckets();
}

void MapTable::clearEntries() {
  dropEntries(nullptr, nullptr, true);
}

void MapTable::reset() {
  dropEntries(keyDisposer_, valueDisposer_, true);
  chains_.freeBuckets();
  setDisposers(nullptr, nullptr, nullptr, nullptr);
  ignoreCase_ = false;
}

}  // namespace s::map
