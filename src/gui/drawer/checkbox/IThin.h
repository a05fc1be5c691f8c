#pragma once

#include "gui/drawer/ICheckBox.h"

namespace s::gui::drawer::checkbox {

// The flat check box of the thin look.
class IThin : public ICheckBox {
 public:
  ~IThin() override = default;
};

}  // namespace s::gui::drawer::checkbox
