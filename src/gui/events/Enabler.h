#pragma once

#include "gui/events/Switcher.h"
#include "thread/Pooled.h"

namespace s::gui::events {

// Enables its targets when its source raises an event (a check box's
// checked or unchecked listeners).
class Enabler final : public Switcher {
  VONQ_POOLED(Enabler, s::thread::kPoolCap)
 public:
  Enabler() : Switcher(true) {}
  const char16_t* getClassName() const override { return u"s_gui_events_Enabler"; }
};

}  // namespace s::gui::events
