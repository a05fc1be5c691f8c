#include "gui/win/Pile.h"

#include "gui/win/Arrange.h"

namespace s::gui::win {

void Pile::layout(IContainer* container) {
  if (container != nullptr) Arrange::pile(*container, Arrange::Settings{});
}

}  // namespace s::gui::win
