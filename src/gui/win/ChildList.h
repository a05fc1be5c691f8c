#pragma once

#include <cstdint>
#include <vector>

#include "gui/IComponent.h"

namespace s::gui::win {

// The ordered children of a container (a window, a box, a status bar):
// appending attaches a child to its owner, taking one out detaches it and,
// when asked, gives it back to its pool. The owner lays out afterwards.
// Interface thread only (the owner passes calls there).
class ChildList {
 public:
  explicit ChildList(IComponent& owner) : owner_(owner) {}
  ChildList(const ChildList&) = delete;
  ChildList& operator=(const ChildList&) = delete;

  // Appends `child` and attaches it to the owner. Ignores null and a child
  // that is already in the list.
  void add(IComponent* child);
  // Takes `child` out and detaches it; with `release`, a container's own
  // children go first and the child returns to its pool. False when the
  // child was not in the list (then nothing happens).
  bool remove(IComponent* child, bool release);
  // remove() for every child, last first.
  void removeAll(bool release);
  std::int32_t count() const { return static_cast<std::int32_t>(children_.size()); }
  bool empty() const { return children_.empty(); }
  // Child `i`; null when out of range.
  IComponent* at(std::int32_t i) const;
  const std::vector<IComponent*>& all() const { return children_; }
  // Every child starts (ends) deferring its geometry.
  void beginDeferring();
  void endDeferring();

 private:
  IComponent& owner_;
  std::vector<IComponent*> children_;
};

}  // namespace s::gui::win
