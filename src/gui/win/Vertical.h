#pragma once

#include "base/IObject.h"
#include "gui/ILayoutManager.h"
#include "thread/IPoolable.h"
#include "thread/Pooled.h"

namespace s::gui::win {

// Places the children in a column (Arrange::column), without alignment or gaps
// (contract in ILayoutManager). Holds no state, so one serves any number of
// containers. Pooled.
class Vertical final : public ILayoutManager,
                       public virtual s::base::IObject,
                       public virtual s::thread::IPoolable {
  VONQ_POOLED(Vertical, s::thread::kPoolCap)
 public:
  Vertical() = default;
  ~Vertical() override = default;
  // The instance every window places its children with unless told
  // otherwise; lives as long as the process. Any thread.
  static Vertical& shared();

  void layout(IContainer* container) override;

  const char16_t* getClassName() const override { return u"s_gui_win_Vertical"; }
  void reset() override {}
};

}  // namespace s::gui::win
