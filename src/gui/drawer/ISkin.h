#pragma once

#include <string>
#include <string_view>

#include "base/IObject.h"

namespace s::gui::drawer {

class IWindow;
class IButton;
class IText;
class ICheckBox;
class IStatusBar;
class IMenu;
class ICombo;

// A colour theme: a named bundle of drawers, one per kind of visual element.
// The theme owns its drawers; a getter hands out the theme's own drawer,
// which the receiver uses as not owned and never releases. A setter takes
// ownership of the new drawer (null: none) and releases the one it held.
// Interface thread of the windows drawn with it.
class ISkin : public virtual s::base::IObject {
 public:
  ~ISkin() override = default;

  virtual std::u16string getName() = 0;
  virtual void setName(std::u16string_view name) = 0;
  // Taken by a skinned Window as its frame drawer.
  virtual IWindow* getWindowDrawer() = 0;
  virtual void setWindowDrawer(IWindow* drawer) = 0;
  // Taken by Button.
  virtual IButton* getButtonDrawer() = 0;
  virtual void setButtonDrawer(IButton* drawer) = 0;
  // Taken by Label.
  virtual IText* getTextDrawer() = 0;
  virtual void setTextDrawer(IText* drawer) = 0;
  // Taken by CheckBox.
  virtual ICheckBox* getCheckBoxDrawer() = 0;
  virtual void setCheckBoxDrawer(ICheckBox* drawer) = 0;
  // Taken by StatusBar.
  virtual IStatusBar* getStatusBarDrawer() = 0;
  virtual void setStatusBarDrawer(IStatusBar* drawer) = 0;
  // Taken by MenuEx.
  virtual IMenu* getMenuDrawer() = 0;
  virtual void setMenuDrawer(IMenu* drawer) = 0;
  // Taken by ComboBox.
  virtual ICombo* getComboDrawer() = 0;
  virtual void setComboDrawer(ICombo* drawer) = 0;
};

}  // namespace s::gui::drawer
