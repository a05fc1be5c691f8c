#pragma once

#include <cstddef>
#include <cstdint>

#include "base/IDestructor.h"
#include "base/IGenerator.h"
#include "base/IObject.h"
#include "thread/ObjLocker.h"
#include "thread/PointerStack.h"

namespace s::thread {

// A pool of objects of one kind: a free list of kept objects (last in, first
// out) and the three functions that build, reset and destroy one object.
// Classes use it through src/thread/Pooled.h, which gives each pooled class
// one process-wide EasyPooler; raw records use recordPool() from there.
//
// Objects travel as void*: the pool's own pointer kind (X* for a pool of X)
// converted to void*. Any thread may take and give back; the lock guards the
// free list only. Building and destroying run outside the lock, resetting
// inside it (the lock is re-entrant, so a reset may give children back to the
// same pool).
class EasyPooler : public s::base::IObject,
                   public s::base::IGenerator,
                   public s::base::IDestructor {
 public:
  using CreateFn = void* (*)();       // allocate + construct one object
  using DisposeFn = void (*)(void*);  // destroy one object (null is ignored)
  using ResetFn = void (*)(void*);    // back to the fresh state (null is ignored)

  // A pool that keeps up to `maxCount` objects (0 or less: keeps none).
  EasyPooler(std::int32_t maxCount, CreateFn createFn, DisposeFn disposeFn, ResetFn resetFn);

  // Disposes of every kept object (oldest first). Objects taken and never
  // given back are not touched.
  ~EasyPooler() override;

  EasyPooler(const EasyPooler&) = delete;
  EasyPooler& operator=(const EasyPooler&) = delete;

  // The most recently kept object, or a newly built one when none is kept
  // (built outside the lock). A kept object is not reset again. Null only
  // when building failed (memory exhausted). Never throws. Any thread.
  void* take();

  // Takes `object` back: resets it and keeps it while fewer than the cap are
  // kept, else destroys it (outside the lock). Null is ignored. The object
  // must come from this pool's kind and must not be used afterwards. Never
  // throws. Any thread.
  void giveBack(void* object);

  // The cap given at construction (0 after close()). Any thread.
  std::int32_t getMaxCount();

  // How many objects are kept right now. Any thread.
  std::size_t getKeptCount();

  // Disposes of every kept object and keeps none from then on: later
  // give-backs destroy at once. Used when the process ends, so that a pool
  // stays usable by whoever still gives objects back. Any thread.
  void close();

  // IObject: "s_thread_EasyPooler"; newInstance() is a new, empty pool with
  // the same cap and functions (allocated, end it with delete).
  const char16_t* getClassName() const override { return u"s_thread_EasyPooler"; }
  s::base::IObject* newInstance() override;

  // IGenerator: take().
  void* generate() override { return take(); }

  // IDestructor: gives the slot's object back and nulls the slot; an empty
  // slot is left alone.
  void destroy(void** slot) override;

 private:
  void disposeAll(PointerStack& objects);

  ObjLocker lock_;
  PointerStack freeList_;  // guarded by lock_
  std::int32_t maxCount_;  // guarded by lock_
  const CreateFn createFn_;
  const DisposeFn disposeFn_;
  const ResetFn resetFn_;
};

}  // namespace s::thread
