#pragma once

#include <string>
#include <string_view>

#include "gui/drawer/ISkin.h"
#include "gui/drawer/skin/ThinWindowPalette.h"
#include "thread/IPoolable.h"
#include "thread/Pooled.h"

namespace s::gui::drawer::skin {

// A theme of the "ThinWindow" set (contract in ISkin): its drawers are built
// from fifteen colours by build(). It also keeps those colours, for the
// drawer kinds this program shows nowhere. Reset releases every drawer and
// forgets name and colours. Pooled.
class ThinWindow final : public ISkin, public virtual s::thread::IPoolable {
  VONQ_POOLED(ThinWindow, s::thread::kPoolCap)
 public:
  using Colours = ThinWindowPalette::Colours;

  ThinWindow() = default;
  ~ThinWindow() override;
  ThinWindow(const ThinWindow&) = delete;
  ThinWindow& operator=(const ThinWindow&) = delete;

  // A theme from its pool named `name`, holding, from c1..c15 (`colours`):
  // window frame: square corners, border c2, background c1;
  // button: text shift, enabled c4, disabled c3, pushed c4, fill c9; text
  //   normal c6, disabled c3, pushed c10;
  // text: normal c6 with effect colours c1 and c7, disabled c3, link c6,
  //   link hover c4;
  // check box: box c4, mark c6, disabled c3;
  // status bar c4;
  // menu: text c6, hover fill c4, hover text c1, no fill on hover, raised
  //   entries; its drop-down look text c6, frame c4, arrow c6;
  // combo: text c6, frame c4, arrow c6.
  // The caller owns the theme (release()).
  static ThinWindow* build(std::u16string_view name, const Colours& colours);

  std::u16string getName() override { return name_; }
  void setName(std::u16string_view name) override { name_ = name; }
  IWindow* getWindowDrawer() override { return window_; }
  void setWindowDrawer(IWindow* drawer) override;
  IButton* getButtonDrawer() override { return button_; }
  void setButtonDrawer(IButton* drawer) override;
  IText* getTextDrawer() override { return text_; }
  void setTextDrawer(IText* drawer) override;
  ICheckBox* getCheckBoxDrawer() override { return checkBox_; }
  void setCheckBoxDrawer(ICheckBox* drawer) override;
  IStatusBar* getStatusBarDrawer() override { return statusBar_; }
  void setStatusBarDrawer(IStatusBar* drawer) override;
  IMenu* getMenuDrawer() override { return menu_; }
  void setMenuDrawer(IMenu* drawer) override;
  ICombo* getComboDrawer() override { return combo_; }
  void setComboDrawer(ICombo* drawer) override;

  // Colour c`n` (1 to 15) the theme was built from; black for any other n.
  s::os::gui::Rgb getColor(int n) const;

  const char16_t* getClassName() const override { return u"s_gui_drawer_skin_ThinWindow"; }
  void reset() override;

 private:
  // Replaces `held` by `drawer`, releasing what it held.
  template <typename Drawer>
  static void replace(Drawer*& held, Drawer* drawer);
  void buildDrawers();

  std::u16string name_;
  Colours colours_{};
  IWindow* window_ = nullptr;
  IButton* button_ = nullptr;
  IText* text_ = nullptr;
  ICheckBox* checkBox_ = nullptr;
  IStatusBar* statusBar_ = nullptr;
  IMenu* menu_ = nullptr;
  ICombo* combo_ = nullptr;
};

}  // namespace s::gui::drawer::skin
