#pragma once

#include "base/IComparator.h"
#include "base/IObject.h"

namespace s::comp {

// Element comparator of the arrays of unsigned bytes: compare(a, b) takes pointers to
// two elements. One process-wide instance (instance()); newInstance() makes
// a separate one (end it with delete). Stateless: any thread.
class CompU08 final : public virtual s::base::IObject, public s::base::IComparator {
 public:
  // The process-wide instance, created on first use (safe under concurrent
  // first use). Never null. Any thread.
  static CompU08& instance();

  // -1, 0, 1 comparing the elements a and b point at; a null pointer orders
  // before any element.
  int compare(const void* a, const void* b) const override;

  const char16_t* getClassName() const override { return u"s_comp_CompU08"; }
  s::base::IObject* newInstance() override { return new CompU08(); }
};

}  // namespace s::comp
