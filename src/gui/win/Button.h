#pragma once

#include <optional>
#include <vector>

#include "gui/IButton.h"
#include "gui/win/Component.h"
#include "gui/win/DrawerSlot.h"
#include "gui/win/FontLooks.h"
#include "os/gui/MemDC.h"
#include "thread/IPoolable.h"
#include "thread/Pooled.h"

namespace s::gui::win {

// The push button (contract in IButton) on the platform's own control, or
// drawn as a resize grip when its text is "#Resizer". Its preferred and
// maximum size is the control's ideal size for its text and font (the fixed
// sizes win when set). Pool cap 0.
class Button final : public IButton,
                     public Component,
                     public FontLooks,
                     public virtual s::base::IObject,
                     public virtual s::thread::IPoolable {
  VONQ_POOLED(Button, s::thread::kPoolCapNone)
 public:
  static constexpr const char16_t* kResizer = u"#Resizer";
  // The grip's darker dots.
  static constexpr Rgb kGripShade{184, 181, 161};

  Button();
  ~Button() override;

  void setText(const std::u16string& text) override;
  void setTextId(std::int32_t id) override;
  std::int32_t getTextId() override;
  std::u16string getText() override;
  void setWidthPercent(std::int32_t percent) override { Component::setWidthPercent(percent); }
  void setHeightPercent(std::int32_t percent) override { Component::setHeightPercent(percent); }
  void setFixedWidth(std::int32_t w) override { Component::setFixedWidth(w); }
  void setFixedHeight(std::int32_t h) override { Component::setFixedHeight(h); }
  void addClickListener(IEventListener* listener) override;
  void addAfterClickListener(IEventListener* listener) override;
  void addPressListener(IEventListener* listener) override;
  void setAutoRepeat(bool on) override;
  void setDrawFlag(bool on) override;
  void setToggleMode(bool toggle, bool canRelease, bool inverted, bool drawFlag2) override;
  bool canRelease() override;
  bool isPushed() override;
  void setPushed(bool on) override;
  void makeDefault() override;
  void clearDefault() override;
  bool isDefault() override;
  void setInteractive(bool on) override;
  void setColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) override;
  void setDrawer(s::gui::drawer::IButton* drawer, bool owned) override;
  // The drawer in use (null: none). Interface thread or any.
  s::gui::drawer::IButton* getDrawer();

  // A click as the user's (tests and keyboard handling): the click
  // listeners, the toggle, the after-click listeners. Interface thread or
  // any (passed there).
  void click();
  // Paints the grip's dots into a surface of w x h (the grip's look).
  static void paintGrip(s::os::gui::MemDC& dc, std::int32_t w, std::int32_t h);

  const char16_t* getClassName() const override { return u"s_gui_win_Button"; }
  void reset() override;

 protected:
  void retext() override;
  bool takeTheme(s::gui::drawer::ISkin* theme) override;
  std::u16string accessibleText() override;
  void nativeCreated(s::os::gui::NativeWidget& native) override;
  void paintContent(s::os::gui::MemDC& dc) override;
  void onActivated(std::int32_t code) override;
  bool onMouseButton(s::os::gui::MouseButton button, bool pressed, bool doubleClick, std::int32_t x,
                     std::int32_t y) override;
  void onTimer(std::uint32_t id) override;
  void onHover(bool inside) override;
  void fontsChanged() override;

 private:
  static constexpr std::uint32_t kRepeatDelay = 20001;
  static constexpr std::uint32_t kRepeatTick = 20002;

  bool isGrip() const { return text_ == kResizer; }
  // The grip and symbols ("#X", ...) are drawn by the button itself rather
  // than by a native push button.
  bool isDrawn() const;
  void measure();
  void fire(const std::vector<IEventListener*>& listeners, std::int32_t code);
  void press();
  void stopRepeat();
  // The platform control's colours from the drawer; none without one.
  std::optional<s::os::gui::ControlLook> lookOf();

  std::u16string text_;
  std::int32_t textId_ = -1;
  bool interactive_ = true;
  bool autoRepeat_ = false;
  bool toggle_ = false;
  bool canRelease_ = true;
  bool inverted_ = false;
  bool drawFlag_ = true;
  bool drawFlag2_ = false;
  bool pushed_ = false;
  bool isDefault_ = false;
  bool held_ = false;
  std::int32_t mouseState_ = 0;
  std::vector<IEventListener*> clickListeners_;
  std::vector<IEventListener*> afterClickListeners_;
  std::vector<IEventListener*> pressListeners_;
  DrawerSlot<s::gui::drawer::IButton> drawer_;
};

}  // namespace s::gui::win
