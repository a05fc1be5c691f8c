#pragma once

#include <cstdint>

namespace s::os {

// What the NTFS boot sector and MFT record 0 say about a volume.
struct NtfsVolumeData {
  std::uint32_t bytesPerSector = 0;
  std::uint32_t bytesPerCluster = 0;
  std::uint32_t bytesPerMftRecord = 0;
  std::uint64_t totalSectors = 0;
  std::uint64_t mftStartLcn = 0;
  std::uint64_t mftValidDataLength = 0;  // bytes of the MFT in use (initialised)
  std::uint64_t mftAllocatedLength = 0;
  // Whether the two counts below were read from the MFT's record bitmap.
  bool mftRecordsCounted = false;
  // Records inside the MFT's allocation that are not in use: a new file can
  // take one without the MFT growing.
  std::uint64_t mftFreeRecords = 0;
  // Of those, the records inside the initialised part: records that were in
  // use once and may still hold an old file's name and data.
  std::uint64_t mftFreedRecords = 0;

  // Whether no freed record is left for a new file to reuse, so that the
  // MFT has had to grow since `start`. Where the records were counted that
  // is when none is left (ntfs-3g initialises new records, and even grows
  // the MFT, before it reuses freed ones, so the valid data length grows
  // too early to tell) - or, should the driver not reuse them at all, once
  // the MFT grew by more records than were free at the start. Else it is
  // when the valid data length grew.
  bool mftOutgrown(const NtfsVolumeData& start) const {
    if (mftRecordsCounted) {
      const std::uint64_t grownBy = mftAllocatedLength > start.mftAllocatedLength
                                        ? mftAllocatedLength - start.mftAllocatedLength
                                        : 0;
      return mftFreedRecords == 0 || grownBy > start.mftFreeRecords * bytesPerMftRecord;
    }
    return mftValidDataLength > start.mftValidDataLength;
  }
};

}  // namespace s::os
