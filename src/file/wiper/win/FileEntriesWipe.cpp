#include "file/wiper/win/FileEntriesWipe.h"

#include "file/win/PathWin.h"
#include "file/wiper/win/EngineOperation.h"
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

void removeTree(const std::u16string& path) {
  s::file::win::PathWin* entry = s::file::win::PathWin::fromText(path);
  entry->remove(false, false);
  entry->release();
}

}  // namespace

std::u16string FileEntriesWipe::folderName(std::uint32_t counter) const {
  return formatted(u"%sVonq_Nulmark.TMP.%06X", operation_.root().c_str(), counter);
}

std::u16string FileEntriesWipe::fileName(const std::u16string& folder, std::uint32_t counter) {
  const std::u16string filler(kFillerLength, u'0');
  return EngineOperation::join(folder, formatted(u"%s%08X", filler.c_str(), counter));
}

bool FileEntriesWipe::run() {
  s::os::NtfsVolumeData volume;
  if (!fileSystem().ntfsVolumeData(operation_.root(), volume)) return true;
  operation_.setProgress(0.1f);
  createEntries(volume);
  return destroyEntries();
}

// Creates the files until the MFT has had to grow since `start` (no freed
// record is left), a file cannot be made, the volume cannot be read or the
// operation is cancelled.
void FileEntriesWipe::createEntries(const s::os::NtfsVolumeData& start) {
  const OpenMode mode = OpenMode::make(OpenMode::Access::Write, OpenMode::Disposition::CreateNew);
  std::uint32_t files = 0;
  std::uint32_t folderCounter = 0;
  bool outgrown = false;
  do {
    if (files % kFilesPerFolder == 0 && !nextFolder(folderCounter)) return;
    if (operation_.cancelled()) return;
    std::unique_ptr<s::os::File> file =
        fileSystem().openFile(fileName(folders_.back(), files), mode);
    if (!file) return;
    ++files;
    file->close();
    if (files % kQueryInterval == 0) {
      s::os::NtfsVolumeData volume;
      if (!fileSystem().ntfsVolumeData(operation_.root(), volume)) return;
      outgrown = volume.mftOutgrown(start);
    }
  } while (!outgrown);
}

// Makes the next folder, first deleting a leftover of that name. False when
// it cannot be made: files are created only in a folder made here, never
// through something planted under its name.
bool FileEntriesWipe::nextFolder(std::uint32_t& counter) {
  const std::u16string folder = folderName(counter++);
  if (fileSystem().exists(folder)) removeTree(folder);
  if (!fileSystem().createFolder(folder)) return false;
  folders_.push_back(folder);
  return true;
}

// Has the worker destroy the folders; on cancel stops it and deletes what
// is left without further ado. False when cancelled.
bool FileEntriesWipe::destroyEntries() {
  TempFileWorker::Counts counts;
  counts.truncate = 0;
  counts.rename = 1;
  counts.attribute = 1;
  counts.time = 1;
  // After a cancel the worker's share is not counted: the operation did
  // not do its work, however quickly what it made is cleaned up.
  const bool reportProgress = !operation_.cancelled();
  TempFileWorker::destroy(folders_, counts, [this, reportProgress](std::int32_t percent) {
    if (operation_.cancelled()) return false;
    if (reportProgress) operation_.setProgress(static_cast<float>(0.1 + 0.9 * (percent / 100.0)));
    return true;
  });
  const bool cancelled = operation_.cancelled();
  for (const std::u16string& folder : folders_) {
    if (fileSystem().exists(folder)) removeTree(folder);
  }
  folders_.clear();
  return !cancelled;
}

}  // namespace s::file::wiper::win
