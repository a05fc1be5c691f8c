#include "gui/win/FlowH.h"

#include "gui/win/Arrange.h"

namespace s::gui::win {

void FlowH::layout(IContainer* container) {
  if (container != nullptr) Arrange::flow(*container, Arrange::Settings{});
}

}  // namespace s::gui::win
