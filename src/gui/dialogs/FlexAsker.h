#pragma once

#include <atomic>
#include <cstdint>
#include <string>

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
class Button;
class CheckBox;
class Window;
}  // namespace s::gui::win

namespace s::gui::dialogs {

// A Yes/No question in a window of its own, with an optional "Don't ask me
// again" box. Return answers with the default button (Yes at first), Tab
// moves the default to the other button, the frame's close box answers No.
// While it asks, a live owner takes no input and the question sits centred
// on it. ask() blocks its caller (never the interface thread); the window
// runs on the interface thread. Pooled: create(), bind(), ask(), release().
class FlexAsker final : public IEventListener,
                        public virtual s::base::IObject,
                        public virtual s::thread::IPoolable {
  VONQ_POOLED(FlexAsker, s::thread::kPoolCap)
 public:
  static constexpr std::int32_t kMessageGap = 50;  // pixels around a long message

  FlexAsker() = default;
  ~FlexAsker() override;
  FlexAsker(const FlexAsker&) = delete;
  FlexAsker& operator=(const FlexAsker&) = delete;

  // The record (not owned; named "FlexAskerWindow") the window is bound to.
  void bind(s::app::IAppWindow* record) { record_ = record; }
  // The entries of the buttons' and the box's texts; the box shows no text
  // when `showCheck` is false.
  void setTexts(std::int32_t yes, std::int32_t no, std::int32_t check, bool showCheck);

  // Shows `message` under `title` (empty: entries 400300 and 400320) over
  // `owner` (may be null) and returns once it is answered. Main thread.
  void ask(s::gui::IWindow* owner, const std::u16string& title, const std::u16string& message);

  bool answeredYes() const { return answerYes_.load(); }
  bool dontAskAgain() const { return dontAskAgain_.load(); }
  // The window of the question being asked (null otherwise), for tests.
  s::gui::win::Window* window() const { return shown_.load(); }

  void onEvent(s::base::IObject* sender, std::int32_t code) override;

  const char16_t* getClassName() const override { return u"s_gui_dialogs_FlexAsker"; }
  void reset() override;

 private:
  void build(const std::u16string& title, const std::u16string& message);
  void place(s::gui::IWindow* owner, std::int32_t messageWidth);
  void answer(bool yes);
  void moveDefault();
  void giveBack();

  s::app::IAppWindow* record_ = nullptr;
  std::int32_t yesTextId_ = 400330;
  std::int32_t noTextId_ = 400340;
  std::int32_t checkTextId_ = 400380;
  bool showCheck_ = true;
  s::gui::win::Window* window_ = nullptr;
  std::atomic<s::gui::win::Window*> shown_{nullptr};
  s::gui::win::Button* yesButton_ = nullptr;
  s::gui::win::Button* noButton_ = nullptr;
  s::gui::win::CheckBox* checkBox_ = nullptr;
  std::int32_t messageWidth_ = 0;
  std::atomic<bool> answerYes_{false};
  std::atomic<bool> dontAskAgain_{false};
};

}  // namespace s::gui::dialogs
