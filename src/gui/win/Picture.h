#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "gui/win/Component.h"
#include "thread/IPoolable.h"
#include "thread/Pooled.h"

namespace s::gui::win {

// An image: PNG bytes drawn at the top-left of the component, which takes
// the image's size as its preferred and maximum size. Transparent around
// the image. Interface thread (calls from elsewhere are passed there).
class Picture final : public Component,
                      public virtual s::base::IObject,
                      public virtual s::thread::IPoolable {
  VONQ_POOLED(Picture, s::thread::kPoolCap)
 public:
  Picture();

  // Shows `png` (copied), `width` x `height` pixels, named `name` in the
  // accessibility tree. Nothing is drawn when the bytes are no PNG.
  void setImage(std::span<const unsigned char> png, std::int32_t width, std::int32_t height,
                const std::u16string& name);

  const char16_t* getClassName() const override { return u"s_gui_win_Picture"; }
  void reset() override;

 protected:
  std::u16string accessibleText() override { return name_; }
  void paintContent(s::os::gui::MemDC& dc) override;

 private:
  std::vector<unsigned char> png_;
  std::u16string name_;
};

}  // namespace s::gui::win
