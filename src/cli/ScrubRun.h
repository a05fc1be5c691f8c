#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <string>

#include "cli/Options.h"
#include "cli/Texts.h"
#include "file/wiper/win/RunTexts.h"
#include "os/VolumeInfo.h"

namespace s::file::wiper::win {
class DiskWiper;
}

namespace s::cli {

// One run of the command-line tool: checks the mount point, asks for
// confirmation, drives the wipe engine while drawing its progress, and says
// how it ended. Main thread only.
class ScrubRun {
 public:
  // The tool's exit statuses.
  enum Exit : int { kComplete = 0, kIncomplete = 1, kCancelled = 2, kUnsupported = 3, kUsage = 4 };

  // `interrupted` turns true when the user asks to cancel (Ctrl-C); the run
  // then stops the engine, which removes its temporary files, and ends with
  // kCancelled.
  explicit ScrubRun(const std::atomic<bool>& interrupted) : interrupted_(interrupted) {}

  // Prints the volumes the tool may work on: mount point, file system,
  // free bytes. Returns kComplete (kIncomplete when none could be listed).
  int list(std::FILE* out);

  // Runs the operations `options` names on its mount point. Questions are
  // read from `in`; progress goes to `out`, problems to `err`.
  int scrub(const Options& options, std::FILE* in, std::FILE* out, std::FILE* err);

  // Counts, read-only, what the NTFS volume mounted at the options' mount
  // point still holds of deleted files, and prints it (the first names too
  // with --verbose). Returns kComplete when the volume was read whole,
  // kIncomplete when only in part, kUnsupported when it is not NTFS or its
  // device cannot be read, kUsage for a mount point that cannot be used.
  int audit(const Options& options, std::FILE* out, std::FILE* err);

 private:
  // The drive root for the mount point given, or empty after printing why
  // it cannot be used.
  std::u16string usableRoot(const std::string& mountPoint, std::FILE* err);
  // The same for reading only: the mount point of a volume, writable or not.
  std::u16string mountRoot(const std::string& mountPoint, s::os::VolumeInfo& volume,
                           std::FILE* err);
  // What an audit after the run finds left of the kinds the run removes
  // ("" when nothing, or when the drive is not NTFS). It reads the MFT and
  // the folders' index blocks, not the free clusters; the records of what
  // the run's own folders held are not counted (`reports`: the engine's).
  std::string tracesLeft(const bool enabled[5], bool ntfs,
                         const s::file::wiper::win::RunTexts::Reports& reports);
  bool confirm(const Options& options, bool ntfs, std::FILE* in, std::FILE* out);
  // Runs the engine to its end (stopping it on Ctrl-C); false when it
  // refused to start.
  bool drive(s::file::wiper::win::DiskWiper& engine, const bool enabled[5], std::FILE* out);
  int tellOutcome(s::file::wiper::win::DiskWiper& engine, const bool enabled[5], bool ntfs,
                  bool verbose, const std::string& traces, std::FILE* out);
  void tellWhatWasDone(s::file::wiper::win::DiskWiper& engine, std::FILE* out);
  std::string unsupportedMessage();
  void draw(s::file::wiper::win::DiskWiper& engine, const bool enabled[5], std::FILE* out);

  const std::atomic<bool>& interrupted_;
  Texts texts_;
  std::string names_[5];
  std::u16string root_;
  int drawnLines_ = 0;
  std::int32_t printed_[5] = {-1, -1, -1, -1, -1};
};

}  // namespace s::cli
