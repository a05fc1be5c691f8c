#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "gui/IComponent.h"
#include "gui/OnUi.h"
#include "gui/win/DrawerSlot.h"
#include "os/gui/NativeWidget.h"
#include "os/gui/WidgetSink.h"

namespace s::lang {
class Localizer;
}
namespace s::gui::drawer {
class ISkin;
class Skinner;
}  // namespace s::gui::drawer

namespace s::gui::win {

// What every leaf component has in common (contract in IComponent): its
// fields, geometry with origin and deferral, size limits, visibility,
// colours, attaching to a parent on the interface thread, the language
// table's change events and its place in the accessibility tree. A concrete
// control says which native control it needs, its role and text for the
// accessibility tree, and paints its content.
class Component : public virtual IComponent, protected s::os::gui::WidgetSink {
 public:
  Component(s::os::gui::WidgetKind kind, s::os::gui::AccessibleRole role);
  ~Component() override;
  Component(const Component&) = delete;
  Component& operator=(const Component&) = delete;

  // IEventListener: the window's language table changed (texts set by entry
  // id are read again: retext()), or its skinner's current theme did (the
  // drawer of the component's kind is taken from it: takeTheme()).
  void onEvent(s::base::IObject* sender, std::int32_t code) override;

  std::int32_t getX() override;
  void setX(std::int32_t x) override;
  std::int32_t getY() override;
  void setY(std::int32_t y) override;
  std::int32_t getScreenX() override;
  std::int32_t getScreenY() override;
  bool containsScreenPoint(std::int32_t sx, std::int32_t sy) override;
  std::int32_t getWidth() override;
  void setWidth(std::int32_t w) override;
  std::int32_t getHeight() override;
  void setHeight(std::int32_t h) override;
  std::int32_t getClientWidth() override { return getWidth(); }
  void setClientWidth(std::int32_t w) override { setWidth(w); }
  std::int32_t getClientHeight() override { return getHeight(); }
  void setClientHeight(std::int32_t h) override { setHeight(h); }
  void setPosition(std::int32_t x, std::int32_t y) override;
  void setSize(std::int32_t w, std::int32_t h) override;
  void setBounds(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) override;
  void setOrigin(std::int32_t ox, std::int32_t oy) override;
  void moveOrigin(std::int32_t dx, std::int32_t dy) override;
  std::int32_t getPreferredWidth() override;
  std::int32_t getPreferredHeight() override;
  std::int32_t getPreferredClientWidth() override { return getPreferredWidth(); }
  std::int32_t getPreferredClientHeight() override { return getPreferredHeight(); }
  std::int32_t getMaximumWidth() override;
  std::int32_t getMaximumHeight() override;
  std::int32_t getMaximumClientWidth() override { return getMaximumWidth(); }
  std::int32_t getMaximumClientHeight() override { return getMaximumHeight(); }
  bool isVisible() override;
  void setVisible(bool visible, bool activate) override;
  bool isEnabled() override;
  void setEnabled(bool enabled) override;
  bool isEditable() override { return false; }
  void setEditable(bool) override {}
  void centerInParent() override;
  void centerHorizontally() override;
  void centerVertically() override;
  Rgb getBackgroundColor() override;
  bool isTransparent() override;
  void setTransparent(bool redraw) override;
  // Whether the component takes its drawer from a skinned window's theme
  // (the default). Set before it is attached: one that sits on a
  // background of its own keeps its own drawer. Any thread.
  void setThemed(bool themed) { themed_ = themed; }
  void setBackgroundWhite(bool redraw) override { setBackgroundColor(255, 255, 255, redraw); }
  void setBackgroundDefault(bool redraw) override;
  void setBackgroundBlack(bool redraw) override { setBackgroundColor(0, 0, 0, redraw); }
  void setBackgroundPale(bool redraw) override { setBackgroundColor(128, 128, 128, redraw); }
  void setBackgroundColor(std::uint8_t r, std::uint8_t g, std::uint8_t b, bool redraw) override;
  IWindow* getWindow() override;
  IComponent* getParent() override;
  void setParent(IComponent* parent) override;
  void add(IComponent*) override {}
  void remove(IComponent*, bool) override {}
  void removeAll(bool) override {}
  bool isContainer() override { return false; }
  void redrawRect(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) override;
  void redraw() override;
  void fitTo(std::int32_t w, std::int32_t h) override;
  void layoutNow() override {}
  std::int32_t getChildCount() override { return 0; }
  IComponent* getChild(std::int32_t) override { return nullptr; }
  std::vector<IComponent*> getChildren() override { return {}; }
  s::os::gui::NativeView* getHostWindow() override;
  bool isDeferring() override;
  void beginDeferring() override;
  void endDeferring() override;
  s::os::gui::NativeView* getNativeView() override;
  bool isShown() override;

  // Size settings of every component (a fixed size overrides both the
  // preferred and the maximum size; a percentage makes the maximum that
  // share of the parent's client size).
  void setPreferredSize(std::int32_t w, std::int32_t h);
  void setMaximumSize(std::int32_t w, std::int32_t h);
  void setFixedWidth(std::int32_t w);
  void setFixedHeight(std::int32_t h);
  void setWidthPercent(std::int32_t percent);
  void setHeightPercent(std::int32_t percent);

  // The language table of the window the component lives in (null when not
  // attached or when it has none). Interface thread.
  s::lang::Localizer* language() const { return language_; }

 protected:
  // The text the accessibility tree shows for the component now ("" for
  // none); tell it again with updateAccessible() when it changes.
  virtual std::u16string accessibleText() { return {}; }
  void updateAccessible();
  // Texts set by entry id are read again (the language changed).
  virtual void retext() {}
  // Takes the drawer of the component's kind from `theme` (not owned) and
  // redraws; with null goes back to a drawer of its own. False for a kind
  // that draws with no theme's drawer (it then never hears the skinner).
  // Interface thread.
  virtual bool takeTheme(s::gui::drawer::ISkin*) { return false; }
  // Paints the content over the background (drawn components).
  virtual void paintContent(s::os::gui::MemDC&) {}
  // The native control has just been made (interface thread): give it the
  // state that was configured before (texts, ranges, items).
  virtual void nativeCreated(s::os::gui::NativeWidget&) {}
  // The component was just attached to its parent (its native control made
  // when the parent has one), or is about to be detached. Containers pass
  // both on to their children, which live inside them. Interface thread.
  virtual void attached() {}
  virtual void detaching() {}
  // Resets every common field to the state after construction (for the
  // pool), detaching first.
  void resetComponent();

  // WidgetSink (interface thread).
  void onPaint(s::os::gui::MemDC& dc) override;
  bool onMouseButton(s::os::gui::MouseButton, bool, bool, std::int32_t, std::int32_t) override {
    return false;
  }
  void onActivated(std::int32_t) override {}
  void onTimer(std::uint32_t) override {}
  void onHover(bool) override {}
  void onMouseMove(std::int32_t, std::int32_t) override {}

  s::os::gui::NativeWidget* native() const { return native_; }
  // The colours a platform control shows from now on, also once it is made
  // (none: the desktop's own look). Interface thread.
  void showLook(const std::optional<s::os::gui::ControlLook>& look);
  // Holds `drawer` in `slot`, shows the look `lookOf()` makes of it and
  // redraws. Interface thread or any (passed there).
  template <class Drawer, class LookOf>
  void putDrawer(DrawerSlot<Drawer>& slot, Drawer* drawer, bool owned, LookOf&& lookOf) {
    onUi([&] {
      slot.put(drawer, owned);
      showLook(lookOf());
      redraw();
    });
  }
  // The look shown (none: the desktop's). Interface thread.
  const std::optional<s::os::gui::ControlLook>& shownLook() const { return look_; }
  // The colour the component shows behind its content: its own, or when
  // transparent that of its nearest opaque ancestor. Interface thread.
  Rgb shownBackground();
  // The colour of the nearest opaque ancestor (the button face when there
  // is none). Interface thread.
  Rgb backdrop();
  // The size settings as they were set (-1: not set). Interface thread.
  std::int32_t fixedWidthSetting() const { return fixedWidth_; }
  std::int32_t fixedHeightSetting() const { return fixedHeight_; }
  std::int32_t widthPercentSetting() const { return widthPercent_; }
  std::int32_t heightPercentSetting() const { return heightPercent_; }
  // The native control made at the next attach (a button drawn as a grip).
  void setNativeKind(s::os::gui::WidgetKind kind, s::os::gui::AccessibleRole role) {
    kind_ = kind;
    role_ = role;
  }

 private:
  static constexpr std::int32_t kHiddenPosition = -10000;

  void attach(IComponent* parent);
  // Step 3 of attaching: the current theme's drawer, and a place in the
  // skinner's list, when the window has a skinner.
  void joinSkinner();
  void leaveSkinner();
  void createNative(s::os::gui::NativeView& host);
  void detach();
  void place();
  std::int32_t maximumOf(std::int32_t fixed, std::int32_t percent, std::int32_t preferred,
                         std::int32_t maximum, bool horizontal);

  s::os::gui::WidgetKind kind_;
  s::os::gui::AccessibleRole role_;
  IWindow* window_ = nullptr;
  IComponent* parent_ = nullptr;
  s::os::gui::NativeWidget* native_ = nullptr;
  s::lang::Localizer* language_ = nullptr;
  s::gui::drawer::Skinner* skinner_ = nullptr;
  std::int32_t x_ = 0;
  std::int32_t y_ = 0;
  std::int32_t originX_ = 0;
  std::int32_t originY_ = 0;
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
  std::int32_t preferredWidth_ = 0;
  std::int32_t preferredHeight_ = 0;
  std::int32_t maximumWidth_ = 0;
  std::int32_t maximumHeight_ = 0;
  std::int32_t widthPercent_ = -1;
  std::int32_t heightPercent_ = -1;
  std::int32_t fixedWidth_ = -1;
  std::int32_t fixedHeight_ = -1;
  bool visible_ = true;
  bool enabled_ = true;
  Rgb background_{240, 240, 240};
  bool transparent_ = false;
  bool deferring_ = false;
  std::atomic<bool> themed_{true};
  bool geometryPending_ = false;
  std::optional<s::os::gui::ControlLook> look_;
};

}  // namespace s::gui::win
