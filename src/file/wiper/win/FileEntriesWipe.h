#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "os/NtfsVolumeData.h"

namespace s::file::wiper::win {

class EngineOperation;

// The FileEntries operation (NTFS only): creates empty files with
// 223-character names, 250 to a folder ("Vonq_Nulmark.TMP.000000", ...),
// until the master file table has to grow - no free record that may hold an
// old name is left, as the volume, read every 20 files, tells (see
// NtfsVolumeData::mftOutgrown) - and then has the folders
// destroyed by a temporary-file worker (one rename, one attribute and one
// time setting per entry). Engine's thread only.
class FileEntriesWipe {
 public:
  static constexpr std::uint32_t kFilesPerFolder = 250;
  static constexpr std::uint32_t kQueryInterval = 20;
  static constexpr std::uint32_t kFillerLength = 215;

  explicit FileEntriesWipe(EngineOperation& operation) : operation_(operation) {}

  // True when the run ended normally, also when the volume cannot be read
  // (no permission on its source: nothing is done). False only when the
  // operation was cancelled (its skip flag): creation stops at its next
  // file, and the worker is stopped and what it left is deleted plainly.
  // Nothing made is left behind. Progress 0.1 once the volume was read,
  // then 0.1 + 0.9 × the worker's fraction.
  bool run();

  // The folder of number `counter`: root + "Vonq_Nulmark.TMP.%06X".
  std::u16string folderName(std::uint32_t counter) const;
  // The file of number `counter` in `folder`: 215 '0' and "%08X".
  static std::u16string fileName(const std::u16string& folder, std::uint32_t counter);

 private:
  void createEntries(const s::os::NtfsVolumeData& start);
  bool nextFolder(std::uint32_t& counter);
  bool destroyEntries();

  EngineOperation& operation_;
  std::vector<std::u16string> folders_;
};

}  // namespace s::file::wiper::win
