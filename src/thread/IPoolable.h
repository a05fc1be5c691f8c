#pragma once

namespace s::thread {

// An object that can be recycled: handed back to its class's pool instead of
// being deleted, and brought back to its fresh state on the way in.
//
// A class reached through several interfaces that each derive from
// IPoolable (for example through virtual bases) answers release() and
// reset() the same on all of them: one override serves every face.
class IPoolable {
 public:
  virtual ~IPoolable() = default;

  // Gives this object back to its class's pool (which resets it, keeps it
  // up to the class's cap, else deletes it). The caller must not use the
  // object afterwards. Never throws. Called by the object's owner, on any
  // thread.
  virtual void release() = 0;

  // Brings the object back to the state of a freshly constructed one (empty
  // text, empty list, zero counters, owned child objects released). Classes
  // whose constructor sets non-trivial initial values call reset() at the end
  // of their constructor so that new and recycled objects start alike. Never
  // throws. Called by the pool (under its lock) or by the owner.
  virtual void reset() = 0;
};

}  // namespace s::thread
