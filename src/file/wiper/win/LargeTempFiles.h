#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "file/wiper/Shortfall.h"
#include "os/File.h"

namespace s::file::wiper::win {

class EngineOperation;

// The large temporary files in the drive's root that take up its free
// space: "Vonq_Nulmark.tmp01" (unbuffered, sized in whole steps of
// kStepSize) and "Vonq_Nulmark.tmp02" (write-through, takes the rest). On a
// volume whose files are limited in size (FAT: 4 GiB - 1 byte) each file is
// capped, and further unbuffered files "Vonq_Nulmark.tmp03", ... take what
// the first one cannot.
//
// Safety: a leftover entry of a name is deleted first (a link is deleted
// itself, never followed); the files are then created new, exclusively,
// never through a link, and journalled for deletion at the next start
// before they can grow, so that a crash at any point leaves nothing behind
// once the journal is replayed. Engine's thread only.
class LargeTempFiles {
 public:
  static constexpr int kFirst = 0;
  static constexpr int kSecond = 1;

  // The step the unbuffered files are sized in: 40 fill buffers.
  static constexpr std::uint64_t kStepSize = 422707200;
  // Attempts to give a file its size, and the pause between them.
  static constexpr int kSizeAttempts = 12;
  static constexpr std::uint32_t kRetryPauseMillis = 500;
  // Free bytes a volume may still report when a write meets it full (a
  // last cluster it cannot hand out, the tail of a partial write).
  static constexpr std::uint64_t kFullSlack = 1u << 20;

  // Computes the size to give a file from the drive's free bytes now.
  using SizeRule = std::function<std::uint64_t(std::uint64_t freeBytes)>;

  // How sizing treats the space: Reserve takes it at once (the MFT wipe,
  // which must leave no free cluster before it writes anything); Fill lets
  // the writes that follow take it, so that a volume that cannot allocate
  // without writing (ntfs-3g) is not written twice by the free-space fill.
  enum class Sizing { Reserve, Fill };

  // How giving a file its size (or writing it) ended: it got all of it;
  // the volume filled up first (the free space is taken: that is the job
  // done); the operation was cancelled; or it failed otherwise.
  enum class Taken { All, Full, Cancelled, Failed };

  // What taking the free space that way means for the operation: a full
  // volume is the job done (None), a cancel Cancelled, a failure WriteFailed.
  static Shortfall shortfallOf(Taken taken);

  LargeTempFiles(const EngineOperation& operation, Sizing sizing);
  ~LargeTempFiles();  // closes what is still open
  LargeTempFiles(const LargeTempFiles&) = delete;
  LargeTempFiles& operator=(const LargeTempFiles&) = delete;

  // The size of an unbuffered file for `freeBytes` on a volume whose files
  // hold at most `maxSize` bytes: the free bytes (at most `maxSize`)
  // rounded down to a whole multiple of kStepSize when more than kStepSize,
  // else 0.
  static std::uint64_t firstSize(std::uint64_t freeBytes, std::uint64_t maxSize);
  // The write-through file's size: all of it, at most `maxSize`.
  static std::uint64_t secondSize(std::uint64_t freeBytes, std::uint64_t maxSize) {
    return freeBytes < maxSize ? freeBytes : maxSize;
  }

  // Deletes leftovers of the first two names, creates both files (empty)
  // and journals them. False when a leftover cannot be deleted, a file
  // cannot be created or the journal cannot be written; nothing of ours is
  // then left (the files made are deleted again).
  bool open();

  // Makes one more unbuffered file (after deleting a leftover of its name)
  // and journals it. Its index, or -1 when it cannot be made.
  int addUnbuffered();

  // Hands the files to another operation of the same run (the free space
  // they took is its to use), with `sizing` from now on.
  void rebind(const EngineOperation& operation, Sizing sizing);

  // Gives file `which` its size from `rule`, with up to kSizeAttempts
  // attempts kRetryPauseMillis apart, the free bytes read anew before each.
  // With Sizing::Reserve the file really takes the space (no sparse hole)
  // and a volume that fills up first ends it with Full, keeping what was
  // taken; the growth stops when the operation is cancelled. `sized`
  // receives the size asked for in the last attempt.
  Taken setSize(int which, const SizeRule& rule, std::uint64_t& sized);

  // How a write into file `which` that returned `written` ended, from the
  // operation's cancel flag, the failure the write recorded and the free
  // bytes left (Full only when at most kFullSlack).
  Taken writeResult(bool written) const;

  int count() const { return static_cast<int>(files_.size()); }
  s::os::File& file(int which) { return *files_[which]; }
  const std::u16string& path(int which) const { return paths_[which]; }
  const std::vector<std::u16string>& paths() const { return paths_; }

  // Closes file `which` (nothing when closed already). With Sizing::Fill a
  // file not written to its end is first cut where its writes stopped.
  void close(int which);
  void closeAll();

 private:
  bool create(int which);
  void discard();

  const EngineOperation* operation_;
  Sizing sizing_;
  std::vector<std::u16string> paths_;
  std::vector<std::unique_ptr<s::os::File>> files_;
};

}  // namespace s::file::wiper::win
