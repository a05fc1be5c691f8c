#pragma once

#include <atomic>
#include <string>

namespace s::os {

// Fetching a web address into a file: the platform's HTTP client. One
// process-wide instance (http()); a test may install a wrapper with
// setHttp().
class Http {
 public:
  virtual ~Http() = default;

  // Whether the system reports a network connection (an interface other than
  // loopback that is up and has an address; on Windows the system's own
  // connected state, not offline). Never waits for the network. Any thread.
  virtual bool connected() = 0;

  // Fetches `url` ("http://" or "https://", redirects followed) with a GET and
  // writes the body to the file `path` (made or replaced). True when the
  // server answered with success and the whole body was written; false
  // otherwise, with no file left at `path`. Gives up, false, soon after
  // `cancel` becomes true, and after kLimitMs in any case. Blocks the calling
  // thread; never the interface thread. Any other thread.
  virtual bool download(const std::u16string& url, const std::u16string& path,
                        const std::atomic<bool>& cancel) = 0;

  static constexpr long kLimitMs = 30000;
};

// The process-wide Http. Never null. Any thread.
Http& http();

// Installs `replacement` (null restores the platform's own) and returns the
// previous one. For tests; before other threads use http().
Http* setHttp(Http* replacement);

// The platform's own Http, whatever is installed. Any thread.
Http& platformHttp();

}  // namespace s::os
