#pragma once

namespace s::cli {

// The English texts of the command-line tool, in one place until the tool
// reads them from the language table. The texts the window also shows are
// the same words.
struct Texts {
  static constexpr const char* kOperationNames[5] = {
      "1. Recycle bin for the drive", "2. Free space on disk", "3. Free space on MFT",
      "4. Cluster tips", "5. File name traces"};
  // "*" stands for the drive root.
  static constexpr const char* kAskEraseAll =
      "Are you sure you want to erase all the recoverable data from the drive [ * ] ?";
  static constexpr const char* kAskSelected =
      "Are you sure you want to execute the selected operation(s) on the drive [ * ] ?";
  static constexpr const char* kAskRecycleOnly =
      "Data from the recycle bin remains recoverable unless \"2. Free space on disk\" is wiped "
      "later.\nAre you sure to proceed?";
  static constexpr const char* kErasingComplete =
      "Erasing Complete!\nNo data can be recovered any more.";
  static constexpr const char* kOperationComplete = "Operation Complete!";
  static constexpr const char* kSomeCanceled = "Some operation has been canceled.";
  static constexpr const char* kNotSupported = "This drive type is curretly not supported.";
  static constexpr const char* kNoTipJournal =
      "vonq-scrub: cluster tips will not be wiped: their journal cannot be kept (set "
      "XDG_STATE_HOME or HOME to a folder this user can write).\n";
  static constexpr const char* kUsage =
      "Usage: vonq-scrub --list\n"
      "       vonq-scrub [--recycle-bin] [--free-space] [--mft] [--cluster-tips]\n"
      "                  [--file-names] [--yes] MOUNTPOINT\n"
      "\n"
      "Makes deleted data on the volume mounted at MOUNTPOINT unrecoverable.\n"
      "Without operation flags the first four operations run. --file-names\n"
      "(NTFS only) may take hours on large volumes. --yes skips the question.\n"
      "\n"
      "Exit status: 0 complete, 1 incomplete, 2 cancelled, 3 drive type not\n"
      "supported, 4 bad usage or a mount point that cannot be used.\n";
};

}  // namespace s::cli
