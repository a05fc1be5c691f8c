#pragma once

#include <string>

namespace s::os::gui {

// The desktop session's services for a long-running job: keeping the
// computer from suspending while it runs, and telling the user how it ended
// when the window is not in front. Both are courtesies: a desktop that
// offers neither makes them answer false, and the job goes on regardless.
class Desktop {
 public:
  virtual ~Desktop() = default;

  // Asks the system not to suspend (nor idle into sleep) until allowSleep();
  // `reason` is shown where the system lists such requests. True when the
  // system agreed (a second call while held is a no-op answering true);
  // false when no session manager would take the request. May wait up to a
  // few seconds for the system's answer, so never call it on the interface
  // thread. Any other thread.
  virtual bool keepAwake(const std::u16string& reason) = 0;

  // Gives back what keepAwake() held; nothing when nothing is held. Never
  // waits for the system. Any thread.
  virtual void allowSleep() = 0;

  // Shows a desktop notification with `summary` and `body` (plain text,
  // shown as is) under the program's name. True when the notification
  // service took it; false when there is none. May wait up to a few
  // seconds, so never on the interface thread. Any other thread.
  virtual bool notify(const std::u16string& summary, const std::u16string& body) = 0;
};

// The process-wide desktop services of the platform. Never null. Any thread.
Desktop& desktop();

}  // namespace s::os::gui
