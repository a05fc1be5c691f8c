#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

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
};

// The per-user journal of files the cluster-tip wipe is extending. A crash
// (or a kill) between the growth of a file and its restoration leaves the
// record behind; replay() at the next start cuts the file back and puts its
// times and attributes back. One process-wide instance serves the platform
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

  // Adds `record` and returns only once it is durable (on the device).
  // False when it could not be written: the caller must then leave the file
  // alone.
  virtual bool record(const TipRecord& record) = 0;

  // Removes the record of the file (same path and file id). False when the
  // journal could not be rewritten (the record stays and a later replay
  // finds the file whole, which is harmless).
  virtual bool forget(const TipRecord& record) = 0;

  // Repairs every file the journal lists whose writer is no longer running:
  // a file that is still the recorded one (same volume and file id, reached
  // without following a link in its last place) and whose length lies
  // between the recorded length and the recorded growth is cut back to the
  // recorded length and gets its times and attributes back. A file that is
  // gone, replaced or changed otherwise since (shorter, or longer than the
  // tip write could make it) is left untouched and its record dropped; a
  // file that cannot be repaired now keeps its record. Returns the number of
  // files repaired. Called by the program and the command-line tool at start,
  // before any work.
  virtual std::size_t replay() = 0;
};

// The process-wide TipJournal. Never null. Any thread.
TipJournal& tipJournal();

// Installs `replacement` (null restores the platform's own) and returns the
// previous one. For tests; call before other threads use tipJournal().
TipJournal* setTipJournal(TipJournal* replacement);

// The platform's own TipJournal, whatever is installed. Any thread.
TipJournal& platformTipJournal();

}  // namespace s::os
