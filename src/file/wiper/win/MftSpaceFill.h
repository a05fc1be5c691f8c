#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "file/wiper/Shortfall.h"
#include "file/wiper/win/LargeTempFiles.h"
#include "os/NtfsVolumeData.h"

namespace s::os {
class File;
}

namespace s::file::wiper::win {

class EngineOperation;

// The MFTSpace operation (NTFS only): grows the index of its folder
// "Vonq_NulmarkTMP" to hold an entry for every free MFT record, takes up
// every free cluster with the large temporary files (sized, never written;
// or those the free-space fill of the same run handed over, which hold the
// free space already), then fills the free records of the master file
// table with small hidden files of random data in that folder - each as
// large as still fits - until no free record is left, and deletes them
// all; the large files and the folder are then destroyed by a
// temporary-file worker. Live files are never touched. Engine's thread
// only.
class MftSpaceFill {
 public:
  static constexpr std::uint32_t kFirstFileSize = 4096;
  static constexpr std::uint32_t kMaxFiles = 2000000;
  // The MFT is read again after every this many small files.
  static constexpr std::uint32_t kQueryInterval = 64;
  // Small files allowed beyond the free records counted at the start
  // (records the run's own entries give back meanwhile).
  static constexpr std::uint64_t kRecordSlack = 64;
  // Characters in the name of a placeholder that grows the folder's index.
  static constexpr std::size_t kPlaceholderLength = 128;

  explicit MftSpaceFill(EngineOperation& operation) : operation_(operation) {}
  ~MftSpaceFill();  // removes the folder when run() never did
  MftSpaceFill(const MftSpaceFill&) = delete;
  MftSpaceFill& operator=(const MftSpaceFill&) = delete;

  // Reads the volume's MFT facts, makes the folder (after removing a
  // leftover of its name) and journals it, and grows its index while
  // clusters are still free. Done at most once; run() does it when no one
  // did before. Returns None, VolumeUnreadable (the volume's device cannot
  // be read: nothing is made), CannotCreate or Cancelled.
  Shortfall prepare();

  // The whole operation. `taken` (may be null) are the free-space fill's
  // files, which hold the free space already. Returns None when every free
  // cluster was taken (up to the last one the volume could hand out) and
  // the small files took every free record of the MFT; otherwise the
  // prepare() result, CannotCreate (a large file could not be made),
  // WriteFailed (one could not be sized), MftNotFilled (a small file could
  // not be made for another reason than a full volume), Cancelled (the skip
  // flag: sizing and the small-file loop stop at their next step), or
  // LeftBehind / WorkerRefused from the clean-up. Whatever the result,
  // everything made is deleted before it returns. The progress is
  // 1 - (size of the last small file tried) / 4096.
  Shortfall run(std::unique_ptr<LargeTempFiles> taken);

  // A small file's name: 8 + 3 characters of 0-9 A-Z ("XXXXXXXX.XXX"), from
  // the process-wide generator.
  static std::u16string randomName();

 private:
  // How the small-file loop ended.
  enum class Fill { RecordsTaken, CannotCreate, Cancelled };

  std::u16string folder() const;
  void makeIndexRoom();
  static std::u16string placeholderPath(const std::u16string& folder, std::uint64_t index);
  Shortfall takeFreeSpace(LargeTempFiles& files, bool handedOver);
  Fill fillRecords();
  bool recordsUsed();
  // Creates one small file; false when the loop must end (`ended` says how).
  bool makeSmallFile(std::uint8_t* data, Fill& ended);
  bool writeLargestFitting(s::os::File& file, const std::uint8_t* data);
  Shortfall cleanUp(const std::vector<std::u16string>& large);

  // A small file's name, kept compact: the list may hold 2,000,000.
  using Name = std::array<char16_t, 12>;

  EngineOperation& operation_;
  bool prepared_ = false;
  Shortfall prepareResult_ = Shortfall::None;
  bool folderMade_ = false;
  s::os::NtfsVolumeData start_;
  std::vector<Name> made_;
  std::uint32_t size_ = kFirstFileSize;
};

}  // namespace s::file::wiper::win
