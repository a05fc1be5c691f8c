#include "gui/win/Arrange.h"

#include <algorithm>

namespace s::gui::win {

namespace {

using Children = std::vector<IComponent*>;

// The largest preferred and the largest maximum extent on one axis.
struct Extent {
  std::int32_t preferred = 0;
  std::int32_t maximum = 0;
};

// The largest preferred and maximum extent across the children, on the
// horizontal axis or the vertical one.
Extent extentOf(const Children& children, bool horizontal) {
  Extent extent;
  for (IComponent* child : children) {
    const std::int32_t preferred =
        horizontal ? child->getPreferredWidth() : child->getPreferredHeight();
    const std::int32_t maximum = horizontal ? child->getMaximumWidth() : child->getMaximumHeight();
    extent.preferred = std::max(extent.preferred, preferred);
    extent.maximum = std::max(extent.maximum, std::max(preferred, maximum));
  }
  return extent;
}

Extent widest(const Children& children) {
  return extentOf(children, true);
}

Extent tallest(const Children& children) {
  return extentOf(children, false);
}

// Where a child of extent `size` starts in `room` pixels.
std::int32_t offset(std::int32_t align, std::int32_t room, std::int32_t size) {
  if (size >= room) return 0;
  return align == 1 ? (room - size) / 2 : align >= 2 ? room - size : 0;
}

}  // namespace

Arrange::Content Arrange::deferred(IContainer& container, const Pass& pass) {
  Children shown;
  for (IComponent* child : container.getChildren()) {
    if (child->isShown()) shown.push_back(child);
  }
  const bool wrap = !container.isDeferring();
  if (wrap) {
    for (IComponent* child : shown) child->beginDeferring();
  }
  const Content content = pass(shown);
  if (wrap) {
    for (IComponent* child : shown) {
      child->endDeferring();
      child->redraw();
    }
  }
  return content;
}

Arrange::Line Arrange::measure(const std::vector<Slot>& slots, std::int32_t gap) {
  Line line;
  bool trailingGap = false;
  for (std::size_t i = 0; i < slots.size(); ++i) {
    if (i > 0 && slots[i - 1].size >= 1) {
      line.sum += gap;
      line.sumMax += gap;
      trailingGap = true;
    }
    if (slots[i].size >= 1) trailingGap = false;
    line.sum += slots[i].size;
    line.sumMax += slots[i].max;
  }
  if (trailingGap) {
    line.sum -= gap;
    line.sumMax -= gap;
  }
  return line;
}

std::int32_t Arrange::distribute(std::vector<Slot>& slots, std::int32_t free, const Grow& grow) {
  std::int32_t room = 0;
  for (const Slot& slot : slots) room += slot.max - slot.size;
  if (free < 1 || room < 1) return free;
  const auto growTo = [&](std::size_t i, std::int32_t target) {
    const std::int32_t size = grow(i, target);
    free -= size - slots[i].size;
    const bool grew = size != slots[i].size;
    slots[i].size = size;
    return grew;
  };
  if (free >= room) {
    for (std::size_t i = 0; i < slots.size(); ++i) {
      if (slots[i].size < slots[i].max) growTo(i, slots[i].max);
    }
    return free;
  }
  const float ratio = static_cast<float>(free) / static_cast<float>(room);
  for (std::size_t i = 0; i < slots.size(); ++i) {
    const Slot slot = slots[i];
    if (slot.size >= slot.max) continue;
    growTo(i,
           slot.size + static_cast<std::int32_t>(ratio * static_cast<float>(slot.max - slot.size)));
  }
  // What truncation left goes to the first children that can still grow;
  // a round in which none grew ends it (their limits are reached).
  bool grew = true;
  while (free > 0 && grew) {
    grew = false;
    for (std::size_t i = 0; i < slots.size() && free > 0; ++i) {
      if (slots[i].size >= slots[i].max) continue;
      grew = growTo(i, std::min(slots[i].max, slots[i].size + free)) || grew;
    }
  }
  return free;
}

std::int32_t Arrange::start(std::int32_t align, std::int32_t room) {
  if (room < 1) return 0;
  return align == 1 ? room / 2 : align >= 2 ? room : 0;
}

Arrange::Content Arrange::column(IContainer& container, const Settings& settings) {
  return deferred(container, [&](const Children& children) {
    const Extent across = widest(children);
    const std::int32_t width = std::max(container.getClientWidth(), across.preferred);
    std::vector<Slot> slots;
    for (IComponent* child : children) {
      child->fitTo(width, 0);
      const std::int32_t height = child->getHeight();
      slots.push_back(Slot{height, std::max(height, child->getMaximumHeight())});
    }
    const Line line = measure(slots, settings.gapY);
    const std::int32_t height = std::max(container.getClientHeight(), line.sum);
    const std::int32_t free =
        distribute(slots, height - line.sum, [&](std::size_t i, std::int32_t h) {
          children[i]->fitTo(width, h);
          return children[i]->getHeight();
        });
    std::int32_t y = start(settings.vAlign, free);
    for (std::size_t i = 0; i < children.size(); ++i) {
      if (i > 0 && children[i - 1]->getHeight() >= 1) y += settings.gapY;
      children[i]->setPosition(offset(settings.hAlign, width, children[i]->getWidth()), y);
      y += children[i]->getHeight();
    }
    return Content{across.preferred, line.sum, across.maximum, line.sumMax};
  });
}

Arrange::Content Arrange::row(IContainer& container, const Settings& settings) {
  return deferred(container, [&](const Children& children) {
    std::vector<Slot> slots;
    for (IComponent* child : children) {
      child->fitTo(child->getPreferredWidth(), 0);
      const std::int32_t width = child->getWidth();
      slots.push_back(Slot{width, std::max(width, child->getMaximumWidth())});
    }
    const Line line = measure(slots, settings.gapX);
    const std::int32_t width = std::max(container.getClientWidth(), line.sum);
    const std::int32_t free =
        distribute(slots, width - line.sum, [&](std::size_t i, std::int32_t w) {
          children[i]->fitTo(w, 0);
          return children[i]->getWidth();
        });
    const Extent across = tallest(children);
    const std::int32_t height = std::max(container.getClientHeight(), across.preferred);
    std::int32_t x = start(settings.hAlign, free);
    for (std::size_t i = 0; i < children.size(); ++i) {
      IComponent* child = children[i];
      child->fitTo(child->getWidth(), std::max(height, child->getPreferredHeight()));
      if (i > 0 && children[i - 1]->getWidth() >= 1) x += settings.gapX;
      child->setPosition(x, offset(settings.vAlign, height, child->getHeight()));
      x += child->getWidth();
    }
    return Content{line.sum, across.preferred, line.sumMax, across.maximum};
  });
}

Arrange::Content Arrange::flow(IContainer& container, const Settings& settings) {
  return deferred(container, [&](const Children& children) {
    const Extent across = widest(children);
    const std::int32_t width = std::max(container.getClientWidth(), across.preferred);
    // Lines: the children they hold, their used width, their height now
    // and at most.
    struct Run {
      std::vector<IComponent*> members;
      std::int32_t used = 0;
    };
    std::vector<Run> runs;
    std::vector<Slot> slots;
    std::int32_t sumWidest = 0;  // the sum of the children's widest extents with gaps
    IComponent* previous = nullptr;
    for (IComponent* child : children) {
      child->fitTo(width, 0);
      const std::int32_t w = child->getWidth();
      const bool gap = previous != nullptr && previous->getWidth() > 0 && w > 0;
      sumWidest += (gap ? settings.gapX : 0) +
                   std::max(child->getPreferredWidth(), child->getMaximumWidth());
      if (runs.empty() || runs.back().used + (gap ? settings.gapX : 0) + w > width) {
        runs.push_back(Run{});
        slots.push_back(Slot{});
      } else if (gap) {
        runs.back().used += settings.gapX;
      }
      runs.back().members.push_back(child);
      runs.back().used += w;
      slots.back().size = std::max(slots.back().size, child->getHeight());
      slots.back().max =
          std::max(slots.back().max, std::max(child->getHeight(), child->getMaximumHeight()));
      previous = child;
    }
    Line line;
    for (const Slot& slot : slots) {
      line.sum += slot.size;
      line.sumMax += slot.max;
    }
    if (!slots.empty()) {
      const std::int32_t gaps = settings.gapY * static_cast<std::int32_t>(slots.size() - 1);
      line.sum += gaps;
      line.sumMax += gaps;
    }
    const std::int32_t spare = std::max(0, container.getClientHeight() - line.sum);
    const std::int32_t free = distribute(slots, spare, [&](std::size_t i, std::int32_t h) {
      std::int32_t tallestMember = 0;
      for (IComponent* member : runs[i].members) {
        member->fitTo(member->getWidth(), h);
        tallestMember = std::max(tallestMember, member->getHeight());
      }
      return tallestMember;
    });
    std::int32_t y = start(settings.vAlign, free);
    for (std::size_t i = 0; i < runs.size(); ++i) {
      std::int32_t x = start(settings.hAlign, width - runs[i].used);
      IComponent* before = nullptr;
      for (IComponent* member : runs[i].members) {
        if (before != nullptr && before->getWidth() > 0 && member->getWidth() > 0)
          x += settings.gapX;
        member->setPosition(x, y);
        x += member->getWidth();
        before = member;
      }
      y += slots[i].size + settings.gapY;
    }
    return Content{across.preferred, line.sum, sumWidest, line.sumMax};
  });
}

Arrange::Content Arrange::pile(IContainer& container, const Settings& settings) {
  return deferred(container, [&](const Children& children) {
    const Extent wide = widest(children);
    const Extent tall = tallest(children);
    const std::int32_t width = std::max(container.getClientWidth(), wide.preferred);
    const std::int32_t height = std::max(container.getClientHeight(), tall.preferred);
    for (IComponent* child : children) {
      child->fitTo(width, 0);
      // As tall as the pile within the child's limits: a child that may
      // grow beyond the pile would be cut off by it.
      if (child->getHeight() < child->getMaximumHeight()) child->fitTo(child->getWidth(), height);
      child->setPosition(offset(settings.hAlign, width, child->getWidth()),
                         offset(settings.vAlign, height, child->getHeight()));
    }
    return Content{wide.preferred, tall.preferred, wide.maximum, tall.maximum};
  });
}

}  // namespace s::gui::win
