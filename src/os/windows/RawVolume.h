#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "os/FsError.h"
#include "os/NtfsVolumeData.h"

namespace s::os::win_fs {

// The NTFS volume data read from the raw bytes of a volume opened as
// "\\.\X:" (GENERIC_READ), with NtfsReader: what the file-system control of
// the driver does not tell, such as the MFT's allocation and its record
// bitmap. Reads what is on the volume: changes the driver has not written yet
// are not seen.
class RawVolume {
 public:
  // Reads the volume behind `volume`. False with NotSupported when it holds
  // no NTFS, Io when it cannot be read or is damaged. Any thread.
  static bool read(HANDLE volume, NtfsVolumeData& out, FsError& error);

  // Fills `buffer` with the `size` bytes at `offset` of the volume, reading
  // whole aligned blocks as a volume handle requires. False when they cannot
  // all be read. Any thread.
  static bool readAt(HANDLE volume, std::uint8_t* buffer, std::size_t size, std::uint64_t offset);
};

}  // namespace s::os::win_fs
