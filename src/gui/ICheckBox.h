#pragma once

#include <cstdint>
#include <string>

#include "gui/IComponent.h"
#include "gui/IFontSettings.h"

namespace s::gui::drawer {
class ICheckBox;
}

namespace s::gui {

// The platform's check box with a text (shown as it is, "&" included), its
// state, listeners of checking (code 1) and unchecking (code 2), and links
// that enable or disable other components as it changes. Operations after
// the component's, in this order. Any thread; listeners run on the
// interface thread.
class ICheckBox : public virtual IComponent, public virtual IFontSettings {
 public:
  ~ICheckBox() override = default;
  virtual void setWordWrap(bool on) = 0;
  virtual void setText(const std::u16string& text) = 0;
  // The text becomes entry `id` of the window's language table and follows
  // its changes.
  virtual void setTextId(std::int32_t id) = 0;
  virtual std::u16string getText() = 0;
  virtual void addCheckedListener(IEventListener* listener) = 0;
  virtual void addUncheckedListener(IEventListener* listener) = 0;
  virtual bool isChecked() = 0;
  // Changes the state; the listeners hear of a change (not of setting the
  // state it has). Without a native control the state is only stored.
  virtual void setChecked(bool on) = 0;
  // The same without telling the listeners.
  virtual void setCheckedSilently(bool on) = 0;
  // enableWhenChecked + disableWhenUnchecked.
  virtual void linkEnable(IComponent* component) = 0;
  virtual void enableWhenChecked(IComponent* component) = 0;
  virtual void disableWhenUnchecked(IComponent* component) = 0;
  // enableWhenUnchecked + disableWhenChecked.
  virtual void linkDisable(IComponent* component) = 0;
  virtual void enableWhenUnchecked(IComponent* component) = 0;
  virtual void disableWhenChecked(IComponent* component) = 0;
  // The drawer that gives the box, mark and caption their colours (null:
  // the desktop's look); an owned one is given back to its pool when
  // replaced. Redraws.
  virtual void setDrawer(s::gui::drawer::ICheckBox* drawer, bool owned) = 0;
};

}  // namespace s::gui
