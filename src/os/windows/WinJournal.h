#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "os/windows/UniqueHandle.h"

namespace s::os::win_fs {

// The storage shared by the per-user journals on Windows: a file of UTF-16
// lines (each a run of fields split by '|', which no Windows name holds),
// rewritten whole for every change (a new file, flushed, moved over the old
// one with write-through) while an exclusive lock on "<journal>.lock" is
// held, so that the program and the command-line tool may share it and a
// crash leaves either the old or the new journal. Every line starts with the
// writer's process id and start time (see Writer). Any thread.
class WinJournal {
 public:
  using Row = std::vector<std::u16string>;

  // Holds the journal's lock while alive.
  class Lock {
   public:
    // Blocks until the lock is held or cannot be taken.
    explicit Lock(const std::u16string& journal);
    bool held() const { return held_; }
    ~Lock();

   private:
    UniqueHandle file_;
    bool held_ = false;
  };

  // The process that wrote a line: its id and the time it started, so that a
  // reused process id is not taken for the writer.
  struct Writer {
    std::uint32_t pid = 0;
    std::uint64_t started = 0;

    static Writer self();
    // Whether that process still runs.
    bool alive() const;
  };

  explicit WinJournal(std::u16string path) : path_(std::move(path)) {}

  // %LOCALAPPDATA%\Vonq Scrubber\<fileName>; empty when the folder of the
  // user's local application data is not known.
  static std::u16string defaultPath(const std::u16string& fileName);

  const std::u16string& path() const { return path_; }

  // Creates the journal's folder when it is missing. False when it cannot.
  bool makeFolder() const;

  // The rows stored now, each with its writer taken off the front into
  // `writers` (same order); empty when the journal is missing. Lines that do
  // not parse are dropped. Never writes.
  std::vector<Row> rows(std::vector<Writer>* writers) const;

  // Replaces the journal with `rows`, each written behind its writer, or
  // removes it when there are none. The caller holds the Lock. False on
  // failure; the old journal then stays whole.
  bool save(const std::vector<Row>& rows, const std::vector<Writer>& writers) const;

  // Makes the folder, takes the lock, drops the rows `drop` picks (none
  // when it is empty), adds `added` as written by this process and saves,
  // in one write. Returns only once the journal is durable; false when it
  // cannot be written.
  bool append(const std::vector<Row>& added,
              const std::function<bool(const Row&)>& drop = {}) const;
  bool append(const Row& row, const std::function<bool(const Row&)>& drop = {}) const {
    return append(std::vector<Row>{row}, drop);
  }

  // Under the lock: keeps only the rows for which `keep` answers true,
  // rewriting the journal when any went. False when the lock cannot be had
  // or the journal cannot be rewritten.
  bool keepOnly(const std::function<bool(const Row&, const Writer&)>& keep) const;

  static std::u16string number(std::uint64_t value);
  // False when `text` is not a decimal number that fits.
  static bool parseNumber(const std::u16string& text, std::uint64_t& out);

 private:
  std::u16string path_;
};

}  // namespace s::os::win_fs
