#pragma once

#include "base/IObject.h"
#include "gui/ILayoutManager.h"
#include "thread/IPoolable.h"
#include "thread/Pooled.h"

namespace s::gui::win {

// Places the children in wrapped lines (Arrange::flow), without alignment or gaps
// (contract in ILayoutManager). Holds no state, so one serves any number of
// containers. Pooled.
class FlowH final : public ILayoutManager,
                    public virtual s::base::IObject,
                    public virtual s::thread::IPoolable {
  VONQ_POOLED(FlowH, s::thread::kPoolCap)
 public:
  FlowH() = default;
  ~FlowH() override = default;

  void layout(IContainer* container) override;

  const char16_t* getClassName() const override { return u"s_gui_win_FlowH"; }
  void reset() override {}
};

}  // namespace s::gui::win
