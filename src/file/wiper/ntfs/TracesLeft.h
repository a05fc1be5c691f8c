#pragma once

#include <cstdint>
#include <vector>

#include "file/wiper/ntfs/TraceReport.h"

namespace s::file::wiper::ntfs {

// Which traces an audit after a run found of the kinds the run's
// operations remove: names and resident data in free MFT records (the MFT
// and file-name operations), old names in index slack (the file-name
// operation). Index blocks in free clusters are left out: the free-space
// wipe overwrote every free cluster, so those found after it are the
// engine's own folders', freed at its end. Any thread; holds nothing.
class TracesLeft {
 public:
  enum class Kind { NamesInFreeRecords, DataInFreeRecords, NamesInIndexSlack };
  struct Item {
    Kind kind;
    std::uint64_t count;
  };

  // Whether an audit can tell anything about a run of `operations` (engine
  // order: recycle bin, free space, MFT, cluster tips, file names).
  static bool worthAuditing(const bool operations[5]) { return operations[2] || operations[4]; }

  // The kinds `operations` remove that `report` still found, in the order
  // above; empty when none was found (or the audit did not end: see
  // TraceReport::done).
  static std::vector<Item> of(const TraceReport& report, const bool operations[5]);
};

}  // namespace s::file::wiper::ntfs
