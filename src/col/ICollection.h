#pragma once

#include <cstdint>

#include "base/IObject.h"

namespace s::str {
class IStr;
}

namespace s::col {

// A container of elements with a length, a text form for debugging and an
// XML form. Containers are used by one thread at a time (their owner's);
// none of the operations throws.
class ICollection : public virtual s::base::IObject {
 public:
  ~ICollection() override = default;

  // The class name again (the same text as getClassName()). Never null.
  virtual const char16_t* getTypeName() const = 0;

  // Elements in use.
  virtual std::uint32_t length() const = 0;

  // Length 0 (and stream position 0); the storage is kept and no element is
  // disposed of.
  virtual void clear() = 0;

  // Frees the storage; containers that own their elements dispose of them
  // first. Afterwards the container is empty and holds no memory.
  virtual void freeStorage() = 0;

  // 0 for an abstract container, 5 for every concrete array.
  virtual std::uint32_t typeCode() const = 0;

  // Writes "<class name> [e0 e1 ...]" with each element's text form. With
  // `append` false the target is emptied first.
  virtual void toDebugText(s::str::IStr& out, bool append) const = 0;

  // Writes <class name length="n">elements' XML</class name>. With `append`
  // false the target is emptied first.
  virtual void toXml(s::str::IStr& out, bool append) const = 0;
};

}  // namespace s::col
