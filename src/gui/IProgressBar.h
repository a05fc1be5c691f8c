#pragma once

#include <cstdint>

#include "gui/IComponent.h"

namespace s::gui {

// The platform's progress bar. Operations after the component's, in this
// order. Any thread.
class IProgressBar : public virtual IComponent {
 public:
  ~IProgressBar() override = default;
  virtual void setWidthPercent(std::int32_t percent) = 0;
  virtual void setHeightPercent(std::int32_t percent) = 0;
  virtual void setFixedWidth(std::int32_t w) = 0;
  virtual void setFixedHeight(std::int32_t h) = 0;
  // Store the range (position) and show it when the native control exists;
  // one configured before the control is made is given to it then.
  virtual void setRange(std::int32_t minimum, std::int32_t maximum) = 0;
  virtual void setPosition(std::int32_t position) = 0;
  virtual std::int32_t getPosition() = 0;
};

}  // namespace s::gui
