#pragma once

// How a class declares itself pooled
// ==================================
//
//   #include "thread/Pooled.h"
//
//   class StrBuffer : public IStr, public virtual s::thread::IPoolable {
//     VONQ_POOLED(StrBuffer, s::thread::kPoolCap)   // or kPoolCapNone, kPoolCapRecords
//    public:
//     StrBuffer();                  // public, no arguments
//     void reset() override;        // back to the freshly constructed state
//     const char16_t* getClassName() const override { return u"s_str_strbuffer_StrBuffer"; }
//   };
//
// VONQ_POOLED(X, cap) must sit inside the class body of X; it opens a `public:`
// section and declares:
//
//   static s::thread::EasyPooler& X::pool();  // X's process-wide pool
//   static X* X::create();                    // a fresh X from the pool (never `new X`)
//   s::base::IObject* newInstance() override; // X::create()
//   void release() override;                  // gives this object back to X's pool
//
// X must derive from s::base::IObject (through its interface) and from
// s::thread::IPoolable (directly or through its interfaces, virtually or not;
// one release()/reset() serves every face). X provides reset() and
// getClassName() itself, and a public default constructor. Users never
// `new` or `delete` an X: create() (or newInstance()) and release().
//
// Every concrete pooled class declares the macro itself; a subclass that
// does not would give its objects back to its base class's pool.
//
// The pool: built on first use (safe when several threads get there at
// once); it is never deleted, so it outlives every user in the process. At
// process exit, in reverse order of creation of the pools (and of other
// function-local singletons), it disposes of the objects it keeps and from
// then on deletes what is given back. When an object is given back, the pool
// runs X's reset() under its lock (re-entrant: a reset may release children
// into the same pool); it builds with `new X()` and deletes outside the lock.
//
// Raw records (hash-table entries: zero-filled C-heap blocks) use
// recordPool<Tag, Size>() instead.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

#include "base/IObject.h"
#include "thread/EasyPooler.h"
#include "thread/IPoolable.h"

namespace s::thread {

// Caps of the class pools: the default; objects that own operating-system
// handles (never kept: release() deletes at once); hash-table entry records.
inline constexpr std::int32_t kPoolCap = 1000;
inline constexpr std::int32_t kPoolCapNone = 0;
inline constexpr std::int32_t kPoolCapRecords = 10000;

namespace detail {

// Closes a process-wide pool at process exit (see Pooled.h's notes).
class PoolCloser {
 public:
  explicit PoolCloser(EasyPooler* pool) : pool_(pool) {}
  ~PoolCloser() { pool_->close(); }
  PoolCloser(const PoolCloser&) = delete;
  PoolCloser& operator=(const PoolCloser&) = delete;

 private:
  EasyPooler* pool_;
};

// A pool that is created once, never deleted, and closed at exit.
inline EasyPooler& processWidePool(EasyPooler* created, const PoolCloser&) {
  return *created;
}

template <class X>
void* createObject() {
  return static_cast<void*>(new (std::nothrow) X());
}

template <class X>
void disposeObject(void* object) {
  delete static_cast<X*>(object);
}

template <class X>
void resetObject(void* object) {
  if (object != nullptr) static_cast<X*>(object)->reset();
}

template <std::size_t Size>
void* createRecord() {
  return std::calloc(1, Size);
}

template <std::size_t Size>
void resetRecord(void* record) {
  if (record != nullptr) std::memset(record, 0, Size);
}

inline void disposeRecord(void* record) {
  std::free(record);
}

}  // namespace detail

// The process-wide pool of class X with cap Cap. Any thread.
template <class X, std::int32_t Cap>
EasyPooler& classPool() {
  static EasyPooler* const pool = new EasyPooler(
      Cap, &detail::createObject<X>, &detail::disposeObject<X>, &detail::resetObject<X>);
  static const detail::PoolCloser closer(pool);
  return detail::processWidePool(pool, closer);
}

// A process-wide pool of zero-filled C-heap records of `Size` bytes (take
// returns a zeroed block, giveBack zero-fills it, disposal frees it). `Tag`
// is any type that tells the pools apart (one pool per owning class).
// Any thread.
template <class Tag, std::size_t Size, std::int32_t Cap = kPoolCapRecords>
EasyPooler& recordPool() {
  static EasyPooler* const pool = new EasyPooler(
      Cap, &detail::createRecord<Size>, &detail::disposeRecord, &detail::resetRecord<Size>);
  static const detail::PoolCloser closer(pool);
  return detail::processWidePool(pool, closer);
}

}  // namespace s::thread

#define VONQ_POOLED(X, CAP)                    \
 public:                                       \
  static ::s::thread::EasyPooler& pool() {     \
    return ::s::thread::classPool<X, (CAP)>(); \
  }                                            \
  static X* create() {                         \
    return static_cast<X*>(pool().take());     \
  }                                            \
  ::s::base::IObject* newInstance() override { \
    return create();                           \
  }                                            \
  void release() override {                    \
    pool().giveBack(static_cast<void*>(this)); \
  }
