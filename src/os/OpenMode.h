#pragma once

#include <cstdint>

namespace s::os {

// How FileSystem::openFile opens a file. A symbolic link in the last place of
// the path is never followed, whatever the mode.
struct OpenMode {
  enum class Access { Read, Write, ReadWrite };
  enum class Disposition {
    OpenExisting,  // fails with NotFound when missing
    CreateNew,     // fails with Exists when present (exclusive create)
    OpenAlways,    // opens, or creates when missing
    CreateAlways,  // creates, or opens and empties when present
  };

  Access access = Access::Read;
  Disposition disposition = Disposition::OpenExisting;
  // Bypass the system cache (direct I/O). Where the file system refuses it,
  // the file is opened buffered and every write is flushed to the device.
  bool unbuffered = false;
  // Every write reaches the device before it returns (on Linux large aligned
  // writes then also bypass the cache).
  bool writeThrough = false;
  // FileAttributes given to a file this open creates (0: the system's default).
  std::uint32_t createAttributes = 0;

  static OpenMode read() { return {}; }
  static OpenMode make(Access access, Disposition disposition) {
    OpenMode mode;
    mode.access = access;
    mode.disposition = disposition;
    return mode;
  }
};

}  // namespace s::os
