#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace s::file::wiper::ntfs {

// What a trace audit of an NTFS volume found (TraceAudit::run).
struct TraceReport {
  enum class Status {
    Done,        // the volume was read; the counts hold
    NotNtfs,     // the volume holds no NTFS
    Unreadable,  // its device or image cannot be read by this user
    Damaged,     // its master file table cannot be found or read
    Cancelled,   // stopped before the end; the counts are partial
  };

  Status status = Status::Unreadable;
  bool flushed = false;  // the driver was asked to write its data first, and did

  std::uint64_t recordsRead = 0;          // FILE records of the MFT read
  std::uint64_t freeRecordsWithName = 0;  // free records still holding a file name
  std::uint64_t freeRecordsWithData = 0;  // free records still holding resident data
  std::uint64_t foldersRead = 0;          // folders whose index was read whole
  std::uint64_t foldersNotRead = 0;       // folders whose index could not be followed whole
  std::uint64_t indexBlocksRead = 0;      // live index blocks read
  // Old names in the slack of live folders' indexes: after the last live
  // entry of an index block, or left in the folder's record when its
  // index root shrank.
  std::uint64_t slackNames = 0;
  // Old names of the engine's own temporary entries ("Vonq_Nulmark...") in
  // that slack: no trace of a user's file, so not among slackNames.
  std::uint64_t ownSlackNames = 0;
  std::uint64_t freeClustersRead = 0;
  std::uint64_t freeIndexBlocks = 0;      // free clusters that still start an INDX block
  std::uint64_t freeIndexBlockNames = 0;  // names those blocks still hold

  // The first names of each kind, as found.
  std::vector<std::u16string> freeRecordNameList;
  std::vector<std::u16string> slackNameList;
  std::vector<std::u16string> freeIndexBlockNameList;

  bool done() const { return status == Status::Done; }
};

}  // namespace s::file::wiper::ntfs
