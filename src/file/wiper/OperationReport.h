#pragma once

#include <cstdint>
#include <vector>

#include "file/wiper/Shortfall.h"

namespace s::file::wiper {

// What one operation of a run did, for the front ends to show: whether it
// did its work (shortfall) and a few counts. Counts that do not apply to an
// operation stay 0.
struct OperationReport {
  bool asked = false;  // the operation was enabled when the run began
  Shortfall shortfall = Shortfall::None;
  std::uint64_t bytesWritten = 0;    // data written into temporary files and cluster tips
  std::uint64_t filesMade = 0;       // temporary files and folders made
  std::uint64_t recordsFilled = 0;   // small files that took a free MFT record
  std::uint64_t tipsWritten = 0;     // files whose cluster tip was overwritten
  std::uint64_t filesLeftAlone = 0;  // files the cluster-tip wipe did not touch
  std::uint64_t filesInUse = 0;      // of those: held open by another program
  std::uint64_t filesNotOpened = 0;  // of those: could not be opened (permission, gone)
  std::uint64_t entriesLeft = 0;     // temporary entries that could not be removed
  std::uint64_t foldersFilled = 0;   // folders whose index slack was overwritten
  std::uint64_t foldersSkipped = 0;  // folders with index slack this run could not reach
  // File ids of the temporary files and folders the operation removed: their
  // records, and those of what the folders held, keep the operation's own
  // names only, which an audit after the run must not count as traces.
  std::vector<std::uint64_t> ownEntries;

  // Done: not asked for, or asked for and its work was done.
  bool done() const { return !asked || shortfall == Shortfall::None; }
};

}  // namespace s::file::wiper
