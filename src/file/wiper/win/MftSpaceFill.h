#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace s::os {
class File;
}

namespace s::file::wiper::win {

class EngineOperation;
class LargeTempFiles;

// The MFTSpace operation (NTFS only): grows the index of its folder
// "Vonq_NulmarkTMP" to hold an entry for every free MFT record, takes up
// every free cluster with the two large temporary files (sized, never
// written), then fills the free records of the master file table with small
// hidden files of random data in that folder - each as large as still fits,
// until not one byte fits any more - and deletes them all; the large files
// and the folder are then destroyed by a temporary-file worker. Live files
// are never touched. Engine's thread only.
class MftSpaceFill {
 public:
  static constexpr std::uint32_t kFirstFileSize = 4096;
  static constexpr std::uint32_t kMaxFiles = 2000000;

  explicit MftSpaceFill(EngineOperation& operation) : operation_(operation) {}

  // True when every free cluster was taken and the small-file phase ran to
  // its natural end. False when a large file could not be made or sized, the
  // drive kept free bytes after the sizing (the small files are then not
  // made), or the operation was cancelled (its skip flag: the small-file
  // loop stops at its next write). Whatever the result, everything made is
  // deleted before it returns. The progress is 1 − (size of the last small
  // file tried) / 4096.
  bool run();

  // A small file's name: 8 + 3 characters of 0-9 A-Z ("XXXXXXXX.XXX"), from
  // the process-wide generator.
  static std::u16string randomName();

  // Characters in the name of a placeholder that grows the folder's index.
  static constexpr std::size_t kPlaceholderLength = 128;

 private:
  void makeIndexRoom(const std::u16string& folder);
  static std::u16string placeholderPath(const std::u16string& folder, std::uint64_t index);
  bool takeFreeSpace(LargeTempFiles& files);
  void fillRecords(const std::u16string& folder);
  // Creates one small file; false when the phase must end. `written` says
  // whether it took data.
  bool makeSmallFile(const std::u16string& folder, std::uint8_t* data, bool& written);
  bool writeShrinking(s::os::File& file, const std::uint8_t* data);

  // A small file's name, kept compact: the list may hold 2,000,000.
  using Name = std::array<char16_t, 12>;

  EngineOperation& operation_;
  std::vector<Name> made_;
  std::uint32_t size_ = kFirstFileSize;
};

}  // namespace s::file::wiper::win
