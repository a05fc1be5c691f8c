#pragma once

#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "os/linux/ProcessStamp.h"

namespace s::os::linux_fs {

class JournalStore;

// The per-user journal of entries to delete at the next start. A small text
// file, rewritten whole for every change (temporary file, fsync, rename) under
// an advisory lock, so that the program and the command-line tool may share it
// and a crash leaves either the old or the new journal. Each line holds the
// entry's kind, its inode at scheduling time, the process that wrote it
// ("<pid>:<start>", see ProcessStamp; lines of older versions have none) and
// its path with every byte outside printable ASCII (and '%') written as %XX.
// An entry belongs to its writer while that process runs: nobody else
// deletes it then.
class PendingDeletions {
 public:
  struct Entry {
    // 'F' file (or anything not a folder), 'D' folder, 'N' an empty file
    // recorded before it was made (its inode 0)
    char kind = 'F';
    std::uint64_t inode = 0;
    std::string path;
    ProcessStamp writer;  // unknown (pid 0) in lines of older versions
  };

  explicit PendingDeletions(std::string journalPath) : path_(std::move(journalPath)) {}

  // $XDG_STATE_HOME/vonq-scrubber/pending-deletions, with ~/.local/state
  // when the variable is unset or not absolute; empty when neither is known.
  static std::string defaultPath();

  // Adds (or refreshes) the entry at the absolute `path`, which must exist,
  // as written by the calling process.
  bool add(const std::string& path) { return addAs(path, path); }

  // Adds (or refreshes) the entry `future` with the identity (kind and
  // inode) of the existing entry `current`, which is about to be renamed
  // to `future`, as written by the calling process.
  bool addAs(const std::string& future, const std::string& current);

  // Adds the absolute `paths` of empty files the calling process is about
  // to create (kind 'N'), in one write.
  bool addNew(const std::vector<std::string>& paths);

  // Deletes what the journal lists whose writer has ended (or is the calling
  // process itself), never following a link in any component and never
  // crossing into another mount. Keeps the entries of running writers and
  // those that still exist and could not be deleted. Returns how many were
  // deleted.
  std::size_t replay();

  // Drops the calling process's entries whose entry is gone (or is another
  // entry now: a different inode or kind). Deletes nothing. Returns how many
  // were dropped.
  std::size_t forgetFinished();

  // The entries as stored now (empty when there is no journal).
  std::vector<Entry> entries() const;

  static std::string encodeLine(const Entry& entry);
  static bool decodeLine(const std::string& line, Entry& out);

 private:
  enum class Outcome { Deleted, Gone, Refused, Failed };

  // The journal file at path_ (path, header and lock).
  JournalStore store() const;
  bool save(const std::vector<Entry>& entries) const;
  Outcome remove(const Entry& entry) const;
  static bool stillThere(const Entry& entry);
  // Whether the entry `st` describes is the one `entry` names (for 'N': an
  // empty plain file with one name).
  static bool matches(const Entry& entry, const struct stat& st);
  // Takes the lock and stores the entries with `added` in place of any of
  // the same paths.
  bool addAll(std::vector<Entry> added);

  std::string path_;
};

}  // namespace s::os::linux_fs
