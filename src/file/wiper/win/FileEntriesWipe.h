#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "file/wiper/Shortfall.h"
#include "os/NtfsVolumeData.h"

namespace s::file::wiper::win {

class EngineOperation;

// The FileEntries operation (NTFS only): creates empty files with
// 223-character names, 250 to a folder ("Vonq_Nulmark.TMP.000000", ...),
// until the master file table has to grow - no free record that may hold an
// old name is left, as the volume, read every 20 files, tells (see
// NtfsVolumeData::mftOutgrown) - has the folders destroyed by a
// temporary-file worker (one rename, one attribute and one time setting per
// entry), and then overwrites the slack of folder indexes that still hold
// old names (IndexSlackWipe). Engine's thread only.
class FileEntriesWipe {
 public:
  static constexpr std::uint32_t kFilesPerFolder = 250;
  static constexpr std::uint32_t kQueryInterval = 20;
  static constexpr std::uint32_t kFillerLength = 215;
  static constexpr float kVolumeRead = 0.1f;
  static constexpr float kRecordsDone = 0.8f;

  explicit FileEntriesWipe(EngineOperation& operation) : operation_(operation) {}

  // Returns None when files were made until no free MFT record was left
  // (the MFT had to grow, or the volume had no room for another file),
  // everything made was destroyed and the folder indexes were filled (see
  // IndexSlackWipe, whose shortfall comes last). Otherwise: VolumeUnreadable
  // when the volume's device cannot be read (nothing is done), CannotCreate when a
  // folder or file could not be made for another reason than a taken name
  // (taken names are skipped), Cancelled when the skip flag was set
  // (creation stops at its next file, the worker is stopped and what it
  // left is deleted plainly), or LeftBehind / WorkerRefused from the
  // clean-up. Every folder is journalled before files are made in it, so a
  // crash leaves nothing the next start does not remove. Progress 0.1 once
  // the volume was read, then 0.1 + 0.7 x the worker's fraction, then the
  // index pass up to 1.
  Shortfall run();

  // Names tried for one folder before the operation gives up on it.
  static constexpr std::uint32_t kNameAttempts = 1000;

  // The folder of number `counter`: root + "Vonq_Nulmark.TMP.%06X".
  std::u16string folderName(std::uint32_t counter) const;
  // The file of number `counter` in `folder`: 215 '0' and "%08X".
  static std::u16string fileName(const std::u16string& folder, std::uint32_t counter);

 private:
  Shortfall createEntries(const s::os::NtfsVolumeData& start);
  bool nextFolder(std::uint32_t& counter);
  bool makeFile(std::uint32_t& counter, Shortfall& stop);
  Shortfall destroyEntries();

  EngineOperation& operation_;
  std::vector<std::u16string> folders_;
};

}  // namespace s::file::wiper::win
