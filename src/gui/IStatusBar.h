#pragma once

#include <cstdint>

#include "gui/IContainer.h"

namespace s::gui {

namespace drawer {
class IStatusBar;
}

// The bar along the bottom of a window: one content component fills it (a
// pile); components added to the bar go into the inner content box. Its
// height is the fixed height when set, else its drawer's. Presses on the
// bar itself reach the window beneath. Operations after the container's,
// in this order. Any thread.
class IStatusBar : public virtual IContainer {
 public:
  ~IStatusBar() override = default;
  // The size settings: a maximum of that percentage of the parent's client
  // size, or a fixed size (-1: none); a fixed height replaces the drawer's.
  virtual void setWidthPercent(std::int32_t percent) = 0;
  virtual void setHeightPercent(std::int32_t percent) = 0;
  virtual void setFixedWidth(std::int32_t n) = 0;
  virtual void setFixedHeight(std::int32_t n) = 0;
  // `outer` becomes the bar's only child (replacing one set before, which is
  // detached, not released); `inner` (inside `outer`) receives what add()
  // is given. Null `inner`: add() puts children into `outer`.
  virtual void setContent(IComponent* outer, IContainer* inner) = 0;
  // The drawer (null: the basic one); an owned one is given back to its pool
  // when replaced or when the bar is reset.
  virtual void setDrawer(drawer::IStatusBar* drawer, bool owned) = 0;
  virtual drawer::IStatusBar* getDrawer() = 0;
};

}  // namespace s::gui
