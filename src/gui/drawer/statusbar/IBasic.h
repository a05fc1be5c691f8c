#pragma once

#include "gui/drawer/IStatusBar.h"

namespace s::gui::drawer::statusbar {

// The plain status-bar drawer: the default of status bars when no theme is
// bound.
class IBasic : public IStatusBar {
 public:
  ~IBasic() override = default;
};

}  // namespace s::gui::drawer::statusbar
