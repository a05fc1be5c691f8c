#pragma once

#include "gui/drawer/ICombo.h"

namespace s::gui::drawer::combo {

// The flat drop-down field of the thin look.
class IThin : public ICombo {
 public:
  ~IThin() override = default;
};

}  // namespace s::gui::drawer::combo
