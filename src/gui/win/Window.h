#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "gui/IWindow.h"
#include "gui/win/Arrange.h"
#include "gui/win/ChildList.h"
#include "gui/win/UIThread.h"
#include "os/gui/WindowSink.h"
#include "thread/IPoolable.h"
#include "thread/Pooled.h"

namespace s::os::gui {
class NativeWindow;
}

namespace s::gui::win {

// The top-level window (contracts in IWindow and IComponent). Made hidden, on
// its interface thread, with a native window of 240 x 120 titled "Window";
// when the platform cannot make one, "Window Creation Failed!" is shown and
// the window works on without it (geometry is stored, sendEvent answers 0).
//
// Its children stand in a column (the shared Vertical manager) unless
// another manager is set.
//
// Pool cap 0: release() ends the window (its native window goes, its
// children are detached, not released: they belong to whoever added them).
class Window final : public IWindow,
                     public virtual s::base::IObject,
                     public virtual s::thread::IPoolable,
                     private s::os::gui::WindowSink {
  VONQ_POOLED(Window, s::thread::kPoolCapNone)
 public:
  Window();
  ~Window() override;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  const char16_t* getClassName() const override { return u"s_gui_win_Window"; }
  void reset() override {}

  // IEventListener: the language table's changes (re-titles, then the
  // kind-20 listeners).
  void onEvent(s::base::IObject* sender, std::int32_t code) override;

  // IComponent
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
  std::int32_t getClientWidth() override;
  void setClientWidth(std::int32_t w) override;
  std::int32_t getClientHeight() override;
  void setClientHeight(std::int32_t h) override;
  void setPosition(std::int32_t x, std::int32_t y) override;
  void setSize(std::int32_t w, std::int32_t h) override;
  void setBounds(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) override;
  void setOrigin(std::int32_t, std::int32_t) override {}
  void moveOrigin(std::int32_t, std::int32_t) override {}
  std::int32_t getPreferredWidth() override;
  std::int32_t getPreferredHeight() override;
  std::int32_t getPreferredClientWidth() override { return getPreferredWidth(); }
  std::int32_t getPreferredClientHeight() override { return getPreferredHeight(); }
  std::int32_t getMaximumWidth() override;
  std::int32_t getMaximumHeight() override;
  std::int32_t getMaximumClientWidth() override { return getMaximumWidth(); }
  std::int32_t getMaximumClientHeight() override { return getMaximumHeight(); }
  bool isVisible() override;
  void setVisible(bool visible, bool activate) override { show(visible, activate); }
  bool isEnabled() override { return true; }
  void setEnabled(bool) override {}
  bool isEditable() override { return false; }
  void setEditable(bool) override {}
  void centerInParent() override;
  void centerHorizontally() override;
  void centerVertically() override;
  Rgb getBackgroundColor() override;
  bool isTransparent() override { return false; }
  void setTransparent(bool) override {}
  void setBackgroundWhite(bool redraw) override { setBackgroundColor(255, 255, 255, redraw); }
  void setBackgroundDefault(bool redraw) override;
  void setBackgroundBlack(bool redraw) override { setBackgroundColor(0, 0, 0, redraw); }
  void setBackgroundPale(bool redraw) override;
  void setBackgroundColor(std::uint8_t r, std::uint8_t g, std::uint8_t b, bool redraw) override;
  IWindow* getWindow() override { return this; }
  IComponent* getParent() override { return nullptr; }
  void setParent(IComponent*) override {}
  void add(IComponent* child) override;
  void remove(IComponent* child, bool release) override;
  void removeAll(bool release) override;
  bool isContainer() override { return true; }
  void redrawRect(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) override;
  void redraw() override;
  void fitTo(std::int32_t w, std::int32_t h) override;
  void layoutNow() override { layout(); }
  std::int32_t getChildCount() override;
  IComponent* getChild(std::int32_t i) override;
  std::vector<IComponent*> getChildren() override;
  s::os::gui::NativeView* getHostWindow() override { return nullptr; }
  bool isDeferring() override { return false; }
  void beginDeferring() override {}
  void endDeferring() override {}
  s::os::gui::NativeView* getNativeView() override;
  bool isShown() override { return isVisible(); }

  // IContainer
  void layout() override;
  ILayoutManager* getLayoutManager() override;
  void setLayoutManager(ILayoutManager* manager) override;

  // IWindow
  void moveToScreenX(std::int32_t x) override { setX(x); }
  void moveToScreenY(std::int32_t y) override { setY(y); }
  bool isClosed() override { return closed_.load(); }
  void close() override;
  void cancelClose() override;
  void waitUntilClosed() override;
  void bringToFront(bool force) override;
  bool isMinimized() override;
  void minimize() override;
  bool isMaximized() override;
  void maximize() override;
  void restore() override;
  void showNormal() override;
  void setEasyDrag(bool on) override;
  bool isResizable() override;
  void setResizable(bool on) override;
  void setAlwaysOnTop(bool on) override;
  void setModalFor(IWindow* owner) override;
  bool isAlwaysOnTop() override;
  std::u16string getTitle() override;
  void setTitle(const std::u16string& title) override;
  void setTitleId(std::int32_t id, std::int32_t suffixId) override;
  void setSmallIcon(std::span<const unsigned char> png) override;
  void setBigIcon(std::span<const unsigned char> png) override;
  bool hasLanguage() override;
  s::lang::Localizer* getLanguage() override;
  void setLanguage(s::lang::Localizer* table) override;
  bool hasSkin() override;
  s::gui::drawer::Skinner* getSkin() override;
  void setSkin(s::gui::drawer::Skinner* skinner) override;
  void addCloseListener(IEventListener* l) override { addListener(kClose, l); }
  void addRightButtonDownListener(IEventListener* l) override { addListener(kRightButtonDown, l); }
  void addLeftButtonDownListener(IEventListener* l) override { addListener(kLeftButtonDown, l); }
  void addRightButtonUpListener(IEventListener* l) override { addListener(kRightButtonUp, l); }
  void addLeftButtonUpListener(IEventListener* l) override { addListener(kLeftButtonUp, l); }
  void addTrayClickListener(IEventListener* l) override { addListener(kTrayClick, l); }
  void addDoubleClickListener(IEventListener* l) override { addListener(kDoubleClick, l); }
  void addMiddleButtonListener(IEventListener* l) override { addListener(kMiddleButton, l); }
  void addActivateListener(IEventListener* l) override { addListener(kActivate, l); }
  void addDeactivateListener(IEventListener* l) override { addListener(kDeactivate, l); }
  void addMovingListener(IEventListener* l) override { addListener(kMoving, l); }
  void addKeyDownListener(IEventListener* l) override { addListener(kKeyDown, l); }
  void addTrayRightClickListener(IEventListener* l) override { addListener(kTrayRightClick, l); }
  void addRightButtonDownListener2(IEventListener* l) override {
    addListener(kRightButtonDown2, l);
  }
  void addRestoreListener(IEventListener* l) override { addListener(kRestore, l); }
  std::int32_t sendEvent(const char16_t* name, std::int32_t a1, std::int32_t a2,
                         std::int32_t a3) override;
  void postEvent(const char16_t* name, std::int32_t a1, std::int32_t a2, std::int32_t a3) override;
  const char16_t* getEventName() override { return event_.name; }
  std::int32_t getEventArg1() override { return event_.a1; }
  std::int32_t getEventArg2() override { return event_.a2; }
  std::int32_t getEventArg3() override { return event_.a3; }
  void setEventReply(std::int32_t reply) override { event_.reply = reply; }
  void addUserEventListener(IEventListener* l) override { addListener(kUserEvent, l); }
  void addSizingListener(IEventListener* l) override { addListener(kSizing, l); }
  void setFrameDrawer(s::gui::drawer::IWindow* drawer, bool owned) override;
  // The frame drawer in use; null while the platform draws the frame.
  s::gui::drawer::IWindow* getFrameDrawer();
  void ensureMinimumSize() override;
  void fitHeight() override;
  void fitToPreferred() override;
  void fitToMaximum() override;
  std::uint32_t getLastKey() override { return lastKey_.load(); }
  void addMouseMoveListener(IEventListener* l) override { addListener(kMouseMove, l); }
  void addWheelListener(IEventListener* l) override { addListener(kWheel, l); }
  void setPreferredWidth(std::int32_t w) override;
  void setPreferredHeight(std::int32_t h) override;
  void infoBox(const std::u16string& text) override;
  void errorBox(const std::u16string& text) override;
  bool askBox(const std::u16string& text) override;
  void bindWindowState(s::app::IAppWindow* record, bool withVersion) override;
  void saveWindowState() override;
  void setMiddleClickAction(const std::u16string& action) override;
  bool isOnScreen() override;
  void keepInsideScreen() override;
  void show(bool visible, bool activate) override;
  void addInstanceMessageListener(IEventListener* l) override { addListener(kInstanceMessage, l); }
  void setOnScreenCheck(bool on) override;
  void setKeepInsideScreen(bool on) override;
  void captureMouse(bool capture) override;
  void addCaptureListener(IEventListener* l) override { addListener(kCaptureLost, l); }
  void addLanguageListener(IEventListener* l) override { addListener(kLanguageChanged, l); }
  bool wasSessionEnding() override { return false; }
  void addHotKeyListener(IEventListener* l) override { addListener(kHotKey, l); }
  void startTimer(std::uint32_t id, std::uint32_t ms) override;
  void stopTimer(std::uint32_t id) override;
  void addTimerListener(IEventListener* l) override { addListener(kTimer, l); }
  void addClipboardListener(IEventListener* l) override { addListener(kClipboard, l); }
  void activate() override;
  void instanceMessage() override;
  std::uint32_t getLastTimer() override { return lastTimer_; }
  void resizeFromGrip() override;

 private:
  struct UserEvent {
    const char16_t* name = nullptr;
    std::int32_t a1 = 0;
    std::int32_t a2 = 0;
    std::int32_t a3 = 0;
    std::int32_t reply = 0;
  };

  // WindowSink (interface thread).
  void onCloseRequest() override;
  void onGeometry(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) override;
  void onStateChange(bool minimized, bool maximized) override;
  void onActivation(bool active) override;
  void onMouseButton(s::os::gui::MouseButton button, bool pressed, bool doubleClick, bool rightHeld,
                     std::int32_t x, std::int32_t y) override;
  void onMouseMove(std::int32_t x, std::int32_t y) override;
  void onWheel(std::int32_t delta) override;
  bool onKey(std::uint32_t key) override;
  void onTimer(std::uint32_t id) override;
  void onCaptureLost() override { fire(kCaptureLost); }
  void onPaintBackground(s::os::gui::MemDC& dc) override;

  void addListener(std::int32_t kind, IEventListener* listener);
  // Calls the listeners of `kind` in order (interface thread).
  void fire(std::int32_t kind);
  void closeRequested();
  void applyTitle();
  // The frame drawer's shape for the current size on the native window.
  void applyShape();
  // A left press in a resize zone of a self-drawn frame starts a resize;
  // true when it did.
  bool resizeFromFrame(std::int32_t x, std::int32_t y);
  void releaseFrameDrawer();
  // The skinner's current theme changed (interface thread).
  void takeTheme();
  void applyIcons();
  void placeNative();
  void centerOn(bool horizontally, bool vertically);
  void scheduleSave();
  s::os::gui::Rect screenArea(bool virtualScreen);

  UIThread thread_;
  std::atomic<s::os::gui::NativeWindow*> native_{nullptr};
  std::atomic<bool> closed_{false};
  bool veto_ = false;
  bool visible_ = false;
  std::array<std::vector<IEventListener*>, kEventKinds> listeners_;
  ChildList children_{*this};
  ILayoutManager* manager_;
  s::lang::Localizer* language_ = nullptr;
  s::app::IAppWindow* record_ = nullptr;
  s::gui::drawer::Skinner* skin_ = nullptr;
  s::gui::drawer::IWindow* frameDrawer_ = nullptr;
  bool ownsFrameDrawer_ = false;
  std::int32_t titleId_ = -1;
  std::int32_t suffixId_ = -1;
  std::u16string title_ = u"Window";
  std::span<const unsigned char> smallIcon_;
  std::span<const unsigned char> bigIcon_;
  std::int32_t x_ = 0;
  std::int32_t y_ = 0;
  std::int32_t width_ = 240;
  std::int32_t height_ = 120;
  std::int32_t preferredWidth_ = 0;
  std::int32_t preferredHeight_ = 0;
  Arrange::Content content_;  // the built-in column's last pass
  Rgb background_{240, 240, 240};
  bool easyDrag_ = false;
  bool keepOnTop_ = false;
  bool resizable_ = true;
  bool onScreenCheck_ = true;
  bool keepInside_ = false;
  bool minimized_ = false;
  bool maximized_ = false;
  std::u16string middleClick_ = u"DoNothing";
  UserEvent event_;
  std::atomic<std::uint32_t> lastKey_{0};
  std::uint32_t lastTimer_ = 0;
};

}  // namespace s::gui::win
