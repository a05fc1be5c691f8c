#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "os/gui/Geometry.h"

namespace s::os::gui {

class MemDC;
class MenuSink;
class NativeMenu;
class NativeView;
class NativeWidget;
class NativeWindow;
class WidgetSink;
class WindowSink;
enum class WidgetKind : std::uint8_t;

// The message boxes the toolkit shows: icon and buttons.
enum class BoxKind : std::uint8_t {
  kInfo,       // information icon, OK
  kWarning,    // exclamation icon, OK
  kError,      // stop icon, OK
  kAsk,        // question icon, Yes and No
  kAskCancel,  // question icon, Yes, No and Cancel
};

// What the user answered a message box with.
enum class BoxAnswer : std::uint8_t { kOk, kYes, kNo, kCancel };

// The platform's windowing: one interface thread that owns every native
// window and runs every listener, the screen's facts, native windows and
// controls, message boxes and drawing surfaces. One process-wide instance
// serves the platform being built (ui()); a test may install a wrapper with
// setUi() to inject faults (a window that cannot be made).
//
// On GTK the interface thread is one thread shared by every window, started
// by start(); on Windows each window has its own and this object serves the
// calling window's.
class Ui {
 public:
  virtual ~Ui() = default;

  // Starts the interface thread and connects to the display (once; later
  // calls return the first answer). False when there is no display to use;
  // displayError() then says why. Any thread.
  virtual bool start() = 0;
  // Why start() failed ("" when it did not, or was not called). Any thread.
  virtual std::string displayError() = 0;
  // Ends the interface thread once every window is gone; at process end.
  // Main thread.
  virtual void stop() = 0;

  // True on the interface thread. Any thread.
  virtual bool onUiThread() = 0;
  // Runs `work` on the interface thread and returns when it has run. On the
  // interface thread itself, and when the interface thread is not running,
  // runs it at once on the caller's thread. While it waits the caller holds
  // no lock of the toolkit's. Any thread.
  virtual void call(const std::function<void()>& work) = 0;
  // Queues `work` for the interface thread and returns at once: true. False,
  // dropping the work, when the interface thread is not running. Any thread.
  virtual bool post(std::function<void()> work) = 0;

  // The primary monitor, the whole desktop over every monitor, and the
  // primary monitor's work area (without panels), in screen pixels. Zero
  // rectangles before start() succeeded. Interface thread.
  virtual Rect primaryScreen() = 0;
  virtual Rect virtualScreen() = 0;
  virtual Rect workArea() = 0;

  // A new hidden top-level window reporting to `sink`; null when the
  // platform could not make one. Interface thread.
  virtual NativeWindow* createWindow(WindowSink& sink) = 0;
  // A new hidden child control of `kind` inside `parent` (a window or a
  // container control made here), reporting to `sink`; null when it could
  // not be made. Interface thread.
  virtual NativeWidget* createWidget(WidgetKind kind, NativeView& parent, WidgetSink& sink) = 0;

  // A new, empty drop-down menu reporting to `sink`; null when it could not
  // be made. Interface thread.
  virtual NativeMenu* createMenu(MenuSink& sink) = 0;

  // Shows a modal message box with `text` and `caption` (empty: the
  // program's name) over `owner` (null: the active window of the program, if
  // any), and returns the answer; closing it by its frame answers Cancel (No
  // for kAsk, OK for the one-button kinds). The texts are shown as they are
  // (no markup). Interface thread.
  virtual BoxAnswer messageBox(NativeView* owner, BoxKind kind, std::u16string_view text,
                               std::u16string_view caption) = 0;
  // The caption of message boxes. Any thread, before the first box.
  virtual void setProgramName(std::u16string_view name) = 0;

  // A new drawing surface of width x height pixels (at least 1 x 1). Needs
  // no display. Any thread; the surface belongs to the caller.
  virtual std::unique_ptr<MemDC> createMemDC(std::int32_t width, std::int32_t height) = 0;

  // The family name of the desktop's interface font (the face the toolkit's
  // own texts default to), never empty: "Sans" when there is no display or
  // the desktop names none. Read on the interface thread when it starts and
  // whenever the desktop's setting changes; answering never waits for the
  // interface thread. Any thread.
  virtual std::u16string interfaceFontFace() = 0;
};

// The process-wide Ui. Never null. Any thread.
Ui& ui();
// Installs `replacement` (null restores the platform's own) and returns the
// previous one. For tests; before windows are made.
Ui* setUi(Ui* replacement);
// The platform's own Ui, whatever is installed. Any thread.
Ui& platformUi();

}  // namespace s::os::gui
