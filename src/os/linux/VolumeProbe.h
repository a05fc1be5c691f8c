#pragma once

#include <cstdint>
#include <string>

namespace s::os::linux_fs {

// Geometry and file-system name of a mounted volume's source.
struct VolumeGeometry {
  std::uint32_t bytesPerSector = 0;
  std::uint32_t sectorsPerCluster = 0;
};

// Identifies the file system on a device or image.
class VolumeProbe {
 public:
  // "NTFS", "FAT32", "FAT" or "UNKNOWN", found by libblkid on `source`; when
  // the source cannot be probed (no permission), from the kernel's file-system
  // type `fsType` ("ntfs3"/"ntfs" give NTFS; "msdos"/"vfat" give FAT32 when
  // the volume has at least 65525 clusters of `clusterBytes`, else FAT).
  static std::string fileSystemName(const std::string& source, const std::string& fsType,
                                    std::uint64_t totalBytes, std::uint32_t clusterBytes);

  // libblkid's verdict alone: the name above, or "" when the source cannot be
  // probed.
  static std::string probeName(const std::string& source);

  // Bytes per sector and sectors per cluster from the boot sector's BIOS
  // parameter block (NTFS and FAT) when the source is readable; false
  // otherwise.
  static bool bootSectorGeometry(const std::string& source, VolumeGeometry& out);

  // The device's logical sector size (BLKSSZGET), or 512 for an image or when
  // it cannot be asked.
  static std::uint32_t deviceSectorSize(const std::string& source);
};

}  // namespace s::os::linux_fs
