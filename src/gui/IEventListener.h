#pragma once

#include <cstdint>

namespace s::base {
class IObject;
}

namespace s::gui {

// Receives the events of the objects it registered with (components, menus,
// the language table). Listener lists are called in registration order.
class IEventListener {
 public:
  virtual ~IEventListener() = default;

  // `sender` is the object that raised the event; `code` a small integer
  // whose meaning the sender defines. Runs on the thread the sender names
  // for its events (for the interface, the window's interface thread). Must
  // not throw.
  virtual void onEvent(s::base::IObject* sender, std::int32_t code) = 0;
};

}  // namespace s::gui
