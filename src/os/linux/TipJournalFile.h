#pragma once

#include <string>
#include <vector>

#include "os/TipJournal.h"
#include "os/linux/ProcessStamp.h"

namespace s::os::linux_fs {

// The TipJournal on Linux: a small text file, rewritten whole for every
// change (temporary file, fsync, rename) under an advisory lock, so that the
// program and the command-line tool may share it and a crash leaves either
// the old or the new journal. Each line holds the writer ("<pid>:<start>",
// see ProcessStamp), the file's device, inode, recorded and grown lengths,
// its three times, its attributes, the seed of its tip bytes and its path
// with every byte outside printable ASCII (and '%') written as %XX. Lines of
// the older form (a bare process id, no seed) are still read.
class TipJournalFile final : public TipJournal {
 public:
  struct Entry {
    ProcessStamp writer;
    TipRecord record;
  };

  // A journal at `journalPath`.
  explicit TipJournalFile(std::string journalPath) : path_(std::move(journalPath)) {}
  // The per-user journal at defaultPath(), looked up anew by every call.
  TipJournalFile() : perUser_(true) {}

  // $XDG_STATE_HOME/vonq-scrubber/tip-journal, with ~/.local/state when the
  // variable is unset or not absolute; empty when neither is known (the
  // journal is then never written, so no file is ever extended).
  static std::string defaultPath();

  bool usable() override;
  bool record(const TipRecord& record) override;
  bool forget(const TipRecord& record) override;
  std::size_t replay(std::vector<std::u16string>& leftAlone) override;
  using TipJournal::replay;

  // The entries as stored now (empty when there is no journal).
  std::vector<Entry> entries() const;

  static std::string encodeLine(const Entry& entry);
  static bool decodeLine(const std::string& line, Entry& out);

 private:
  // What replay did with a record: repaired the file; found nothing to do
  // (the file is whole, gone or another one); left a file alone that was
  // changed since; could not repair it now (the record stays).
  enum class Outcome { Repaired, Nothing, LeftAlone, Failed };

  std::string path() const { return perUser_ ? defaultPath() : path_; }
  std::vector<Entry> load(const std::string& path) const;
  bool save(const std::string& path, const std::vector<Entry>& entries) const;
  static Outcome repair(const Entry& entry);

  std::string path_;
  bool perUser_ = false;
};

}  // namespace s::os::linux_fs
