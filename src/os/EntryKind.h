#pragma once

namespace s::os {

// What a directory entry is, seen without following it.
enum class EntryKind {
  None,     // nothing there
  File,     // a regular file
  Folder,   // a directory
  Link,     // a symbolic link (or, on Windows, any reparse point); never followed
  Special,  // a device, fifo or socket; left alone by every walk
};

}  // namespace s::os
