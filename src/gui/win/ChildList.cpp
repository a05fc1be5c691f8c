#include "gui/win/ChildList.h"

#include <algorithm>

#include "thread/IPoolable.h"

namespace s::gui::win {

void ChildList::add(IComponent* child) {
  if (child == nullptr || std::find(children_.begin(), children_.end(), child) != children_.end())
    return;
  children_.push_back(child);
  child->setParent(&owner_);
}

bool ChildList::remove(IComponent* child, bool release) {
  auto found = std::find(children_.begin(), children_.end(), child);
  if (found == children_.end()) return false;
  children_.erase(found);
  if (release && child->isContainer()) child->removeAll(true);
  child->setParent(nullptr);
  if (release) {
    if (auto* pooled = dynamic_cast<s::thread::IPoolable*>(child)) pooled->release();
  }
  return true;
}

void ChildList::removeAll(bool release) {
  while (!children_.empty()) remove(children_.back(), release);
}

IComponent* ChildList::at(std::int32_t i) const {
  return i >= 0 && static_cast<std::size_t>(i) < children_.size()
             ? children_[static_cast<std::size_t>(i)]
             : nullptr;
}

void ChildList::beginDeferring() {
  for (IComponent* child : children_) child->beginDeferring();
}

void ChildList::endDeferring() {
  for (IComponent* child : children_) child->endDeferring();
}

}  // namespace s::gui::win
