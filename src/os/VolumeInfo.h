#pragma once

#include <cstdint>
#include <string>

namespace s::os {

// One mounted volume ("drive").
struct VolumeInfo {
  std::u16string root;        // mount point with a trailing separator ("/media/usb/", "C:\")
  std::u16string source;      // what is mounted: a device or an image file
  std::u16string fileSystem;  // "NTFS", "FAT32", "FAT" or "UNKNOWN"
  std::uint32_t bytesPerSector = 0;
  std::uint32_t sectorsPerCluster = 0;
  std::uint64_t totalBytes = 0;
  std::uint64_t freeBytes = 0;  // all free bytes, not only those open to this user
  std::uint64_t device = 0;     // st_dev of the root, for walks that must not cross mounts
  bool readOnly = false;
  bool sourceReadable = true;  // this process may read the device or image itself
  bool eligible = false;       // a local disk or image the program may offer as a drive

  std::uint32_t clusterSize() const { return bytesPerSector * sectorsPerCluster; }
};

}  // namespace s::os
