#pragma once

#include <mutex>

#include "base/IObject.h"

namespace s::base {
class IDestructor;
}

namespace s::thread {

// The framework's lock: a re-entrant critical section (the owning thread may
// lock again; each lock() needs its unlock()) that may also own one object,
// typically a process-wide scratch object used only while the lock is held.
//
// Usable with std::lock_guard / std::unique_lock (lock() and unlock()), or
// with the Guard below. Not pooled: newInstance() allocates a new ObjLocker.
//
// The held object is disposed of when the locker is destroyed (or replaced),
// by the first rule that applies: the deleter function if one is set; else
// the disposer's destroy(); else the memory is freed with std::free (so an
// object held without deleter or disposer must be C-heap memory).
class ObjLocker : public s::base::IObject {
 public:
  using Deleter = void (*)(void*);

  // Holds nothing.
  ObjLocker() = default;
  // Holds `held`, to be disposed of by `deleter` (may be null).
  ObjLocker(void* held, Deleter deleter) : held_(held), deleter_(deleter) {}
  // Holds `held`, to be disposed of through `disposer` (may be null).
  ObjLocker(void* held, s::base::IDestructor* disposer) : held_(held), disposer_(disposer) {}
  ~ObjLocker() override;

  ObjLocker(const ObjLocker&) = delete;
  ObjLocker& operator=(const ObjLocker&) = delete;

  // Enters the section; blocks while another thread is in it. Re-entrant on
  // the owning thread. Never throws. Any thread.
  void lock() { section_.lock(); }

  // Leaves the section once. Only the thread that holds it may call it.
  void unlock() { section_.unlock(); }

  // Enters the section only if it is free or already held by this thread.
  // True when entered. Never blocks, never throws.
  bool tryLock() { return section_.try_lock(); }

  // The held object, or null. Read it, and use it, only while holding the
  // lock (except during single-threaded set-up).
  void* getHeld() const { return held_; }

  // Disposes of the object held so far (by its rule above), then holds
  // `held` with the new rule. Call while holding the lock, or before the
  // locker is shared. Never throws.
  void setHeld(void* held, Deleter deleter);
  void setHeld(void* held, s::base::IDestructor* disposer);

  const char16_t* getClassName() const override { return u"s_thread_ObjLocker"; }
  s::base::IObject* newInstance() override { return new ObjLocker(); }

  // Scoped lock: locks in the constructor, unlocks in the destructor.
  class Guard {
   public:
    explicit Guard(ObjLocker& locker) : locker_(locker) { locker_.lock(); }
    ~Guard() { locker_.unlock(); }
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;

   private:
    ObjLocker& locker_;
  };

 private:
  void disposeHeld();

  void* held_ = nullptr;
  Deleter deleter_ = nullptr;
  s::base::IDestructor* disposer_ = nullptr;
  std::recursive_mutex section_;
};

}  // namespace s::thread
