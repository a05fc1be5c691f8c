#pragma once

#include <vector>

#include "base/IObject.h"
#include "gui/IEventListener.h"
#include "thread/IPoolable.h"

namespace s::gui {
class IComponent;
}

namespace s::gui::events {

// Enables (an Enabler) or disables (a Disabler) its targets, in order,
// whenever its source raises an event it listens to; events from anyone
// else are ignored. Targets are not owned. Pooled.
class Switcher : public s::gui::IEventListener,
                 public virtual s::base::IObject,
                 public virtual s::thread::IPoolable {
 public:
  explicit Switcher(bool enable) : enable_(enable) {}
  void setSource(s::base::IObject* source) { source_ = source; }
  void addTarget(s::gui::IComponent* target);
  void onEvent(s::base::IObject* sender, std::int32_t code) override;
  void reset() override;

 private:
  bool enable_;
  s::base::IObject* source_ = nullptr;
  std::vector<s::gui::IComponent*> targets_;
};

}  // namespace s::gui::events
