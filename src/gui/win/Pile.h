#pragma once

#include "base/IObject.h"
#include "gui/ILayoutManager.h"
#include "thread/IPoolable.h"
#include "thread/Pooled.h"

namespace s::gui::win {

// Places the children on top of each other (Arrange::pile), without alignment or gaps
// (contract in ILayoutManager). Holds no state, so one serves any number of
// containers. Pooled.
class Pile final : public ILayoutManager,
                   public virtual s::base::IObject,
                   public virtual s::thread::IPoolable {
  VONQ_POOLED(Pile, s::thread::kPoolCap)
 public:
  Pile() = default;
  ~Pile() override = default;

  void layout(IContainer* container) override;

  const char16_t* getClassName() const override { return u"s_gui_win_Pile"; }
  void reset() override {}
};

}  // namespace s::gui::win
