#pragma once

#include "gui/drawer/IText.h"

namespace s::gui::drawer::text {

// The plain text drawer: the default of labels when no theme is bound.
class IBasic : public IText {
 public:
  ~IBasic() override = default;
};

}  // namespace s::gui::drawer::text
