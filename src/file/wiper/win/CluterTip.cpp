#include "file/wiper/win/CluterTip.h"

#include <memory>

#include "file/win/PathWin.h"
#include "file/wiper/IMethod.h"
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
  const float from = fill.progress != nullptr ? fill.progress->load(std::memory_order_relaxed) : to;
  const bool written = fill.method != nullptr &&
                       fill.method->write(*file, record.extendedTo, fill.buffer, fill.bufferSize,
                                          from, to, fill.progress, fill.stop, record.length);
  std::uint64_t size = 0;
  whole = file->setEndOfFile(record.length) && file->size(size) && size == record.length;
  file->setTimes(record.times);
  file->releaseExclusive();
  file->close();
  return written && whole;
}

}  // namespace

bool CluterTip::wipe(s::file::win::PathWin& path, float to, const Fill& fill) {
  s::os::TipRecord record;
  if (!describe(path, record)) return false;
  const bool attributesKnown = record.attributes != FileAttributes::kInvalid;
  if (attributesKnown && (record.attributes & kLeftAlone) != 0) return true;
  if (record.extendedTo == record.length) return true;
  if (fileSystem().openState(path.getLongPath()) != s::os::OpenState::Free) return false;
  if (!s::os::tipJournal().record(record)) return false;

  // Attributes that cannot be read are left as they are: there would be
  // nothing to put back.
  const bool attributesChanged = attributesKnown && record.attributes != kWhileWriting &&
                                 fileSystem().setAttributes(path.getLongPath(), kWhileWriting);
  bool whole = true;
  const bool result = writeTip(path, record, to, fill, whole);
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
  return result;
}

}  // namespace s::file::wiper::win
