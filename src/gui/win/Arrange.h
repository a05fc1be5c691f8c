#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "gui/IContainer.h"

namespace s::gui::win {

// The four ways a container places its children in its client area:
// a column, a row, wrapped lines (flow) and a pile. Each pass leaves out
// the children that are not shown, defers every child's native move to the
// end of the pass (unless the container is itself deferring, when its own
// end does it), and answers what the children need.
//
// Alignment: 0 left / top, 1 centre / middle, 2 right / bottom. Gaps go only
// after a child that takes room on the main axis, never after the last one.
// Interface thread only.
class Arrange {
 public:
  struct Settings {
    std::int32_t hAlign = 0;
    std::int32_t vAlign = 0;
    std::int32_t gapX = 0;
    std::int32_t gapY = 0;
  };
  // What a pass found: the children's preferred and maximum extent.
  struct Content {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t maxWidth = 0;
    std::int32_t maxHeight = 0;
    bool operator==(const Content&) const = default;
  };

  // Children one under the other across the column's width; spare height
  // goes to the children that can grow, in proportion to what each can
  // still take, then what rounding left over to the first ones that can.
  static Content column(IContainer& container, const Settings& settings);
  // The column turned on its side; every child then takes the row's height
  // within its limits.
  static Content row(IContainer& container, const Settings& settings);
  // Children left to right, a new line where the next one no longer fits;
  // spare height goes to the lines as in the column.
  static Content flow(IContainer& container, const Settings& settings);
  // Children on top of each other, each as large as the pile within its
  // limits.
  static Content pile(IContainer& container, const Settings& settings);

 private:
  // Room one child (or one line) takes on the main axis now and at most.
  struct Slot {
    std::int32_t size = 0;
    std::int32_t max = 0;
  };
  // The sums of the slots with the gaps between them.
  struct Line {
    std::int32_t sum = 0;
    std::int32_t sumMax = 0;
  };
  using Grow = std::function<std::int32_t(std::size_t index, std::int32_t target)>;
  using Pass = std::function<Content(const std::vector<IComponent*>&)>;

  static Content deferred(IContainer& container, const Pass& pass);
  static Line measure(const std::vector<Slot>& slots, std::int32_t gap);
  static std::int32_t distribute(std::vector<Slot>& slots, std::int32_t free, const Grow& grow);
  static std::int32_t start(std::int32_t align, std::int32_t room);
};

}  // namespace s::gui::win
