#pragma once

namespace s::base {

// Disposes of objects it is handed: containers hold one to end the elements
// they drop; pools give objects back, cleaners delete or free them.
class IDestructor {
 public:
  virtual ~IDestructor() = default;

  // Disposes of the object whose pointer `*slot` holds and sets `*slot` to
  // null. An empty slot (or a null `slot`) is left alone. The pointer must be
  // of the kind the destructor expects (each implementation says which),
  // converted to void*. Never throws. Any thread, unless the implementation
  // says otherwise.
  virtual void destroy(void** slot) = 0;

  // Typed convenience for a variable of any pointer type: disposes of `*p`
  // as destroy() does and nulls `p`. T* must be the pointer kind this
  // destructor expects.
  template <class T>
  void destroyPtr(T*& p) {
    void* slot = const_cast<void*>(static_cast<const volatile void*>(p));
    destroy(&slot);
    p = static_cast<T*>(slot);
  }
};

}  // namespace s::base
