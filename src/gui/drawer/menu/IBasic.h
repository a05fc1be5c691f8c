#pragma once

#include "gui/drawer/IMenu.h"

namespace s::gui::drawer::menu {

// The plain menu bar drawer: the default of menu bars when no theme is
// bound.
class IBasic : public IMenu {
 public:
  ~IBasic() override = default;
};

}  // namespace s::gui::drawer::menu
