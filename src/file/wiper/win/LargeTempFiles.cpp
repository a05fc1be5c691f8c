#include "file/wiper/win/LargeTempFiles.h"

#include "file/win/PathWin.h"
#include "file/wiper/win/EngineOperation.h"
#include "os/FileAttributes.h"
#include "os/FileSystem.h"
#include "os/System.h"

namespace s::file::wiper::win {

using s::os::fileSystem;
using s::os::OpenMode;

namespace {

// Deletes whatever entry has that name (a folder with its content; a link
// itself). True when nothing of that name is left.
bool removeLeftover(const std::u16string& path) {
  s::file::win::PathWin* leftover = s::file::win::PathWin::fromText(path);
  const bool gone = leftover->remove(false, false) && !fileSystem().exists(path);
  leftover->release();
  return gone;
}

OpenMode modeFor(int which) {
  OpenMode mode = OpenMode::make(OpenMode::Access::Write, OpenMode::Disposition::CreateNew);
  mode.createAttributes = s::os::FileAttributes::kNormal;
  mode.unbuffered = which == LargeTempFiles::kFirst;
  mode.writeThrough = which == LargeTempFiles::kSecond;
  return mode;
}

// A file sized lazily whose writes stopped short of its end (a cancel, a
// failed write) keeps a hole there, which makes it sparse on NTFS, and the
// worker leaves sparse files alone. Cutting it where the writes stopped
// drops only bytes that were never written.
void cutUnwritten(s::os::File& file) {
  std::uint64_t size = 0;
  if (file.size(size) && file.position() < size) file.setEndOfFile(file.position());
}

}  // namespace

LargeTempFiles::LargeTempFiles(const EngineOperation& operation, Sizing sizing)
    : operation_(operation), sizing_(sizing) {
  paths_[kFirst] = operation.inRoot(u"Vonq_Nulmark.tmp01");
  paths_[kSecond] = operation.inRoot(u"Vonq_Nulmark.tmp02");
}

LargeTempFiles::~LargeTempFiles() {
  close(kFirst);
  close(kSecond);
}

bool LargeTempFiles::open() {
  for (int which : {kFirst, kSecond}) {
    if (!removeLeftover(paths_[which])) return false;
  }
  for (int which : {kFirst, kSecond}) {
    files_[which] = fileSystem().openFile(paths_[which], modeFor(which));
    // Journalled while still empty: from here on a crash cannot leave it.
    if (!files_[which] || !fileSystem().scheduleDeletion(paths_[which])) {
      discard();
      return false;
    }
  }
  return true;
}

void LargeTempFiles::discard() {
  for (int which : {kFirst, kSecond}) {
    if (!files_[which]) continue;
    close(which);
    fileSystem().deleteFile(paths_[which]);
  }
}

bool LargeTempFiles::setSize(int which, const SizeRule& rule, std::uint64_t& sized) {
  s::os::File& target = *files_[which];
  for (int attempt = 1; attempt <= kSizeAttempts; ++attempt) {
    if (attempt > 1) s::os::system().sleepMillis(kRetryPauseMillis);
    sized = rule(operation_.freeBytes());
    const bool done =
        sizing_ == Sizing::Reserve ? target.setEndOfFile(sized) : target.setEndOfFileLazily(sized);
    if (done) return true;
  }
  sized = 0;
  return false;
}

void LargeTempFiles::close(int which) {
  if (!files_[which]) return;
  if (sizing_ == Sizing::Fill) cutUnwritten(*files_[which]);
  files_[which]->close();
  files_[which].reset();
}

}  // namespace s::file::wiper::win
