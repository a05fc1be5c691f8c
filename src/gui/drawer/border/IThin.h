#pragma once

#include "gui/drawer/IBorder.h"

namespace s::gui::drawer::border {

// The shaded frame of the thin look's buttons.
class IThin : public IBorder {
 public:
  ~IThin() override = default;
};

}  // namespace s::gui::drawer::border
