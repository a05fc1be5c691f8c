#pragma once

#include "gui/events/Switcher.h"
#include "thread/Pooled.h"

namespace s::gui::events {

// Disables its targets when its source raises an event.
class Disabler final : public Switcher {
  VONQ_POOLED(Disabler, s::thread::kPoolCap)
 public:
  Disabler() : Switcher(false) {}
  const char16_t* getClassName() const override { return u"s_gui_events_Disabler"; }
};

}  // namespace s::gui::events
