#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "gui/IContainer.h"

namespace s::app {
class IAppWindow;
}
namespace s::lang {
class Localizer;
}
namespace s::gui::drawer {
class IWindow;
class Skinner;
}  // namespace s::gui::drawer

namespace s::gui {

// A top-level window: a container with a native window, a close protocol,
// listener lists by event kind, named events from workers, message boxes
// and the binding to the program's window-state record. The operations after
// the container's, in this order.
class IWindow : public IContainer {
 public:
  // The event kinds (the code a window's listeners receive).
  enum EventKind : std::int32_t {
    kClose = 1,
    kUserEvent = 2,
    kRightButtonDown = 3,
    kLeftButtonDown = 5,
    kActivate = 6,
    kDeactivate = 7,
    kSizing = 8,
    kMiddleButton = 9,
    kMoving = 10,
    kKeyDown = 12,
    kMouseMove = 13,
    kWheel = 14,
    kInstanceMessage = 15,
    kDoubleClick = 16,
    kCaptureLost = 17,
    kTrayRightClick = 18,
    kRightButtonDown2 = 19,
    kLanguageChanged = 20,
    kRestore = 21,
    kTrayClick = 22,
    kHotKey = 23,
    kRightButtonUp = 24,
    kLeftButtonUp = 25,
    kTimer = 26,
    kClipboard = 27,
    kEventKinds = 28,
  };

  ~IWindow() override = default;

  virtual void moveToScreenX(std::int32_t x) = 0;
  virtual void moveToScreenY(std::int32_t y) = 0;
  // The closed flag (set once a close request went through). Any thread.
  virtual bool isClosed() = 0;
  // Asks the window to close as the user's close request would (the close
  // listeners may keep it open); does not wait.
  virtual void close() = 0;
  // From a close listener: keep the window open.
  virtual void cancelClose() = 0;
  // Returns once the window is closed, checking every 10 ms. Never on the
  // interface thread.
  virtual void waitUntilClosed() = 0;
  // Makes the window the foreground window; `force` briefly raises it above
  // every window when it is not kept on top.
  virtual void bringToFront(bool force) = 0;
  virtual bool isMinimized() = 0;
  virtual void minimize() = 0;
  virtual bool isMaximized() = 0;
  virtual void maximize() = 0;
  virtual void restore() = 0;
  virtual void showNormal() = 0;
  // A press on any free area of the client drags the window (not while the
  // right button is held). A bound record (bindWindowState) stores the
  // choice, as it does for the two options below.
  virtual void setEasyDrag(bool on) = 0;
  virtual bool isResizable() = 0;
  virtual void setResizable(bool on) = 0;
  // Keeps the window above the others (stored as KeepOnTop).
  virtual void setAlwaysOnTop(bool on) = 0;
  // While this window is shown, `owner` takes no input (its modal state)
  // and this window stays above it; null gives the owner its input back.
  // Interface thread or any (passed there).
  virtual void setModalFor(IWindow* owner) = 0;
  virtual bool isAlwaysOnTop() = 0;
  virtual std::u16string getTitle() = 0;
  virtual void setTitle(const std::u16string& title) = 0;
  // The title from the language table: entry `id`, followed by " v" and
  // entry `suffixId` unless that is -1; applied again on every change of
  // language.
  virtual void setTitleId(std::int32_t id, std::int32_t suffixId) = 0;
  // Window icons as PNG images (not copied: the bytes must outlive the
  // window, as embedded images do).
  virtual void setSmallIcon(std::span<const unsigned char> png) = 0;
  virtual void setBigIcon(std::span<const unsigned char> png) = 0;
  virtual bool hasLanguage() = 0;
  virtual s::lang::Localizer* getLanguage() = 0;
  // Binds the language table (not owned): the window, and every component
  // attached to it, follow its changes.
  virtual void setLanguage(s::lang::Localizer* table) = 0;
  virtual bool hasSkin() = 0;
  virtual s::gui::drawer::Skinner* getSkin() = 0;
  // Binds a skinner (not owned) that has a current theme: the window takes
  // that theme's frame drawer and follows the skinner's theme changes. Null
  // unbinds (the frame drawer stays). The skinner must outlive the window
  // or be unbound first. Interface thread or any (passed there).
  virtual void setSkin(s::gui::drawer::Skinner* skinner) = 0;

  // Listener registrations: each appends to the list of one event kind
  // (listeners are not owned and are called in registration order on the
  // interface thread).
  virtual void addCloseListener(IEventListener* listener) = 0;
  virtual void addRightButtonDownListener(IEventListener* listener) = 0;
  virtual void addLeftButtonDownListener(IEventListener* listener) = 0;
  virtual void addRightButtonUpListener(IEventListener* listener) = 0;
  virtual void addLeftButtonUpListener(IEventListener* listener) = 0;
  virtual void addTrayClickListener(IEventListener* listener) = 0;
  virtual void addDoubleClickListener(IEventListener* listener) = 0;
  virtual void addMiddleButtonListener(IEventListener* listener) = 0;
  virtual void addActivateListener(IEventListener* listener) = 0;
  virtual void addDeactivateListener(IEventListener* listener) = 0;
  virtual void addMovingListener(IEventListener* listener) = 0;
  virtual void addKeyDownListener(IEventListener* listener) = 0;
  virtual void addTrayRightClickListener(IEventListener* listener) = 0;
  virtual void addRightButtonDownListener2(IEventListener* listener) = 0;
  virtual void addRestoreListener(IEventListener* listener) = 0;

  // A named event for the user-event listeners: delivered on the interface
  // thread while the caller waits; returns the reply a listener set (0 when
  // none did). Returns 0 at once, calling nobody, when the window has no
  // native window. Any thread (on the interface thread it runs directly).
  virtual std::int32_t sendEvent(const char16_t* name, std::int32_t a1, std::int32_t a2,
                                 std::int32_t a3) = 0;
  // The same without waiting (the name must stay valid until delivered).
  virtual void postEvent(const char16_t* name, std::int32_t a1, std::int32_t a2,
                         std::int32_t a3) = 0;
  // While a user event is delivered: its name (the pointer as sent), its
  // arguments, and the reply to give the sender.
  virtual const char16_t* getEventName() = 0;
  virtual std::int32_t getEventArg1() = 0;
  virtual std::int32_t getEventArg2() = 0;
  virtual std::int32_t getEventArg3() = 0;
  virtual void setEventReply(std::int32_t reply) = 0;
  virtual void addUserEventListener(IEventListener* listener) = 0;
  virtual void addSizingListener(IEventListener* listener) = 0;
  // Replaces the frame drawer (releasing the previous one when it was
  // owned). With a drawer the window loses the platform's frame: the drawer
  // paints the background and frame, gives the window its shape after each
  // resize, and presses near the edges resize it. Null gives the platform's
  // frame back. Redraws. Interface thread or any (passed there).
  virtual void setFrameDrawer(s::gui::drawer::IWindow* drawer, bool owned) = 0;
  // Grow the window to its preferred size where it is smaller.
  virtual void ensureMinimumSize() = 0;
  virtual void fitHeight() = 0;
  virtual void fitToPreferred() = 0;
  virtual void fitToMaximum() = 0;
  // The virtual-key code of the last key pressed.
  virtual std::uint32_t getLastKey() = 0;
  virtual void addMouseMoveListener(IEventListener* listener) = 0;
  virtual void addWheelListener(IEventListener* listener) = 0;
  virtual void setPreferredWidth(std::int32_t w) = 0;
  virtual void setPreferredHeight(std::int32_t h) = 0;
  // Message boxes over this window, shown on its interface thread while the
  // caller waits; askBox answers true for Yes.
  virtual void infoBox(const std::u16string& text) = 0;
  virtual void errorBox(const std::u16string& text) = 0;
  virtual bool askBox(const std::u16string& text) = 0;
  // Binds the window-state record (not owned): icons by scale factor, the
  // language table, the title (with the version when `withVersion`), easy
  // drag, keep-on-top, the middle-click action and the stored geometry.
  virtual void bindWindowState(s::app::IAppWindow* record, bool withVersion) = 0;
  // Writes the changed geometry and state to the bound record (nothing while
  // minimized or without a record).
  virtual void saveWindowState() = 0;
  // "Close" closes, "Iconize" minimizes, anything else does nothing
  // (stored as OnMClick).
  virtual void setMiddleClickAction(const std::u16string& action) = 0;
  // False when narrower or lower than 11 pixels or (with 10 pixels of
  // tolerance) outside the desktop.
  virtual bool isOnScreen() = 0;
  // Unless maximized, moves the window inside the desktop.
  virtual void keepInsideScreen() = 0;
  virtual void show(bool visible, bool activate) = 0;
  virtual void addInstanceMessageListener(IEventListener* listener) = 0;
  virtual void setOnScreenCheck(bool on) = 0;
  virtual void setKeepInsideScreen(bool on) = 0;
  // Takes every pointer event until released (kind-17 listeners hear when
  // the system takes it away).
  virtual void captureMouse(bool capture) = 0;
  virtual void addCaptureListener(IEventListener* listener) = 0;
  virtual void addLanguageListener(IEventListener* listener) = 0;
  virtual bool wasSessionEnding() = 0;
  virtual void addHotKeyListener(IEventListener* listener) = 0;
  // A timer serviced on the interface thread (kind-26 listeners; the
  // timer's id is kept for getLastTimer()).
  virtual void startTimer(std::uint32_t id, std::uint32_t ms) = 0;
  virtual void stopTimer(std::uint32_t id) = 0;
  virtual void addTimerListener(IEventListener* listener) = 0;
  virtual void addClipboardListener(IEventListener* listener) = 0;

  // Another start of the program asked for this window: restore it when
  // minimized, show it when hidden and bring it to the front. Any thread.
  virtual void activate() = 0;
  // The second-instance message: calls the kind-15 listeners. Any thread.
  virtual void instanceMessage() = 0;
  // The id of the timer whose tick is being delivered.
  virtual std::uint32_t getLastTimer() = 0;
  // From the press of a resize grip: the window's bottom-right corner
  // follows the mouse until the button is released. Interface thread.
  virtual void resizeFromGrip() = 0;
};

}  // namespace s::gui
