#include "file/wiper/win/CluterTip.h"

#include <memory>

#include "file/win/PathWin.h"
#include "file/wiper/Random.h"
#include "os/FileAttributes.h"
#include "os/FileSystem.h"
#include "os/TipJournal.h"

namespace s::file::wiper::win {

using s::os::FileAttributes;
using s::os::fileSystem;

namespace {

std::uint64_t roundUp(std::uint64_t value, std::uint64_t unit) {
  return (value + unit - 1) / unit * unit;
}

// The state to put back, read by name before the file is touched; false
// when the entry is not a regular file or cannot be read.
bool describe(s::file::win::PathWin& path, s::os::TipRecord& out) {
  s::os::FileInfo info;
  if (!fileSystem().stat(path.getLongPath(), info) || info.kind != s::os::EntryKind::File) {
    return false;
  }
  out.path = path.getPath();
  out.device = info.device;
  out.fileId = info.fileId;
  out.length = info.size;
  out.extendedTo = roundUp(info.size, path.getAllocationUnit());
  out.times = info.times;
  out.attributes = fileSystem().getAttributes(path.getLongPath());
  return true;
}

// Whether the open file is still exactly what was recorded: nobody wrote to
// it between the recording and the moment we held it alone.
bool unchanged(s::os::File& file, const s::os::TipRecord& record) {
  std::uint64_t size = 0;
  s::os::FileTimes times;
  return file.size(size) && size == record.length && file.getTimes(times) &&
         times.lastWrite == record.times.lastWrite && !file.exclusiveBroken();
}

bool stopped(const CluterTip::Fill& fill) {
  return fill.stop != nullptr && fill.stop->load(std::memory_order_relaxed) != 0;
}

// Writes the tip in one piece, pushed to the device: the bytes of
// tipPattern(seed) from the end of the file's data to the end of its unit.
// A replay after a crash recognises them as the wipe's own.
bool writePattern(s::os::File& file, const s::os::TipRecord& record, float to,
                  const CluterTip::Fill& fill) {
  const std::uint64_t count = record.extendedTo - record.length;
  if (fill.method == nullptr || fill.buffer == nullptr || fill.bufferSize <= 0 ||
      count > static_cast<std::uint64_t>(fill.bufferSize) || stopped(fill)) {
    return false;
  }
  s::os::tipPattern(record.seed, fill.buffer, static_cast<std::size_t>(count));
  std::size_t done = 0;
  const bool written = file.seek(record.length) &&
                       file.write(fill.buffer, static_cast<std::size_t>(count), done) &&
                       done == count && file.flush();
  if (fill.progress != nullptr) fill.progress->store(to, std::memory_order_relaxed);
  return written;
}

// Opens the file alone, writes its tip and cuts it back. `whole` tells
// whether the file has its recorded length afterwards (its times are put
// back in any case once it was opened).
bool writeTip(s::file::win::PathWin& path, const s::os::TipRecord& record, float to,
              const CluterTip::Fill& fill, bool& whole) {
  s::os::OpenMode mode = s::os::OpenMode::make(s::os::OpenMode::Access::ReadWrite,
                                               s::os::OpenMode::Disposition::OpenExisting);
  mode.writeThrough = true;
  std::unique_ptr<s::os::File> file = fileSystem().openFile(path.getLongPath(), mode);
  if (!file) return false;
  if (!file->holdExclusive() || !unchanged(*file, record)) {
    file->releaseExclusive();
    return false;
  }
  const bool written = writePattern(*file, record, to, fill);
  std::uint64_t size = 0;
  whole = file->setEndOfFile(record.length) && file->size(size) && size == record.length;
  file->setTimes(record.times);
  file->releaseExclusive();
  file->close();
  return written && whole;
}

}  // namespace

bool CluterTip::wipe(s::file::win::PathWin& path, float to, const Fill& fill, Result* result) {
  Result ignored = Result::Failed;
  Result& why = result != nullptr ? *result : ignored;
  why = Result::NotOpened;
  s::os::TipRecord record;
  if (!describe(path, record)) return false;
  const bool attributesKnown = record.attributes != FileAttributes::kInvalid;
  why = Result::LeftAlone;
  if (attributesKnown && (record.attributes & kLeftAlone) != 0) return true;
  why = Result::NothingToWrite;
  if (record.extendedTo == record.length) return true;
  why = Result::InUse;
  if (fileSystem().openState(path.getLongPath()) != s::os::OpenState::Free) return false;
  // Never 0: a record without a seed names no pattern.
  record.seed = s::file::wiper::Random::random64() | 1u;
  why = Result::Failed;
  if (!s::os::tipJournal().record(record)) return false;

  // Attributes that cannot be read are left as they are: there would be
  // nothing to put back.
  const bool attributesChanged = attributesKnown && record.attributes != kWhileWriting &&
                                 fileSystem().setAttributes(path.getLongPath(), kWhileWriting);
  bool whole = true;
  const bool written = writeTip(path, record, to, fill, whole);
  if (written) why = Result::Written;
  if (attributesChanged) {
    fileSystem().setAttributes(path.getLongPath(), record.attributes);
    // Some volumes count an attribute change as a change of the file.
    s::os::FileTimes now;
    if (fileSystem().getTimes(path.getLongPath(), now) && now.lastWrite != record.times.lastWrite) {
      fileSystem().setTimes(path.getLongPath(), record.times);
    }
  }
  // A file left longer than its data keeps its record for the next start.
  if (whole) s::os::tipJournal().forget(record);
  return written;
}

}  // namespace s::file::wiper::win
