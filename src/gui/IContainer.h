#pragma once

#include "gui/IComponent.h"

namespace s::gui {

class ILayoutManager;

// A component that holds children and places them with a layout.
class IContainer : public virtual IComponent {
 public:
  ~IContainer() override = default;
  // Places the children (the layout manager when one is set, else the
  // container's own rule). Interface thread (callers elsewhere are passed
  // there).
  virtual void layout() = 0;
  virtual ILayoutManager* getLayoutManager() = 0;
  // Sets the manager (not owned; null: the container's own rule, for a
  // window the column).
  virtual void setLayoutManager(ILayoutManager* manager) = 0;
};

}  // namespace s::gui
