#include "gui/events/Switcher.h"

#include "gui/IComponent.h"

namespace s::gui::events {

void Switcher::addTarget(s::gui::IComponent* target) {
  if (target != nullptr) targets_.push_back(target);
}

void Switcher::onEvent(s::base::IObject* sender, std::int32_t) {
  if (sender == nullptr || sender != source_) return;
  for (s::gui::IComponent* target : targets_) target->setEnabled(enable_);
}

void Switcher::reset() {
  source_ = nullptr;
  targets_.clear();
}

}  // namespace s::gui::events
