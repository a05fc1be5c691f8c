#pragma once

#include <cstdint>

#include "base/IObject.h"
#include "os/gui/MemDC.h"
#include "thread/IPoolable.h"

namespace s::gui::drawer {

// A drawer that paints one kind of mark into a component's memory surface.
// Drawers are pooled, carry the colours of one look and are used only on the
// interface thread of the window being painted.
class IDrawer : public virtual s::base::IObject, public virtual s::thread::IPoolable {
 public:
  ~IDrawer() override = default;

  // Paints into `surface` for the rectangle (left, top)-(right, bottom),
  // right and bottom excluded; nothing when left >= right or top >= bottom.
  virtual void paint(s::os::gui::MemDC& surface, std::int32_t left, std::int32_t top,
                     std::int32_t right, std::int32_t bottom) = 0;
};

}  // namespace s::gui::drawer
