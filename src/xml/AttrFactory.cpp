#include "xml/AttrFactory.h"

#include <cstdlib>
#include <cstring>

namespace s::xml {

AttrFactory::~AttrFactory() {
  clear();
}

AttrFactory& AttrFactory::instance() {
  static AttrFactory* const factory = new AttrFactory();
  return *factory;
}

void AttrFactory::clearRecord(AttrRecord* record) {
  if (record == nullptr) return;
  std::free(record->name);
  std::free(record->value);
  std::memset(record, 0, sizeof(AttrRecord));
}

void* AttrFactory::generate() {
  return std::calloc(1, sizeof(AttrRecord));
}

void AttrFactory::resetObject(void* object) {
  clearRecord(static_cast<AttrRecord*>(object));
}

void AttrFactory::destroyObject(void** slot) {
  if (slot == nullptr || *slot == nullptr) return;
  clearRecord(static_cast<AttrRecord*>(*slot));
  std::free(*slot);
  *slot = nullptr;
}

}  // namespace s::xml
