#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "os/File.h"

namespace s::file::wiper::win {

class EngineOperation;

// The two large temporary files in the drive's root that take up its free
// space: "Vonq_Nulmark.tmp01" (unbuffered, sized in whole steps of
// kStepSize) and "Vonq_Nulmark.tmp02" (write-through, takes the rest).
//
// Safety: a leftover entry of either name is deleted first (a link is
// deleted itself, never followed); the files are then created new,
// exclusively, never through a link, and journalled for deletion at the next
// start before they can grow, so that a crash at any point leaves nothing
// behind once the journal is replayed. Engine's thread only.
class LargeTempFiles {
 public:
  static constexpr int kFirst = 0;
  static constexpr int kSecond = 1;

  // The step the first file is sized in: 40 fill buffers.
  static constexpr std::uint64_t kStepSize = 422707200;
  // Attempts to give a file its size, and the pause between them.
  static constexpr int kSizeAttempts = 12;
  static constexpr std::uint32_t kRetryPauseMillis = 500;

  // Computes the size to give a file from the drive's free bytes now.
  using SizeRule = std::function<std::uint64_t(std::uint64_t freeBytes)>;

  // How sizing treats the space: Reserve takes it at once (the MFT wipe,
  // which must leave no free cluster before it writes anything); Fill lets
  // the writes that follow take it, so that a volume that cannot allocate
  // without writing (ntfs-3g) is not written twice by the free-space fill.
  enum class Sizing { Reserve, Fill };

  LargeTempFiles(const EngineOperation& operation, Sizing sizing);
  ~LargeTempFiles();  // closes what is still open
  LargeTempFiles(const LargeTempFiles&) = delete;
  LargeTempFiles& operator=(const LargeTempFiles&) = delete;

  // The first file's size for `freeBytes`: rounded down to a whole multiple
  // of kStepSize when more than kStepSize, else 0.
  static std::uint64_t firstSize(std::uint64_t freeBytes) {
    return freeBytes > kStepSize ? freeBytes / kStepSize * kStepSize : 0;
  }
  // The second file's size: all of it.
  static std::uint64_t secondSize(std::uint64_t freeBytes) { return freeBytes; }

  // Deletes leftovers of both names, creates both files (empty) and
  // journals them. False when a leftover cannot be deleted, a file cannot be
  // created or the journal cannot be written; nothing of ours is then left
  // (the files made are deleted again).
  bool open();

  // Gives file `which` its size from `rule`, with up to kSizeAttempts
  // attempts kRetryPauseMillis apart, the free bytes read anew before each.
  // With Sizing::Reserve the file really takes the space (no sparse hole).
  // `sized` receives the size given. False when every attempt failed.
  bool setSize(int which, const SizeRule& rule, std::uint64_t& sized);

  s::os::File& file(int which) { return *files_[which]; }
  const std::u16string& path(int which) const { return paths_[which]; }

  // Closes file `which` (nothing when closed already). With Sizing::Fill a
  // file not written to its end is first cut where its writes stopped.
  void close(int which);

 private:
  void discard();

  const EngineOperation& operation_;
  const Sizing sizing_;
  std::u16string paths_[2];
  std::unique_ptr<s::os::File> files_[2];
};

}  // namespace s::file::wiper::win
