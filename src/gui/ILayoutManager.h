#pragma once

namespace s::gui {

class IContainer;

// Places the children of a container in its client area. Managers hold no
// state of their own, so one may serve many containers. Called on the
// interface thread.
class ILayoutManager {
 public:
  virtual ~ILayoutManager() = default;
  virtual void layout(IContainer* container) = 0;
};

}  // namespace s::gui
