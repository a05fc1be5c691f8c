#pragma once

#include <mutex>

#include "os/gui/Desktop.h"

namespace s::os::gtk {

// Desktop services over D-Bus: logind's Inhibit on the system bus (the
// returned descriptor holds the inhibition until it is closed) and the
// freedesktop notification service on the session bus. Every call waits at
// most kCallTimeoutMs for an answer.
class GioDesktop final : public s::os::gui::Desktop {
 public:
  static constexpr int kCallTimeoutMs = 3000;

  GioDesktop() = default;
  ~GioDesktop() override;
  GioDesktop(const GioDesktop&) = delete;
  GioDesktop& operator=(const GioDesktop&) = delete;

  bool keepAwake(const std::u16string& reason) override;
  void allowSleep() override;
  bool notify(const std::u16string& summary, const std::u16string& body) override;

 private:
  std::mutex lock_;     // guards inhibitFd_
  int inhibitFd_ = -1;  // logind's inhibition, held while open
};

}  // namespace s::os::gtk
