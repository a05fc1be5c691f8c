#pragma once

#include <atomic>
#include <cstdint>

#include "os/TipJournal.h"

namespace s::file::win {
class PathWin;
}
namespace s::file::wiper {
class IMethod;
}

namespace s::file::wiper::win {

// The cluster-tip write of one file: overwrites the unused end of the
// file's last allocation unit (from the end of its data to the end of the
// unit) and puts back the file's length, times and attributes, so that its
// content is unchanged. The file's state is recorded in the tip journal
// (s::os::tipJournal()) before anything about it changes and the record is
// removed once the file is whole again, so a crash in between is repaired at
// the next start. The journal holds a record only for the file being worked
// on (or one left longer than its data because it could not be cut back).
class CluterTip {
 public:
  // What the write is done with: the worker's fill method (without one
  // nothing is written) and its scratch buffer, the worker's progress (moved
  // on by the write) and its stop flag (non-zero: stop; read before the
  // write). The tip gets the bytes of s::os::tipPattern for a seed drawn
  // from the program's generator and kept in the journal record, so that a
  // replay after a crash can tell the wipe's bytes from anybody else's.
  struct Fill {
    IMethod* method = nullptr;
    std::uint8_t* buffer = nullptr;
    std::int32_t bufferSize = 0;
    std::atomic<float>* progress = nullptr;
    const std::atomic<std::uint8_t>* stop = nullptr;
  };

  // Wipes the tip of `file`, moving the progress on to `to`. Leaves alone,
  // returning true, a file whose attributes say encrypted, compressed or
  // sparse and a file whose length is a whole number of units (an empty one
  // included): nothing is written, nothing changes. Leaves alone, returning
  // false, what is not a regular file (links are never followed), a file
  // another process holds open (or of which the system cannot tell), a file
  // that changes while it is being prepared, and every file when the journal
  // cannot be written. Otherwise returns whether the tip was written and
  // the length put back. Never renames, deletes or shortens a file below its
  // length. The caller's (worker's) thread only.
  //
  // `result` (may be null) receives what became of the file.
  enum class Result { Written, NothingToWrite, LeftAlone, InUse, NotOpened, Failed };
  static bool wipe(s::file::win::PathWin& file, float to, const Fill& fill,
                   Result* result = nullptr);

  // The attribute bits that keep a file from being touched (encrypted,
  // compressed, sparse).
  static constexpr std::uint32_t kLeftAlone = 0x4A00;
  // What a file's attributes are while its tip is written (normal and not
  // content-indexed).
  static constexpr std::uint32_t kWhileWriting = s::os::TipJournal::kWhileWriting;
};

}  // namespace s::file::wiper::win
