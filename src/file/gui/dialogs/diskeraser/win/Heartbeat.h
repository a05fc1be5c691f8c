#pragma once

#include <cstdint>
#include <string>

#include "gui/IEventListener.h"

namespace s::gui {
class IWindow;
}

namespace s::file::gui::dialogs::diskeraser::win {

// A timer on the interface thread that beats every kPeriodMs while a run
// goes on and records how late each beat came: the measure of a window that
// never freezes. At stop() the worst lateness is written, as
// "worst_lateness_ms N beats M", to the file named by VONQ_HEARTBEAT_LOG
// when that is set. Interface thread.
class Heartbeat final : public s::gui::IEventListener {
 public:
  static constexpr std::uint32_t kTimerId = 0x4842;
  static constexpr std::uint32_t kPeriodMs = 50;

  // Listens to `window`'s timers (not owned; outlives this object).
  explicit Heartbeat(s::gui::IWindow* window);

  // Starts beating afresh (the records start at 0).
  void start();
  // Stops beating and writes the record where asked.
  void stop();
  // The latest beat's lateness so far, in milliseconds.
  std::uint64_t worstMillis() const { return worst_; }
  std::uint64_t beats() const { return beats_; }

  // The window's timer events.
  void onEvent(s::base::IObject* sender, std::int32_t code) override;

 private:
  s::gui::IWindow* window_;
  bool beating_ = false;
  std::uint64_t last_ = 0;
  std::uint64_t worst_ = 0;
  std::uint64_t beats_ = 0;
};

}  // namespace s::file::gui::dialogs::diskeraser::win
