#pragma once

#include <cstdio>
#include <string>

#include "file/wiper/ntfs/TraceReport.h"

namespace s::cli {

// How the command-line tool tells what a trace audit found (English: a
// diagnostic listing). Main thread only; holds nothing.
class AuditText {
 public:
  // The whole report for --audit: whether the driver flushed, the counts,
  // and with `verbose` the first names of each kind.
  static void print(const s::file::wiper::ntfs::TraceReport& report, bool verbose, std::FILE* out);

  // What a run left of the kinds its operations (engine order, as in
  // Options) remove, one line each: names and resident data in free MFT
  // records (MFT and file-name operations), old names in index slack
  // (file-name operation). Index blocks in free clusters are left out: the
  // free-space wipe overwrote every free cluster, so those found after it
  // are the engine's own folders', freed at its end. "" when it left none
  // of them; a line saying so when the audit could not read the volume.
  static std::string leftAfterRun(const s::file::wiper::ntfs::TraceReport& report,
                                  const bool operations[5]);

  // Why an audit could not read the volume; "" when it did.
  static std::string failure(const s::file::wiper::ntfs::TraceReport& report);
};

}  // namespace s::cli
