#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "os/FsError.h"
#include "os/NtfsVolumeData.h"

namespace s::os::linux_fs {

// Reads NTFS volume data straight from a device or image, read-only: the boot
// sector, then MFT record 0 with its update sequence applied, then the sizes
// of the MFT's unnamed $DATA attribute.
class NtfsReader {
 public:
  // Reads `source`. False with AccessDenied when it cannot be opened,
  // NotSupported when it holds no NTFS, Io when it is damaged or short.
  static bool read(const std::string& source, NtfsVolumeData& out, FsError& error);

  // Takes the geometry and the MFT's place from a 512-byte boot sector.
  // False when it is not an NTFS boot sector.
  static bool parseBootSector(const std::uint8_t* sector, NtfsVolumeData& out);

  // Applies the update sequence of a FILE record of `size` bytes in place.
  // False when the record's header or any sector's check value is wrong.
  static bool applyFixups(std::uint8_t* record, std::size_t size);

  // Finds the unnamed non-resident $DATA attribute of a fixed-up record and
  // takes its valid data and allocated lengths. False when there is none.
  static bool readDataSizes(const std::uint8_t* record, std::size_t size, NtfsVolumeData& out);
};

}  // namespace s::os::linux_fs
