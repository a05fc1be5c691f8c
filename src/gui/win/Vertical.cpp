#include "gui/win/Vertical.h"

#include "gui/win/Arrange.h"

namespace s::gui::win {

void Vertical::layout(IContainer* container) {
  if (container != nullptr) Arrange::column(*container, Arrange::Settings{});
}

Vertical& Vertical::shared() {
  static Vertical* const instance = Vertical::create();
  return *instance;
}

}  // namespace s::gui::win
