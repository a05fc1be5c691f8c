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
  // Records inside the MFT's allocation that are not in use: a new file can
  // take one without the MFT growing. 0 when it could not be read.
  std::uint64_t mftFreeRecords = 0;
};

}  // namespace s::os
