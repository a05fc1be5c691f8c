#pragma once

#include <cstddef>
#include <string>

#include "os/FileInfo.h"
#include "os/windows/WinJournal.h"

namespace s::os::win_fs {

class WinFileSystem;

// The per-user journal of entries to delete at the next start (see
// WinJournal for its storage). Each line holds the entry's kind ('F' or 'D'),
// its volume serial number and file id at scheduling time and its path.
class PendingDeletionJournal {
 public:
  // The journal at WinJournal::defaultPath("pending-deletions").
  PendingDeletionJournal();
  explicit PendingDeletionJournal(std::u16string path) : journal_(std::move(path)) {}

  // Adds (or refreshes) the entry at `path`, described by `info`. False when
  // the journal cannot be written.
  bool add(const std::u16string& path, const FileInfo& info);
  // Adds the empty files about to be made at `paths` (kind 'N': deleted by
  // a replay only while they are empty plain files).
  bool addNew(const std::vector<std::u16string>& paths);

  // Deletes what the journal lists, through `files`: an entry whose writer
  // still runs is kept untouched; an entry that is gone is dropped; one that
  // is now a link or another entry (volume or file id differ) is dropped
  // untouched; a folder is deleted with everything in it, links inside
  // removed themselves and never followed; what could not be deleted stays
  // listed. Returns how many entries were deleted.
  std::size_t replay(WinFileSystem& files);

  // Drops this process's entries whose entry is gone or is another one now
  // (see FileSystem::forgetFinishedDeletions). Returns how many went.
  std::size_t forgetFinished(WinFileSystem& files);

 private:
  enum class Outcome { Deleted, Dropped, Failed };

  static Outcome remove(WinFileSystem& files, const WinJournal::Row& row);
  static bool removeTree(WinFileSystem& files, const std::u16string& folder);
  static bool removeFile(WinFileSystem& files, const std::u16string& path);
  // Whether `info` describes the entry `row` names.
  static bool matches(const WinJournal::Row& row, const FileInfo& info);

  WinJournal journal_;
};

}  // namespace s::os::win_fs
