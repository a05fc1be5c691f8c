#pragma once

#include <cstdint>
#include <string>

#include "base/IObject.h"

namespace s::system::network {

// Fetches one web address on a worker thread of its own, into a temporary
// file or into a text. Any thread except the worker's.
class IDownloader : public virtual s::base::IObject {
 public:
  ~IDownloader() override = default;

  // Starts the fetch on the worker unless one is running. Never waits.
  virtual void start() = 0;
  // Gives up the running fetch; with `wait`, returns once the worker is
  // free again (it is given 100 ms, then replaced).
  virtual void abort(bool wait) = 0;
  virtual void setUrl(const std::u16string& url) = 0;
  // After the fetch, read the file into getText() and delete it.
  virtual void setReadToText(bool on) = 0;
  // Starts the fetch and waits for it up to `timeoutMs` (in steps of
  // 200 ms), giving it up when it has not ended by then. True when it
  // succeeded. False at once, fetching nothing, when the system reports no
  // network connection.
  virtual bool download(std::int32_t timeoutMs) = 0;
  virtual bool hasSucceeded() = 0;
  // The temporary file of the last fetch ("" before one; gone when read
  // into the text).
  virtual std::u16string getFilePath() = 0;
  // The fetched bytes, one character per byte (with setReadToText).
  virtual std::u16string getText() = 0;
};

}  // namespace s::system::network
