#pragma once

#include <cstdint>
#include <string>

#include "os/EntryKind.h"

namespace s::os {

// One entry of a folder listing, as seen without following it.
struct DirEntry {
  std::u16string name;  // the entry's own name, no folder
  EntryKind kind = EntryKind::None;
  std::uint64_t size = 0;    // bytes of data for a file, 0 otherwise
  std::uint64_t device = 0;  // volume of the entry; differs from the folder's at a mount point
  std::uint64_t fileId = 0;  // identifies the entry on its volume (inode)
};

}  // namespace s::os
