#include "file/wiper/win/LargeTempFiles.h"

#include "file/wiper/win/EngineOperation.h"
#include "file/wiper/win/TempFileWorker.h"
#include "os/FileAttributes.h"
#include "os/FileSystem.h"
#include "os/System.h"

namespace s::file::wiper::win {

using s::os::fileSystem;
using s::os::FsError;
using s::os::OpenMode;

namespace {

OpenMode modeFor(int which) {
  OpenMode mode = OpenMode::make(OpenMode::Access::Write, OpenMode::Disposition::CreateNew);
  mode.createAttributes = s::os::FileAttributes::kNormal;
  mode.unbuffered = which != LargeTempFiles::kSecond;
  mode.writeThrough = which == LargeTempFiles::kSecond;
  return mode;
}

// "Vonq_Nulmark.tmp01", "...tmp02", then "...tmp03" and on for the extra
// unbuffered files.
std::u16string nameFor(int which) {
  std::u16string name = u"Vonq_Nulmark.tmp00";
  const int number = which + 1;
  name[name.size() - 2] = static_cast<char16_t>(u'0' + number / 10 % 10);
  name[name.size() - 1] = static_cast<char16_t>(u'0' + number % 10);
  return name;
}

// A file sized lazily whose writes stopped short of its end (a cancel, a
// failed write, a full volume) keeps a hole there, which makes it sparse
// on NTFS, and the worker leaves sparse files alone. Cutting it where the
// writes stopped drops only bytes that were never written.
void cutUnwritten(s::os::File& file) {
  std::uint64_t size = 0;
  if (file.size(size) && file.position() < size) file.setEndOfFile(file.position());
}

}  // namespace

Shortfall LargeTempFiles::shortfallOf(Taken taken) {
  switch (taken) {
    case Taken::All:
    case Taken::Full:
      return Shortfall::None;
    case Taken::Cancelled:
      return Shortfall::Cancelled;
    default:
      return Shortfall::WriteFailed;
  }
}

LargeTempFiles::LargeTempFiles(const EngineOperation& operation, Sizing sizing)
    : operation_(&operation), sizing_(sizing) {}

LargeTempFiles::~LargeTempFiles() {
  closeAll();
}

std::uint64_t LargeTempFiles::firstSize(std::uint64_t freeBytes, std::uint64_t maxSize) {
  const std::uint64_t space = freeBytes < maxSize ? freeBytes : maxSize;
  return space > kStepSize ? space / kStepSize * kStepSize : 0;
}

bool LargeTempFiles::create(int which) {
  const std::u16string path = operation_->inRoot(nameFor(which));
  if (!TempFileWorker::removePlainly(path)) return false;
  std::unique_ptr<s::os::File> file = fileSystem().openFile(path, modeFor(which));
  if (!file) return false;
  paths_.push_back(path);
  files_.push_back(std::move(file));
  // Journalled while still empty: from here on a crash cannot leave it.
  return fileSystem().scheduleDeletion(path);
}

bool LargeTempFiles::open() {
  if (create(kFirst) && create(kSecond)) return true;
  discard();
  return false;
}

int LargeTempFiles::addUnbuffered() {
  const int which = count();
  if (create(which)) return which;
  if (count() > which) {
    close(which);
    fileSystem().deleteFile(paths_[which]);
    paths_.pop_back();
    files_.pop_back();
  }
  return -1;
}

void LargeTempFiles::discard() {
  for (int which = 0; which < count(); ++which) {
    close(which);
    fileSystem().deleteFile(paths_[which]);
  }
  paths_.clear();
  files_.clear();
}

void LargeTempFiles::rebind(const EngineOperation& operation, Sizing sizing) {
  operation_ = &operation;
  sizing_ = sizing;
}

LargeTempFiles::Taken LargeTempFiles::setSize(int which, const SizeRule& rule,
                                              std::uint64_t& sized) {
  s::os::File& target = *files_[which];
  for (int attempt = 1; attempt <= kSizeAttempts; ++attempt) {
    if (attempt > 1) s::os::system().sleepMillis(kRetryPauseMillis);
    if (operation_->cancelled()) return Taken::Cancelled;
    sized = rule(operation_->freeBytes());
    if (sizing_ == Sizing::Fill) {
      if (target.setEndOfFileLazily(sized)) return Taken::All;
      continue;
    }
    std::uint64_t reached = 0;
    s::os::setLastFsError(FsError::None);
    if (target.reserve(sized, &operation_->skipFlag(), reached)) return Taken::All;
    const Taken how = writeResult(false);
    if (how != Taken::Failed) return how;
  }
  return Taken::Failed;
}

LargeTempFiles::Taken LargeTempFiles::writeResult(bool written) const {
  if (written) return Taken::All;
  if (operation_->cancelled()) return Taken::Cancelled;
  // The volume says it is full: that is the job done when it really has
  // (next to) nothing left; a volume that refuses writes with room to
  // spare (quotas, a failing device) has not been wiped.
  const bool full =
      s::os::lastFsError() == FsError::NoSpace && operation_->freeBytes() <= kFullSlack;
  return full ? Taken::Full : Taken::Failed;
}

void LargeTempFiles::close(int which) {
  if (!files_[which]) return;
  if (sizing_ == Sizing::Fill) cutUnwritten(*files_[which]);
  files_[which]->close();
  files_[which].reset();
}

void LargeTempFiles::closeAll() {
  for (int which = 0; which < count(); ++which) close(which);
}

}  // namespace s::file::wiper::win
