#include "file/wiper/win/FileEntriesWipe.h"

#include "file/wiper/win/EngineOperation.h"
#include "file/wiper/win/IndexSlackWipe.h"
#include "file/wiper/win/TempFileWorker.h"
#include "os/FileSystem.h"
#include "str/strbuffer/StrBuffer.h"

namespace s::file::wiper::win {

using s::os::fileSystem;
using s::os::OpenMode;

namespace {

std::u16string formatted(const char16_t* format, const char16_t* text, std::uint32_t number) {
  s::str::strbuffer::StrBuffer* buffer = s::str::strbuffer::StrBuffer::create();
  buffer->format(format, text, static_cast<unsigned>(number));
  std::u16string result(buffer->view());
  buffer->release();
  return result;
}

}  // namespace

std::u16string FileEntriesWipe::folderName(std::uint32_t counter) const {
  return formatted(u"%sVonq_Nulmark.TMP.%06X", operation_.root().c_str(), counter);
}

std::u16string FileEntriesWipe::fileName(const std::u16string& folder, std::uint32_t counter) {
  const std::u16string filler(kFillerLength, u'0');
  return EngineOperation::join(folder, formatted(u"%s%08X", filler.c_str(), counter));
}

Shortfall FileEntriesWipe::run() {
  s::os::NtfsVolumeData volume;
  if (!operation_.volumeData(volume)) return Shortfall::VolumeUnreadable;
  operation_.setProgress(kVolumeRead);
  const Shortfall created = createEntries(volume);
  const Shortfall destroyed = destroyEntries();
  if (operation_.cancelled()) return Shortfall::Cancelled;
  // Folder indexes last: the renames and deletions above leave names in the
  // root folder's index too. The records the index pass's own files take
  // and free hold only its own names.
  const Shortfall indexes = IndexSlackWipe(operation_, kRecordsDone, 1.0f).run();
  for (const Shortfall result : {created, destroyed}) {
    if (result != Shortfall::None) return result;
  }
  return indexes;
}

// Creates the files until the MFT has had to grow since `start` (no freed
// record is left) or the volume has no room for another file; stops short
// when a file cannot be made otherwise, the volume cannot be read or the
// operation is cancelled.
Shortfall FileEntriesWipe::createEntries(const s::os::NtfsVolumeData& start) {
  std::uint32_t files = 0;
  std::uint32_t nameCounter = 0;
  std::uint32_t folderCounter = 0;
  while (!operation_.cancelled()) {
    if (files % kFilesPerFolder == 0 && !nextFolder(folderCounter)) return Shortfall::CannotCreate;
    Shortfall stop = Shortfall::None;
    if (!makeFile(nameCounter, stop)) return stop;
    ++files;
    if (files % kQueryInterval == 0) {
      s::os::NtfsVolumeData volume;
      if (!operation_.volumeData(volume)) {
        return Shortfall::VolumeUnreadable;
      }
      if (volume.mftOutgrown(start)) return Shortfall::None;
    }
  }
  return Shortfall::Cancelled;
}

// Makes the next file in the current folder, skipping names that are taken.
// False when creation must end: `stop` says None for a volume with no room
// for another file (no free record is left), else why.
bool FileEntriesWipe::makeFile(std::uint32_t& counter, Shortfall& stop) {
  const OpenMode mode = OpenMode::make(OpenMode::Access::Write, OpenMode::Disposition::CreateNew);
  for (std::uint32_t attempt = 0; attempt < kNameAttempts; ++attempt) {
    std::unique_ptr<s::os::File> file =
        fileSystem().openFile(fileName(folders_.back(), counter++), mode);
    if (file) {
      file->close();
      ++operation_.report().filesMade;
      return true;
    }
    const s::os::FsError error = s::os::lastFsError();
    if (error == s::os::FsError::Exists) continue;
    stop = error == s::os::FsError::NoSpace ? Shortfall::None : Shortfall::CannotCreate;
    return false;
  }
  stop = Shortfall::CannotCreate;
  return false;
}

// Makes the next folder, first deleting a leftover of that name; a name
// still taken after that is skipped. Files are created only in a folder
// made here and journalled, never through something planted under its
// name. False when no folder can be made.
bool FileEntriesWipe::nextFolder(std::uint32_t& counter) {
  for (std::uint32_t attempt = 0; attempt < kNameAttempts; ++attempt) {
    const std::u16string folder = folderName(counter++);
    if (fileSystem().exists(folder)) TempFileWorker::removePlainly(folder);
    if (!fileSystem().createFolder(folder)) {
      if (s::os::lastFsError() == s::os::FsError::Exists) continue;
      return false;
    }
    folders_.push_back(folder);
    ++operation_.report().filesMade;
    return fileSystem().scheduleDeletion(folder);
  }
  return false;
}

// Has the worker destroy the folders; on cancel stops it. What it leaves is
// deleted without further ado.
Shortfall FileEntriesWipe::destroyEntries() {
  TempFileWorker::Counts counts;
  counts.truncate = 0;
  counts.rename = 1;
  counts.attribute = 1;
  counts.time = 1;
  // After a cancel the worker's share is not counted: the operation did
  // not do its work, however quickly what it made is cleaned up.
  const bool reportProgress = !operation_.cancelled();
  const Shortfall result = TempFileWorker::destroy(
      folders_, counts,
      [this, reportProgress](std::int32_t percent) {
        if (operation_.cancelled()) return false;
        if (reportProgress) {
          operation_.setProgress(kVolumeRead + (kRecordsDone - kVolumeRead) * (percent / 100.0f));
        }
        return true;
      },
      &operation_.report().entriesLeft, &operation_.report().ownEntries);
  folders_.clear();
  return result;
}

}  // namespace s::file::wiper::win
