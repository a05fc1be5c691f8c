#include "xml/Attributes.h"

#include "xml/AttrFactory.h"
#include "xml/HeapText.h"

namespace s::xml {

Attributes::Attributes() {
  records_.setDisposer(&AttrFactory::instance());
}

Attributes::~Attributes() {
  clear();
}

bool Attributes::add(const char16_t* name, std::uint32_t nameLength, const char16_t* value,
                     std::uint32_t valueLength) {
  AttrFactory& factory = AttrFactory::instance();
  AttrRecord* record = factory.takeRecord();
  if (record == nullptr) return false;
  if (nameLength > 0) {
    record->name = heapCopy(name, nameLength);
    record->nameLength = nameLength;
  }
  record->value = heapCopy(value, valueLength);
  record->valueLength = valueLength;
  const bool stored = (nameLength == 0 || record->name != nullptr) && record->value != nullptr &&
                      records_.add(record);
  if (!stored) factory.giveBack(record);
  return stored;
}

const AttrRecord* Attributes::find(const char16_t* name, std::int32_t length) const {
  const std::uint32_t n = textLength(name, length);
  for (std::uint32_t i = 0; i < records_.length(); ++i) {
    const AttrRecord* record = get(i);
    if (record->nameLength == n && equalsAsciiIgnoreCase(record->name, name, n)) return record;
  }
  return nullptr;
}

void Attributes::clear() {
  records_.freeStorage();
}

}  // namespace s::xml
