#pragma once

namespace s::os {

// Why a file-system operation failed. Every failing operation of FileSystem
// and File records one for the calling thread (lastFsError()); a successful
// one leaves the last value as it was.
enum class FsError {
  None,          // no failure recorded
  NotFound,      // the entry or a folder on its way does not exist
  Exists,        // the target exists and was not to be replaced
  AccessDenied,  // permission refused, read-only volume, or the volume cannot be opened
  IsLink,        // the entry is a symbolic link, which is never followed
  NotEmpty,      // a folder still holds entries
  InUse,         // another handle holds the entry
  NoSpace,       // the volume is full
  TooLarge,      // the file would outgrow the largest size the volume allows
  InvalidName,   // the name cannot be represented on this system
  NotSupported,  // the file system lacks the feature
  Io,            // the device reported an input/output error
  Other,         // anything else
};

// The failure last recorded on the calling thread. Any thread.
FsError lastFsError();

// Records `error` as the calling thread's last failure. Implementations and
// wrappers call it when they fail. Any thread.
void setLastFsError(FsError error);

}  // namespace s::os
