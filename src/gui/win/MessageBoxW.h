#pragma once

#include <cstdint>
#include <string>

#include "base/IObject.h"
#include "thread/IPoolable.h"
#include "thread/Pooled.h"

namespace s::os::gui {
class NativeView;
}

namespace s::gui::win {

// The platform's standard message box with one of five icon and button
// sets, the program's name as caption, over the active window of the
// program. Each display operation blocks until the user closed the box and
// must run on the interface thread (windows pass theirs there: infoBox,
// errorBox, askBox). Pooled: create(), one display operation, release().
class MessageBoxW final : public virtual s::base::IObject, public virtual s::thread::IPoolable {
  VONQ_POOLED(MessageBoxW, s::thread::kPoolCap)
 public:
  MessageBoxW() = default;

  // The style selector (kept, not consulted by the display operations).
  void setStyle0() { style_ = 0; }
  void setStyle1() { style_ = 1; }
  void setStyle2() { style_ = 2; }

  // Information icon, OK. Returns the button pressed (IDOK, 1).
  std::int32_t info(const std::u16string& text);
  // Exclamation icon, OK.
  std::int32_t warning(const std::u16string& text);
  // Stop icon, OK.
  std::int32_t error(const std::u16string& text);
  // Question icon, Yes and No: true for Yes.
  bool ask(const std::u16string& text);
  // Question icon, Yes, No and Cancel: Yes gives yes = true and true; No
  // gives yes = false and true; Cancel (or closing the box) gives yes =
  // false and false.
  bool askCancel(const std::u16string& text, bool& yes);

  // Where the box shows (null: the active window); set by the window that
  // shows it.
  void setOwner(s::os::gui::NativeView* owner) { owner_ = owner; }

  const char16_t* getClassName() const override { return u"s_gui_win_MessageBoxW"; }
  void reset() override {
    style_ = 0;
    owner_ = nullptr;
  }

 private:
  std::int32_t style_ = 0;
  s::os::gui::NativeView* owner_ = nullptr;
};

}  // namespace s::gui::win
