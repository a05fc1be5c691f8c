#pragma once

#include <cstdint>

#include "gui/IEventListener.h"
#include "thread/IPoolable.h"
#include "thread/Pooled.h"

namespace s::app {
class IAppWindow;
}
namespace s::gui {
class IWindow;
}
namespace s::gui::win {
class Box;
class Button;
class Label;
class Window;
}  // namespace s::gui::win

namespace s::gui::dialogs {

// The version window: the product's title and version, its date, licence
// and address, the program's large icon, a donation link and a Close
// button. While it is open its owner takes no input. Each show() builds a
// fresh window at the place its record remembers. Interface thread (calls
// from other threads are passed there). Pooled: create(), bind(), show(),
// release().
class About3 final : public IEventListener,
                     public virtual s::base::IObject,
                     public virtual s::thread::IPoolable {
  VONQ_POOLED(About3, s::thread::kPoolCap)
 public:
  About3() = default;
  ~About3() override;
  About3(const About3&) = delete;
  About3& operator=(const About3&) = delete;

  // The record (not owned; named "AboutWindow") the window is bound to;
  // the window draws with its colour themes when it carries some.
  void bind(s::app::IAppWindow* record) { record_ = record; }
  // Builds and shows the window over `owner` (may be null) and returns at
  // once.
  void show(s::gui::IWindow* owner);
  // The window shown last (null before the first show()), for tests.
  s::gui::win::Window* window() const { return window_; }

  void onEvent(s::base::IObject* sender, std::int32_t code) override;

  const char16_t* getClassName() const override { return u"s_gui_dialogs_About3"; }
  void reset() override;

 private:
  void build();
  s::gui::win::Box* header();
  s::gui::win::Box* facts();
  s::gui::win::Box* donation();
  void giveBack();

  s::app::IAppWindow* record_ = nullptr;
  s::gui::IWindow* owner_ = nullptr;
  s::gui::win::Window* window_ = nullptr;
  s::gui::win::Button* closeX_ = nullptr;
  s::gui::win::Button* closeButton_ = nullptr;
  s::gui::win::Label* address_ = nullptr;
  s::gui::win::Label* donate_ = nullptr;
};

}  // namespace s::gui::dialogs
