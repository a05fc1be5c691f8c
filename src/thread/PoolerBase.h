#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/IDestructor.h"
#include "base/IGenerator.h"
#include "base/IObject.h"
#include "thread/ObjLocker.h"
#include "thread/PointerStack.h"

namespace s::thread {

// A pool whose per-object hooks are virtual operations, with an optional
// limit on the summed size of the kept objects. Subclasses say how an object
// is built (generate), reset (resetObject) and destroyed (destroyObject).
//
// Any thread may take and give back. The lock guards the free list and the
// size total; resetObject runs under it (re-entrant), generate and
// destroyObject outside it.
//
// A subclass must call clear() in its own destructor: the kept objects can
// only be destroyed while the subclass's destroyObject still exists.
class PoolerBase : public s::base::IObject,
                   public s::base::IGenerator,
                   public s::base::IDestructor {
 public:
  PoolerBase() = default;
  ~PoolerBase() override = default;

  PoolerBase(const PoolerBase&) = delete;
  PoolerBase& operator=(const PoolerBase&) = delete;

  const char16_t* getClassName() const override { return u"s_thread_PoolerBase"; }

  // The size an object counts for under size tracking; 1024 by default.
  // Called under the lock.
  virtual std::uint32_t sizeOf(void* object);

  // Takes `object` back. A negative `size` means that sizeOf(object) is asked
  // (only with size tracking on). Keeps the object (after resetObject) when
  // the list holds no more than the count cap and, with size tracking, when
  // size <= the item cap and the total stays within the total cap; otherwise
  // destroys it with destroyObject. Null is ignored. Never throws.
  virtual void giveBack(void* object, std::int64_t size = -1);

  // The most recently kept object (lowering the size total by the size it
  // was kept with), or generate() when none is kept. Never throws.
  virtual void* take();

  // Brings `object` back to its fresh state. Called under the lock.
  virtual void resetObject(void* object) = 0;

  // Disposes of the object `*slot` holds and nulls the slot. Called outside
  // the lock.
  virtual void destroyObject(void** slot) = 0;

  // IDestructor: giveBack(*slot, -1), then nulls the slot. An empty slot is
  // left alone.
  void destroy(void** slot) override;

  // Caps and size tracking (defaults 1000, 1024, 102400, off). Any thread.
  void setMaxCount(std::uint32_t maxCount);
  void setMaxItemSize(std::uint32_t maxItemSize);
  void setMaxTotalSize(std::uint32_t maxTotalSize);
  void setSizeTracking(bool on);

  // The summed size of the kept objects (0 unless tracking). Any thread.
  std::uint32_t getTotalSize();
  // How many objects are kept. Any thread.
  std::size_t getKeptCount();

 protected:
  // Destroys every kept object (oldest first) and empties the list. Any
  // thread; subclasses call it from their destructor.
  void clear();

 private:
  bool mayKeep(std::uint32_t size) const;

  ObjLocker lock_;
  PointerStack freeList_;             // guarded by lock_
  std::vector<std::uint32_t> sizes_;  // size each kept object was counted with
  std::uint32_t maxCount_ = 1000;
  std::uint32_t maxItemSize_ = 1024;
  std::uint32_t maxTotalSize_ = 102400;
  std::uint32_t totalSize_ = 0;
  bool sizeTracking_ = false;
};

}  // namespace s::thread
