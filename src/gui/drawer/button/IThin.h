#pragma once

#include "gui/drawer/IButton.h"

namespace s::gui::drawer::button {

// The thin look's button: a shaded frame around a centred caption or symbol.
class IThin : public IButton {
 public:
  ~IThin() override = default;
};

}  // namespace s::gui::drawer::button
