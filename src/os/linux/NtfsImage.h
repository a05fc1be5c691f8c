#pragma once

#include <string>

#include "os/FsError.h"
#include "os/NtfsVolumeData.h"

namespace s::os::linux_fs {

// The NTFS volume data of a device or image file, read with NtfsReader.
class NtfsImage {
 public:
  // Reads `source` read-only. False with NotFound when it does not exist,
  // AccessDenied when it cannot be opened, NotSupported when it holds no
  // NTFS, Io when it is damaged or short. Any thread.
  static bool read(const std::string& source, NtfsVolumeData& out, FsError& error);
};

}  // namespace s::os::linux_fs
