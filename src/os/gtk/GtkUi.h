#pragma once

#include <atomic>
#include <future>
#include <mutex>
#include <string>
#include <thread>

#include "os/gui/Ui.h"

namespace s::os::gtk {

// The GTK 3 windowing: one GTK thread, started by the first window, owns
// every widget and runs every listener; other threads hand it work through
// the default main context and wait for it. The X11 backend is preferred so
// that positions and keep-on-top work.
class GtkUi final : public s::os::gui::Ui {
 public:
  GtkUi() = default;
  ~GtkUi() override;
  GtkUi(const GtkUi&) = delete;
  GtkUi& operator=(const GtkUi&) = delete;

  bool start() override;
  std::string displayError() override;
  void stop() override;
  bool onUiThread() override;
  void call(const std::function<void()>& work) override;
  bool post(std::function<void()> work) override;
  s::os::gui::Rect primaryScreen() override;
  s::os::gui::Rect virtualScreen() override;
  s::os::gui::Rect workArea() override;
  s::os::gui::NativeWindow* createWindow(s::os::gui::WindowSink& sink) override;
  s::os::gui::NativeWidget* createWidget(s::os::gui::WidgetKind kind,
                                         s::os::gui::NativeView& parent,
                                         s::os::gui::WidgetSink& sink) override;
  s::os::gui::NativeMenu* createMenu(s::os::gui::MenuSink& sink) override;
  s::os::gui::BoxAnswer messageBox(s::os::gui::NativeView* owner, s::os::gui::BoxKind kind,
                                   std::u16string_view text, std::u16string_view caption) override;
  void setProgramName(std::u16string_view name) override;
  std::unique_ptr<s::os::gui::MemDC> createMemDC(std::int32_t width, std::int32_t height) override;
  std::u16string interfaceFontFace() override;

 private:
  void run(std::promise<bool>* started);
  // Reads the family of GtkSettings' "gtk-font-name" (GTK thread).
  void readInterfaceFont();
  static void interfaceFontChanged(void* settings, void* property, void* self);

  std::mutex lock_;  // guards the start and stop
  bool tried_ = false;
  bool ok_ = false;
  std::string error_;
  std::string programName_;
  std::thread thread_;
  std::atomic<bool> running_{false};
  std::atomic<std::thread::id> uiThread_{};
  std::mutex faceLock_;  // guards face_
  std::u16string face_;  // the desktop's interface font family ("" not read)
};

}  // namespace s::os::gtk
