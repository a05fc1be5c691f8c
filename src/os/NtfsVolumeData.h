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
};

}  // namespace s::os
