#pragma once

#include <cstdint>

namespace s::xml {

// One attribute of an element, or one run of its text (a record whose name is
// empty: nameLength 0, name null). Both texts live on the C heap, each with a
// terminating zero, and belong to the record; they hold the stored form
// (entities not decoded). Records come zero-filled from the AttrFactory pool
// and go back to it.
struct AttrRecord {
  std::uint32_t nameLength;
  char16_t* name;
  std::uint32_t valueLength;
  char16_t* value;
};

}  // namespace s::xml
