#pragma once

#include "base/IComparable.h"

namespace s::base {

// The root interface of every framework class.
class IObject : public IComparable {
 public:
  ~IObject() override = default;

  // The class's name as a zero-terminated UTF-16 text of static lifetime:
  // "s", the namespace path and the class name joined with underscores
  // ("s_thread_EasyPooler"). Never null, never throws. Any thread.
  virtual const char16_t* getClassName() const = 0;

  // A new object of the same class in its freshly constructed state, owned
  // by the caller. Pooled classes take it from the class pool (give it back
  // with release()); other classes allocate it (end it with delete). Never
  // throws; may return null only when memory is exhausted. Any thread.
  virtual IObject* newInstance() = 0;
};

}  // namespace s::base
