#pragma once

#include <cstdint>

#include "base/IObject.h"

namespace s::str::strarray {
class StrArray;
}
namespace s::str::strbuffer {
class StrBuffer;
}

namespace s::file::wiper {

class IMethod;

// The temporary-file worker: destroys the files and folders it is handed so
// that neither their data nor their names nor their times survive (overwrite
// through a fill method, truncation to random lengths and to 0, random
// renames, random attributes, random old times, deletion; folders depth
// first), or, in cluster-tip mode, overwrites only the unused end of the
// last allocation unit of each file it is handed (the files keep their
// content, length, times and attributes).
//
// It works on its own thread; the owner's thread configures it, starts it
// and polls isRunning(), getProgress() and getCurrentFile(). It never
// follows a symbolic link and leaves links, devices, fifos and sockets
// alone; it writes only to the entries it was handed (and what they hold).
//
// Configuration (init .. addPath) is for the owner's thread while the worker
// is not running. start, isRunning, stop, getProgress, getCurrentFile and the
// message operations may be called from any thread at any time.
class IWiper : public virtual s::base::IObject {
 public:
  static constexpr std::int32_t kDefaultCount = 2;

  ~IWiper() override = default;

  // Allocates the fill buffer (once). Returns whether the worker is
  // initialised; false when the buffer could not be had (the worker is then
  // left fresh).
  virtual bool init() = 0;

  // Back to the fresh state: frees the buffer, gives the method and the
  // paths back to their pools, empties the current file and the messages,
  // progress 0, the four counts 2, cluster-tip mode off, and takes the
  // current time as the base of the random file times. Not while running.
  virtual void uninit() = 0;

  // Gives the current method (if any) back to its pool and keeps `method`
  // (a pooled object; the worker owns it from now on). Null: no method, the
  // run then does nothing.
  virtual void setMethod(IMethod* method) = 0;

  // Length changes before deletion (truncate), random renames, random
  // attribute settings and random time settings per entry. Default 2 each.
  virtual void setTruncateCount(std::int32_t n) = 0;
  virtual void setRenameCount(std::int32_t n) = 0;
  virtual void setAttributeCount(std::int32_t n) = 0;
  virtual void setTimeCount(std::int32_t n) = 0;

  // On: the run overwrites cluster tips only (nothing is deleted).
  virtual void setCluterTipMode(bool on) = 0;

  // Appends a path (a zero-terminated text) to the work list.
  virtual void addPath(const char16_t* text) = 0;

  // Starts the run on the worker's thread. Waits for a run that is being
  // stopped (stop(false) before) to end first. Returns true when a run was
  // started; false when it refused: a run is going on (also one that
  // outlived the bounded wait of stop(true)) or the worker's thread cannot
  // run it. A refusal changes nothing, and the caller must not take it for
  // a run that ended. Owner's thread.
  virtual bool start() = 0;

  // True from start() until the run has really ended (a run that outlived
  // stop(true)'s wait included).
  virtual bool isRunning() = 0;

  // Asks the run to stop at its next test (the running write ends at its
  // next chunk; the entry being wiped then keeps its name and is not
  // deleted). With `wait`, returns when the run has ended or after 5000 ms,
  // whichever comes first; without, the request stays set.
  virtual void stop(bool wait) = 0;

  // Percent done over all paths, 0..100 (truncated).
  virtual std::int32_t getProgress() = 0;

  // Empties `out` and appends the name (in cluster-tip mode the full path)
  // of the entry being processed. Nothing when `out` is null.
  virtual void getCurrentFile(s::str::strbuffer::StrBuffer* out) = 0;

  // Appends a copy of `text` to the message list.
  virtual void addMessage(const char16_t* text) = 0;

  // A new list (owned by the caller) with copies of the messages.
  virtual s::str::strarray::StrArray* getMessages() = 0;
};

}  // namespace s::file::wiper
