#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "os/gui/MemDC.h"
#include "os/gui/NativeWidget.h"
#include "os/gui/Ui.h"

// The platform's windowing with switches for tests: windows that cannot be
// made, message boxes answered at once (and recorded), and a record of what
// the toolkit asked of each child control. Installed while it lives (or
// until uninstall()).
class SpecialUi final : public s::os::gui::Ui {
 public:
  // What one child control was asked.
  struct WidgetLog {
    std::vector<s::os::gui::Rect> places;
    std::vector<std::u16string> accessibleNames;
    bool visible = false;
    std::u16string text;
    bool checked = false;
    std::vector<std::u16string> items;
    std::int32_t selected = -1;
    std::int32_t minimum = 0, maximum = 0, position = 0;
    std::vector<s::os::gui::ControlLook> looks;  // null looks are left out
    s::os::gui::WidgetSink* sink = nullptr;      // the component behind the control
  };

  SpecialUi() : real_(s::os::gui::platformUi()) { previous_ = s::os::gui::setUi(this); }
  ~SpecialUi() override { uninstall(); }
  void uninstall() {
    if (installed_) s::os::gui::setUi(previous_ == &real_ ? nullptr : previous_);
    installed_ = false;
  }

  bool failWindows = false;
  s::os::gui::BoxAnswer boxAnswer = s::os::gui::BoxAnswer::kOk;
  std::vector<std::u16string> boxes;                // "caption: text"
  std::vector<std::shared_ptr<WidgetLog>> widgets;  // in the order they were made

  bool start() override { return real_.start(); }
  std::string displayError() override { return real_.displayError(); }
  void stop() override {}
  bool onUiThread() override { return real_.onUiThread(); }
  void call(const std::function<void()>& work) override { real_.call(work); }
  bool post(std::function<void()> work) override { return real_.post(std::move(work)); }
  s::os::gui::Rect primaryScreen() override { return real_.primaryScreen(); }
  s::os::gui::Rect virtualScreen() override { return real_.virtualScreen(); }
  s::os::gui::Rect workArea() override { return real_.workArea(); }
  s::os::gui::NativeWindow* createWindow(s::os::gui::WindowSink& sink) override {
    return failWindows ? nullptr : real_.createWindow(sink);
  }
  s::os::gui::NativeWidget* createWidget(s::os::gui::WidgetKind kind,
                                         s::os::gui::NativeView& parent,
                                         s::os::gui::WidgetSink& sink) override;
  s::os::gui::NativeMenu* createMenu(s::os::gui::MenuSink& sink) override {
    return real_.createMenu(sink);
  }
  s::os::gui::BoxAnswer messageBox(s::os::gui::NativeView*, s::os::gui::BoxKind,
                                   std::u16string_view text, std::u16string_view caption) override {
    boxes.push_back(std::u16string(caption) + u": " + std::u16string(text));
    return boxAnswer;
  }
  void setProgramName(std::u16string_view name) override { real_.setProgramName(name); }
  std::unique_ptr<s::os::gui::MemDC> createMemDC(std::int32_t w, std::int32_t h) override {
    return real_.createMemDC(w, h);
  }
  std::u16string interfaceFontFace() override { return real_.interfaceFontFace(); }

 private:
  s::os::gui::Ui& real_;
  s::os::gui::Ui* previous_ = nullptr;
  bool installed_ = true;
};
