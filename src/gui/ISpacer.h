#pragma once

#include <cstdint>

#include "gui/IComponent.h"

namespace s::gui {

// An empty component that holds room along its parent's main direction:
// a horizontal spacer takes width, a vertical one height. Inside a box
// arranged as a column a horizontal spacer takes no height, inside a row a
// vertical one no width. A new spacer is horizontal and 1 x 1 pixels.
// Operations after the component's, in this order. Any thread.
class ISpacer : public virtual IComponent {
 public:
  ~ISpacer() override = default;
  // Turn the spacer; the width and height settings change places, so it
  // keeps its extent along its main direction. No-op when it already is.
  virtual void makeHorizontal() = 0;
  virtual void makeVertical() = 0;
  // A maximum size of that percentage of the parent's client size; clears
  // the fixed size on that axis.
  virtual void setWidthPercent(std::int32_t percent) = 0;
  virtual void setHeightPercent(std::int32_t percent) = 0;
  // A fixed size (-1: none).
  virtual void setFixedWidth(std::int32_t w) = 0;
  virtual void setFixedHeight(std::int32_t h) = 0;
  // Whether the spacer is vertical.
  virtual bool isVertical() = 0;
};

}  // namespace s::gui
