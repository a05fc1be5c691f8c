#pragma once

#include <cstdint>

#include "os/EntryKind.h"
#include "os/FileTimes.h"

namespace s::os {

// Facts about one entry, read without following a symbolic link.
struct FileInfo {
  EntryKind kind = EntryKind::None;
  std::uint64_t size = 0;           // bytes of data (of the link text for a link)
  std::uint64_t allocatedSize = 0;  // bytes the volume has given it
  std::uint64_t device = 0;         // identifies the mounted volume (st_dev)
  std::uint64_t fileId = 0;         // identifies the entry on its volume (inode)
  FileTimes times;                  // creation is 0 where the volume does not record it
};

}  // namespace s::os
