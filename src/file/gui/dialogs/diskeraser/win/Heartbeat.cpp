#include "file/gui/dialogs/diskeraser/win/Heartbeat.h"

#include <cstdio>
#include <cstdlib>

#include "gui/IWindow.h"
#include "os/System.h"

namespace s::file::gui::dialogs::diskeraser::win {

Heartbeat::Heartbeat(s::gui::IWindow* window) : window_(window) {
  window_->addTimerListener(this);
}

void Heartbeat::start() {
  beating_ = true;
  worst_ = 0;
  beats_ = 0;
  last_ = s::os::system().millis();
  window_->startTimer(kTimerId, kPeriodMs);
}

void Heartbeat::stop() {
  if (!beating_) return;
  beating_ = false;
  window_->stopTimer(kTimerId);
  const char* path = std::getenv("VONQ_HEARTBEAT_LOG");
  if (path == nullptr || *path == '\0') return;
  if (std::FILE* log = std::fopen(path, "a")) {
    std::fprintf(log, "worst_lateness_ms %llu beats %llu\n",
                 static_cast<unsigned long long>(worst_), static_cast<unsigned long long>(beats_));
    std::fclose(log);
  }
}

void Heartbeat::onEvent(s::base::IObject*, std::int32_t code) {
  if (!beating_ || code != s::gui::IWindow::kTimer || window_->getLastTimer() != kTimerId) return;
  const std::uint64_t now = s::os::system().millis();
  const std::uint64_t gap = now - last_;
  if (gap > kPeriodMs && gap - kPeriodMs > worst_) worst_ = gap - kPeriodMs;
  last_ = now;
  ++beats_;
}

}  // namespace s::file::gui::dialogs::diskeraser::win
