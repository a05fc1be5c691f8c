#include "cli/ScrubRun.h"

#include <algorithm>
#include <cctype>
#include <cinttypes>
#include <filesystem>
#include <string>

#include "cli/AuditText.h"
#include "cli/Console.h"
#include "cli/Texts.h"
#include "file/wiper/ntfs/TraceAudit.h"
#include "file/wiper/win/DiskWiper.h"
#include "file/wiper/win/RootProbe.h"
#include "file/wiper/win/RunTexts.h"
#include "os/FileSystem.h"
#include "os/System.h"
#include "os/TipJournal.h"
#include "str/strbuffer/StrBuffer.h"

namespace s::cli {

using s::file::wiper::win::DiskWiper;
using s::os::fileSystem;

namespace {

constexpr std::uint32_t kPollMillis = 100;
constexpr int kBarWidth = 30;
constexpr std::size_t kFileColumns = 72;

std::int32_t percentOf(DiskWiper& engine, int op) {
  switch (op) {
    case DiskWiper::kTrashBin:
      return engine.getProgressTrashBin();
    case DiskWiper::kDiskSpace:
      return engine.getProgressDiskSpace();
    case DiskWiper::kMFTSpace:
      return engine.getProgressMFTSpace();
    case DiskWiper::kCluterTips:
      return engine.getProgressCluterTips();
    default:
      return engine.getProgressFileEntries();
  }
}

void enable(DiskWiper& engine, const bool enabled[5]) {
  engine.setProcessTrashBin(enabled[0]);
  engine.setProcessDiskSpace(enabled[1]);
  engine.setProcessMFTSpace(enabled[2]);
  engine.setProcessCluterTips(enabled[3]);
  engine.setProcessFileEntries(enabled[4]);
}

bool askYes(const std::string& question, std::FILE* in, std::FILE* out) {
  std::fprintf(out, "%s [y/N] ", question.c_str());
  std::fflush(out);
  char line[64] = {0};
  if (std::fgets(line, sizeof line, in) == nullptr) {
    std::fprintf(out, "\n");
    return false;
  }
  std::string answer(line);
  answer.erase(std::remove_if(answer.begin(), answer.end(),
                              [](unsigned char c) { return std::isspace(c) != 0; }),
               answer.end());
  std::transform(answer.begin(), answer.end(), answer.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return answer == "y" || answer == "yes";
}

}  // namespace

int ScrubRun::list(std::FILE* out) {
  const auto volumes = fileSystem().listVolumes();
  std::fprintf(out, "%-32s %-8s %16s\n", "MOUNT POINT", "TYPE", "FREE BYTES");
  for (const auto& v : volumes) {
    std::fprintf(out, "%-32s %-8s %16" PRIu64 "%s\n", Console::toBytes(v.root).c_str(),
                 Console::toBytes(v.fileSystem).c_str(), v.freeBytes,
                 v.readOnly ? "  (read-only)" : "");
  }
  return volumes.empty() ? kIncomplete : kComplete;
}

std::u16string ScrubRun::mountRoot(const std::string& mountPoint, s::os::VolumeInfo& volume,
                                   std::FILE* err) {
  const char16_t sep = fileSystem().separator();
  // A relative mount point is taken from the current folder.
  // The text is UTF-8 (bytes as given on Linux): a char8_t path takes it so
  // on every platform, where a char path would read the locale's encoding.
  std::error_code ignored;
  const std::filesystem::path given(std::u8string(mountPoint.begin(), mountPoint.end()));
  const std::u8string absolute =
      std::filesystem::absolute(given, ignored).lexically_normal().u8string();
  std::u16string root = Console::fromBytes(std::string(absolute.begin(), absolute.end()));
  if (root.empty() || root.back() != sep) root += sep;
  const char* name = mountPoint.c_str();
  s::os::FileInfo info;
  if (!fileSystem().stat(root.substr(0, root.size() > 1 ? root.size() - 1 : 1), info)) {
    std::fprintf(err, "vonq-scrub: %s does not exist.\n", name);
  } else if (info.kind != s::os::EntryKind::Folder) {
    std::fprintf(err, "vonq-scrub: %s is not a folder.\n", name);
  } else if (!fileSystem().volumeOf(root, volume) || volume.root != root) {
    std::fprintf(
        err, "vonq-scrub: %s is not the mount point of a volume (see vonq-scrub --list).\n", name);
  } else {
    return root;
  }
  return {};
}

std::u16string ScrubRun::usableRoot(const std::string& mountPoint, std::FILE* err) {
  s::os::VolumeInfo volume;
  std::u16string root = mountRoot(mountPoint, volume, err);
  const char* name = mountPoint.c_str();
  if (root.empty()) return {};
  if (volume.readOnly) {
    std::fprintf(err, "vonq-scrub: %s is mounted read-only.\n", name);
  } else if (!s::file::wiper::win::RootProbe::mayCreateIn(root)) {
    std::fprintf(err,
                 "vonq-scrub: %s cannot be written by this user; you may need to run as "
                 "root.\n",
                 name);
  } else {
    return root;
  }
  return {};
}

int ScrubRun::audit(const Options& options, std::FILE* out, std::FILE* err) {
  s::os::VolumeInfo volume;
  root_ = mountRoot(options.mountPoint, volume, err);
  if (root_.empty()) return kUsage;
  if (!volume.sourceReadable) {
    std::fprintf(err, "vonq-scrub: %s\n", unsupportedMessage().c_str());
    return kUnsupported;
  }
  if (volume.fileSystem != u"NTFS") {
    std::fprintf(err, "vonq-scrub: %s is not NTFS; only NTFS volumes can be audited.\n",
                 options.mountPoint.c_str());
    return kUnsupported;
  }
  using s::file::wiper::ntfs::TraceReport;
  const TraceReport report =
      s::file::wiper::ntfs::TraceAudit(s::file::wiper::ntfs::TraceAudit::kNamesKept, &interrupted_)
          .run(root_);
  AuditText::print(report, options.verbose, out);
  switch (report.status) {
    case TraceReport::Status::Done:
      return kComplete;
    case TraceReport::Status::Cancelled:
      return kCancelled;
    case TraceReport::Status::Damaged:
      return kIncomplete;
    default:
      return kUnsupported;
  }
}

std::string ScrubRun::tracesLeft(const bool enabled[5], bool ntfs,
                                 const s::file::wiper::win::RunTexts::Reports& reports) {
  if (!ntfs || interrupted_.load()) return {};
  s::file::wiper::ntfs::TraceAudit audit(0, &interrupted_, false);
  for (const s::file::wiper::OperationReport& report : reports)
    audit.ignoreEntries(report.ownEntries);
  return AuditText::leftAfterRun(audit.run(root_), enabled);
}

bool ScrubRun::confirm(const Options& options, bool ntfs, std::FILE* in, std::FILE* out) {
  const bool* ops = options.operations;
  const bool all = ops[1] && ops[2] && ops[3] && ops[4] && ntfs;
  const s::file::wiper::win::RunTexts& texts = texts_.run();
  if (!askYes(texts_.shown(texts.askToStart(all, root_)), in, out)) return false;
  return !(ops[0] && !ops[1]) || askYes(texts_.shown(texts.askRecycleOnly()), in, out);
}

void ScrubRun::draw(DiskWiper& engine, const bool enabled[5], std::FILE* out) {
  const bool live = Console::isTerminal(out);
  if (live && drawnLines_ > 0) std::fprintf(out, "\x1b[%dA", drawnLines_);
  drawnLines_ = 0;
  for (int op = 0; op < DiskWiper::kCount; ++op) {
    if (!enabled[op]) continue;
    const std::int32_t percent = percentOf(engine, op);
    if (!live && percent / 10 == printed_[op] / 10 && printed_[op] >= 0) continue;
    printed_[op] = percent;
    const int filled = percent * kBarWidth / 100;
    std::fprintf(out, "%s%-30s [%s%s] %3d%%\n", live ? "\x1b[2K" : "", names_[op].c_str(),
                 std::string(static_cast<std::size_t>(filled), '#').c_str(),
                 std::string(static_cast<std::size_t>(kBarWidth - filled), '-').c_str(),
                 static_cast<int>(percent));
    ++drawnLines_;
  }
  if (live) {
    std::string current;
    if (engine.isProcessingCluterTips()) {
      s::str::strbuffer::StrBuffer* file = s::str::strbuffer::StrBuffer::create();
      engine.getCurrentFile(file);
      current = Console::printable(file->view(), kFileColumns);
      file->release();
    }
    std::fprintf(out, "\x1b[2K%s\n", current.c_str());
    ++drawnLines_;
  }
  std::fflush(out);
}

bool ScrubRun::drive(DiskWiper& engine, const bool enabled[5], std::FILE* out) {
  bool cancelled = false;
  if (!engine.start()) return false;
  while (engine.isRunning()) {
    s::os::system().sleepMillis(kPollMillis);
    if (interrupted_.load() && !cancelled) {
      cancelled = true;
      std::fprintf(out, "Cancelling...\n");
      drawnLines_ = 0;
      engine.stop(true);
    }
    draw(engine, enabled, out);
  }
  return true;
}

int ScrubRun::scrub(const Options& options, std::FILE* in, std::FILE* out, std::FILE* err) {
  root_ = usableRoot(options.mountPoint, err);
  if (root_.empty()) return kUsage;
  for (int op = 0; op < DiskWiper::kCount; ++op)
    names_[op] = texts_.shown(texts_.run().operationName(op));
  DiskWiper* engine = DiskWiper::create();
  engine->init();
  engine->setDrive(root_.c_str());
  if (!engine->isSupported()) {
    std::fprintf(out, "%s\n", unsupportedMessage().c_str());
    engine->release();
    return kUnsupported;
  }
  const bool ntfs = engine->fileSystem() == DiskWiper::kNtfs;
  bool enabled[5];
  std::copy(options.operations, options.operations + 5, enabled);
  for (int op : {DiskWiper::kMFTSpace, DiskWiper::kFileEntries}) {
    if (enabled[op] && !ntfs) {
      std::fprintf(out, "%s: %s\n", names_[op].c_str(),
                   texts_.shown(texts_.run().reason(s::file::wiper::Shortfall::NotNtfs)).c_str());
      enabled[op] = false;
    }
  }
  if (enabled[DiskWiper::kCluterTips] && !s::os::tipJournal().usable()) {
    std::fprintf(err, "%s", Texts::noTipJournal());
  }
  if ((!options.yes && !confirm(options, ntfs, in, out)) || interrupted_.load()) {
    std::fprintf(out, "Nothing was done.\n");
    engine->release();
    return kCancelled;
  }
  enable(*engine, enabled);
  const bool refused = !drive(*engine, enabled, out);
  printed_[0] = printed_[1] = printed_[2] = printed_[3] = printed_[4] = -1;
  draw(*engine, enabled, out);
  const int result = refused ? kIncomplete
                             : tellOutcome(*engine, enabled, ntfs, options.verbose,
                                           tracesLeft(enabled, ntfs, engine->reports()), out);
  if (refused) std::fprintf(out, "vonq-scrub: the engine would not start; nothing was done.\n");
  engine->release();
  return result;
}

// Says how the run ended: the end message, and for an incomplete run each
// operation that fell short with its reason. Returns the exit status.
int ScrubRun::tellOutcome(DiskWiper& engine, const bool enabled[5], bool ntfs, bool verbose,
                          const std::string& traces, std::FILE* out) {
  using Outcome = DiskWiper::Outcome;
  const Outcome outcome = interrupted_.load() ? Outcome::Cancelled : engine.outcome();
  if (verbose) tellWhatWasDone(engine, out);
  const bool everything = enabled[1] && enabled[2] && enabled[3] && enabled[4] && ntfs;
  std::fprintf(out, "%s\n",
               texts_
                   .shown(texts_.run().endedWithTraces(outcome, everything, engine.reports(),
                                                       Console::fromBytes(traces)))
                   .c_str());
  if (outcome == Outcome::Complete) return kComplete;
  return outcome == Outcome::Cancelled ? kCancelled : kIncomplete;
}

// The counts of every operation that ran (English: a diagnostic listing).
void ScrubRun::tellWhatWasDone(DiskWiper& engine, std::FILE* out) {
  for (int op = 0; op < DiskWiper::kCount; ++op) {
    const s::file::wiper::OperationReport r = engine.report(op);
    if (!r.asked) continue;
    std::fprintf(out, "%s:\n", names_[op].c_str());
    const std::pair<const char*, std::uint64_t> counts[] = {
        {"bytes written", r.bytesWritten},
        {"temporary files and folders made", r.filesMade},
        {"MFT records filled with small files", r.recordsFilled},
        {"cluster tips written", r.tipsWritten},
        {"files left alone", r.filesLeftAlone},
        {"  of them held open by another program", r.filesInUse},
        {"  of them not opened (permission, gone)", r.filesNotOpened},
        {"folders whose index slack was overwritten", r.foldersFilled},
        {"folders with index slack left as it was", r.foldersSkipped},
        {"temporary entries left", r.entriesLeft}};
    for (const auto& [what, count] : counts) {
      if (count > 0) std::fprintf(out, "  %-40s %" PRIu64 "\n", what, count);
    }
  }
}

// Why the drive cannot be wiped: its device cannot be read (so its file
// system cannot be told), or its file system is not one of ours.
std::string ScrubRun::unsupportedMessage() {
  s::os::VolumeInfo volume;
  const bool unreadable = fileSystem().volumeOf(root_, volume) && !volume.sourceReadable;
  return texts_.shown(texts_.run().unsupported(root_, unreadable));
}

}  // namespace s::cli
