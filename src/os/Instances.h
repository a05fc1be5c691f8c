#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace s::os {

// One copy of the program per executable path: finding a copy that runs the
// same executable, and the channel through which a new start asks it to come
// forward. One process-wide instance serves the platform being built
// (instances()).
class Instances {
 public:
  // The messages a start sends to the copy that runs already.
  enum Message : std::uint8_t {
    kActivate = 1,       // restore, show and bring the window to the front
    kSecondMessage = 2,  // the second-instance message (its listeners decide)
  };

  virtual ~Instances() = default;

  // The full path of the running executable ("" when the system cannot say).
  // Any thread.
  virtual std::u16string programPath() = 0;
  // True when another process (not this one) runs the executable at
  // `programPath`. Linux: /proc/<pid>/exe of each process the caller may
  // inspect, compared exactly (paths are case-sensitive there); Windows: the
  // process snapshot, ignoring case. Never fails: what cannot be read is
  // skipped. Any thread.
  virtual bool otherRunning(std::u16string_view programPath) = 0;
  // Sends `message` to the copy listening for `programPath` and waits up to
  // 3000 ms for it to be handled. False when nobody listens or no answer
  // came in time. Any thread.
  virtual bool send(std::u16string_view programPath, Message message) = 0;
  // Starts listening for messages to `programPath` (the channel is per user:
  // another user's start cannot reach it). Each message is handed to
  // `handler` on the channel's own thread, which answers the sender once the
  // handler returned. A channel left by a copy that died is taken over.
  // False when the channel cannot be opened. Main thread.
  virtual bool listen(std::u16string_view programPath, std::function<void(Message)> handler) = 0;
  // Stops listening (waits for a handler that runs) and removes the channel.
  // Main thread.
  virtual void stopListening() = 0;
};

// The process-wide Instances. Never null. Any thread.
Instances& instances();

}  // namespace s::os
