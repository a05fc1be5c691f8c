#pragma once

#include <optional>
#include <vector>

#include "gui/ICheckBox.h"
#include "gui/win/Component.h"
#include "gui/win/DrawerSlot.h"
#include "gui/win/FontLooks.h"
#include "os/gui/MemDC.h"
#include "thread/IPoolable.h"
#include "thread/Pooled.h"

namespace s::gui::events {
class Switcher;
}

namespace s::gui::win {

// The check box (contract in ICheckBox) on the platform's own control. Its
// preferred (and maximum) size is measured from its text: width = text
// width + text height + (text height / 3) x scale, height = text height (+7
// at scale 2, +12 at scale 4). Pooled.
class CheckBox final : public ICheckBox,
                       public Component,
                       public FontLooks,
                       public virtual s::base::IObject,
                       public virtual s::thread::IPoolable {
  VONQ_POOLED(CheckBox, s::thread::kPoolCap)
 public:
  CheckBox();
  ~CheckBox() override;

  void setWordWrap(bool on) override;
  void setText(const std::u16string& text) override;
  void setTextId(std::int32_t id) override;
  std::u16string getText() override;
  void addCheckedListener(IEventListener* listener) override;
  void addUncheckedListener(IEventListener* listener) override;
  bool isChecked() override;
  void setChecked(bool on) override;
  void setCheckedSilently(bool on) override;
  void linkEnable(IComponent* component) override;
  void enableWhenChecked(IComponent* component) override;
  void disableWhenUnchecked(IComponent* component) override;
  void linkDisable(IComponent* component) override;
  void enableWhenUnchecked(IComponent* component) override;
  void disableWhenChecked(IComponent* component) override;

  void setDrawer(s::gui::drawer::ICheckBox* drawer, bool owned) override;
  // The drawer in use (null: none). Interface thread or any.
  s::gui::drawer::ICheckBox* getDrawer();

  const char16_t* getClassName() const override { return u"s_gui_win_CheckBox"; }
  void reset() override;

 protected:
  void retext() override;
  bool takeTheme(s::gui::drawer::ISkin* theme) override;
  // Where the platform leaves the drawing to the program: the drawer's
  // look, on what is behind the control.
  void paintContent(s::os::gui::MemDC& dc) override;
  std::u16string accessibleText() override { return text_; }
  void nativeCreated(s::os::gui::NativeWidget& native) override;
  void onActivated(std::int32_t code) override;
  void fontsChanged() override;

 private:
  // The platform control's colours from the drawer; none without one.
  std::optional<s::os::gui::ControlLook> lookOf();
  void change(bool on, bool notify);
  void measure();
  void link(bool whenChecked, bool enable, IComponent* component);
  void clearLinks();

  std::u16string text_;
  std::int32_t textId_ = -1;
  bool checked_ = false;
  std::vector<IEventListener*> checkedListeners_;
  std::vector<IEventListener*> uncheckedListeners_;
  // [checked?][enable?]: at most one switcher per state and kind.
  s::gui::events::Switcher* links_[2][2] = {{nullptr, nullptr}, {nullptr, nullptr}};
  DrawerSlot<s::gui::drawer::ICheckBox> drawer_;
};

}  // namespace s::gui::win
