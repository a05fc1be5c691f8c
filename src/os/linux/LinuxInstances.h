#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "os/Instances.h"

namespace s::os {

// Single instance on Linux: /proc/*/exe compared with our executable, and a
// Unix stream socket per user and executable path in $XDG_RUNTIME_DIR (a
// private folder), else an abstract socket whose peers must be the same user.
class LinuxInstances final : public Instances {
 public:
  LinuxInstances() = default;
  ~LinuxInstances() override;
  LinuxInstances(const LinuxInstances&) = delete;
  LinuxInstances& operator=(const LinuxInstances&) = delete;

  std::u16string programPath() override;
  bool otherRunning(std::u16string_view programPath) override;
  bool send(std::u16string_view programPath, Message message) override;
  bool listen(std::u16string_view programPath, std::function<void(Message)> handler) override;
  void stopListening() override;

 private:
  void serve(int socket, std::function<void(Message)> handler);

  std::mutex lock_;
  int socket_ = -1;
  std::string socketFile_;
  std::thread listener_;
};

}  // namespace s::os
