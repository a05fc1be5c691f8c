#pragma once

namespace s::base {

// Something that produces objects (pools hand out kept or new ones).
class IGenerator {
 public:
  virtual ~IGenerator() = default;

  // A new object owned by the caller, as the generator's own pointer type
  // converted to void* (a pool of X hands out X* as void*). Null only when
  // memory is exhausted. Never throws. Which thread may call it is the
  // generator's rule (every pool: any thread).
  virtual void* generate() = 0;
};

}  // namespace s::base
