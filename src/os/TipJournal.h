#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "os/FileTimes.h"

namespace s::os {

// What the cluster-tip wipe must put back on one file: written to the
// journal before the file is touched, removed once it is whole again.
struct TipRecord {
  std::u16string path;           // absolute path of the file
  std::uint64_t device = 0;      // volume of the file (FileInfo::device)
  std::uint64_t fileId = 0;      // the file on its volume (FileInfo::fileId)
  std::uint64_t length = 0;      // length of its data before the tip write
  std::uint64_t extendedTo = 0;  // the length the tip write grows it to at most
  FileTimes times;               // its three times before the tip write
  std::uint32_t attributes = 0;  // its FileAttributes before the tip write
  std::uint64_t seed = 0;        // what the tip write writes: tipPattern(seed)
};

// The bytes the cluster-tip wipe writes into the tip of a file recorded with
// `seed`: byte k past the end of the file's data is byte k of this stream
// (the first `count` bytes are put into `out`). Replay compares what lies
// past the recorded length with it, so that it only ever cuts away bytes the
// wipe itself wrote. Pseudorandom, the same on every platform. Any thread.
void tipPattern(std::uint64_t seed, std::uint8_t* out, std::size_t count);

// The per-user journal of files the cluster-tip wipe is extending. A crash
// (or a kill) between the growth of a file and its restoration leaves the
// record behind; replay() at the next start cuts the file back and puts its
// times and attributes back, but only when the file is provably in a state
// the wipe itself left. It holds at most one record per running wipe: the
// file being worked on. One process-wide instance serves the platform
// (tipJournal()); a test may install another with setTipJournal(). Every
// operation may be called from any thread and from several processes of the
// same user at once; none throws.
class TipJournal {
 public:
  virtual ~TipJournal() = default;

  // Whether records can be written now: the journal has a place (on Linux a
  // state folder: XDG_STATE_HOME or HOME) that exists or can be made, and
  // its lock can be taken. Writes no record. A false here means every
  // record() would fail, so no file could be worked on.
  virtual bool usable() = 0;

  // Adds `record` as written by the calling process and returns only once it
  // is durable (on the device). False when it could not be written, or when
  // the path no longer names the recorded file (device and file id): the
  // caller must then leave the file alone.
  virtual bool record(const TipRecord& record) = 0;

  // Removes the record of the file (same path and file id). False when the
  // journal could not be rewritten (the record stays and a later replay
  // finds the file whole, which is harmless).
  virtual bool forget(const TipRecord& record) = 0;

  // Repairs every file the journal lists whose writer is no longer running
  // (a record of a running writer is kept untouched). A file is repaired -
  // cut back to the recorded length, its times and attributes put back -
  // only when it is still the recorded one (same volume and file id, reached
  // without following a link in its last place, same creation time) and is
  // provably in a state the tip write leaves: grown by nothing but bytes of
  // tipPattern(seed) and last changed by that write (its modification and
  // change times are one moment), with the recorded or the while-writing
  // attributes; or of the recorded length and modification time with the
  // while-writing attributes. A file of the recorded length, modification
  // time and attributes needs nothing. Anything else - data appended or
  // changed, a length past the tip, times or attributes set by someone
  // since - is left untouched, its record dropped and its path added to
  // `leftAlone` so that the caller can tell the user. A file that is gone or
  // replaced is dropped silently; a file that cannot be repaired now keeps
  // its record. Returns the number of files repaired. Called by the program
  // and the command-line tool at start, before any work.
  virtual std::size_t replay(std::vector<std::u16string>& leftAlone) = 0;

  // replay() for a caller that does not report the files left alone.
  std::size_t replay() {
    std::vector<std::u16string> ignored;
    return replay(ignored);
  }

  // The attributes the tip write gives a file while it works on it (normal
  // and not content-indexed).
  static constexpr std::uint32_t kWhileWriting = 0x2080;
};

// The process-wide TipJournal. Never null. Any thread.
TipJournal& tipJournal();

// Installs `replacement` (null restores the platform's own) and returns the
// previous one. For tests; call before other threads use tipJournal().
TipJournal* setTipJournal(TipJournal* replacement);

// The platform's own TipJournal, whatever is installed. Any thread.
TipJournal& platformTipJournal();

}  // namespace s::os
