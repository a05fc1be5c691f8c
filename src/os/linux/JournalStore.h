#pragma once

#include <string>
#include <vector>

#include "os/linux/UniqueFd.h"

namespace s::os::linux_fs {

// The storage shared by the per-user journals: a small text file that starts
// with a header line and is rewritten whole for every change (temporary file,
// fsync, rename) under an advisory lock on "<journal>.lock", so that the
// program and the command-line tool may share it and a crash leaves either
// the old or the new journal. Holds no state besides the path and header;
// any thread may call it, the lock orders writers across processes.
class JournalStore {
 public:
  // Holds an exclusive advisory lock on "<journal>.lock" while alive.
  class Lock {
   public:
    // Blocks until the lock is held or cannot be taken (then errno is set).
    explicit Lock(const std::string& journal);
    // Whether the lock is held. Never blocks.
    bool held() const { return fd_.valid(); }

   private:
    UniqueFd fd_;
  };

  JournalStore(std::string path, std::string header)
      : path_(std::move(path)), header_(std::move(header)) {}

  // $XDG_STATE_HOME/vonq-scrubber/<fileName>, with ~/.local/state when the
  // variable is unset or not absolute; empty when neither is known.
  static std::string defaultPath(const std::string& fileName);

  // Creates every missing folder above the journal (mode 0700). False with
  // errno set when one cannot be made; never touches an existing folder.
  bool makeFolders() const;

  // The lines after the header; empty when the file is missing or its first
  // line is not the header. Never writes.
  std::vector<std::string> lines() const;

  // Replaces the journal with the header and `lines` (each ended by a
  // newline), or removes it when `lines` is empty. False with errno set on
  // failure; the old journal then stays whole. The caller holds the Lock.
  bool save(const std::vector<std::string>& lines) const;

  // `bytes` with every byte outside printable ASCII (and '%') written as %XX.
  static std::string percentEncoded(const std::string& bytes);
  // Undoes percentEncoded into `out`. False when an escape is cut short or
  // not hexadecimal (then `out` is unspecified).
  static bool percentDecoded(const std::string& text, std::string& out);

 private:
  std::string path_;
  std::string header_;
};

}  // namespace s::os::linux_fs
