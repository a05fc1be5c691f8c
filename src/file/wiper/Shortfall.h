#pragma once

#include <cstdint>

namespace s::file::wiper {

// Why an operation of the drive wipe engine that was asked for did not do
// all its work. An operation is done only with None; every other value
// leaves its percentage below 100.
enum class Shortfall : std::uint8_t {
  None = 0,          // the work was done (or the operation was not asked for)
  Cancelled,         // stopped by the user: the run was cancelled or the operation unticked
  NotNtfs,           // the operation works on NTFS volumes only
  VolumeUnreadable,  // the volume's device cannot be read for its MFT facts (root may be needed)
  VolumeFull,        // the volume had no free space to work with when the operation began
  CannotCreate,      // a temporary file or folder could not be created
  WriteFailed,       // a write failed for another reason than a full volume
  WorkerRefused,     // the temporary-file worker would not start
  NoTipJournal,      // the cluster-tip journal cannot be kept, so no file was touched
  TrashNotEmptied,   // a recycle bin of the volume could not be emptied
  LeftBehind,        // temporary entries of the run could not all be removed
  MftNotFilled,      // the free records of the MFT could not all be taken
};

}  // namespace s::file::wiper
