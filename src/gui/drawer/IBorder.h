#pragma once

#include <cstdint>

#include "base/IObject.h"
#include "os/gui/MemDC.h"
#include "thread/IPoolable.h"

namespace s::gui::drawer {

// Paints a frame around a rectangle in shades of one colour. Interface
// thread of the window being painted.
class IBorder : public virtual s::base::IObject, public virtual s::thread::IPoolable {
 public:
  ~IBorder() override = default;

  // Paints the frame of (left, top)-(right, bottom) in shades of (r, g, b).
  // `style`: 1 raised, 2 sunken, 0 hover (lit), 3 raised without the bottom
  // side; `kind`: 0 square corners, 1 corners left open, 2 wider rounded
  // corners. Any other style or kind, or an empty rectangle, paints nothing.
  virtual void paintBorder(s::os::gui::MemDC& surface, std::int32_t left, std::int32_t top,
                           std::int32_t right, std::int32_t bottom, std::int32_t style,
                           std::int32_t kind, std::uint8_t r, std::uint8_t g, std::uint8_t b) = 0;
  // Off: every side in the base colour itself.
  virtual void setShaded(bool on) = 0;
};

}  // namespace s::gui::drawer
