#include "file/wiper/win/MftSpaceFill.h"

#include <algorithm>
#include <ctime>

#include "file/win/PathWin.h"
#include "file/wiper/Random.h"
#include "file/wiper/win/EngineOperation.h"
#include "file/wiper/win/LargeTempFiles.h"
#include "file/wiper/win/TempFileWorker.h"
#include "os/FileAttributes.h"
#include "os/FileSystem.h"

namespace s::file::wiper::win {

using s::os::fileSystem;
using s::os::OpenMode;

namespace {

constexpr char16_t kAlphabet[] = u"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

// Deletes the entry of that name with everything in it (a link itself).
void removeTree(const std::u16string& path) {
  s::file::win::PathWin* entry = s::file::win::PathWin::fromText(path);
  entry->remove(false, false);
  entry->release();
}

// 1980-01-01 00:00:00.000 local time, as a FILETIME.
std::uint64_t dawnOf1980() {
  std::tm local{};
  local.tm_year = 80;
  local.tm_mday = 1;
  local.tm_isdst = -1;
  const std::time_t utc = std::mktime(&local);
  return s::os::FileTimes::fromUnix(static_cast<std::int64_t>(utc), 0);
}

OpenMode smallFileMode() {
  OpenMode mode = OpenMode::make(OpenMode::Access::Write, OpenMode::Disposition::CreateNew);
  mode.writeThrough = true;
  mode.createAttributes = s::os::FileAttributes::kHidden;
  return mode;
}

}  // namespace

std::u16string MftSpaceFill::randomName() {
  std::u16string name(12, u'0');
  for (char16_t& ch : name) {
    Random::random15();
    const std::uint32_t high = (Random::random15() & 1) << 15;
    const std::uint32_t value = high | Random::random15();
    ch = kAlphabet[value % 36];
  }
  name[8] = u'.';
  return name;
}

bool MftSpaceFill::run() {
  const std::u16string folder = operation_.inRoot(u"Vonq_NulmarkTMP");
  LargeTempFiles files(operation_, LargeTempFiles::Sizing::Reserve);
  if (!files.open()) {
    removeTree(folder);
    return false;
  }
  removeTree(folder);
  // The small files go only into a folder that was made new here (never
  // through a leftover link) and journalled.
  const bool folderReady =
      fileSystem().createFolder(folder) && fileSystem().scheduleDeletion(folder);
  if (folderReady) makeIndexRoom(folder);
  bool result = takeFreeSpace(files);
  if (operation_.freeBytes() != 0) {
    result = false;
  } else if (folderReady) {
    fillRecords(folder);
  }
  TempFileWorker::destroy(
      {files.path(LargeTempFiles::kFirst), files.path(LargeTempFiles::kSecond), folder},
      TempFileWorker::Counts{}, nullptr);
  if (fileSystem().exists(folder)) removeTree(folder);
  return result && !operation_.cancelled();
}

// Once no cluster is free the folder's index cannot grow, and only the
// handful of small files its root holds could be made however many records
// the MFT has free. So the index is grown first, while clusters are free:
// one empty placeholder with a long name per free record, all deleted again.
// A folder's index keeps its blocks when entries go, and the short names of
// the small files take a third of the room or less.
void MftSpaceFill::makeIndexRoom(const std::u16string& folder) {
  s::os::NtfsVolumeData volume;
  if (!fileSystem().ntfsVolumeData(operation_.root(), volume)) return;
  const std::uint64_t wanted = std::min<std::uint64_t>(volume.mftFreeRecords, kMaxFiles);
  OpenMode mode = OpenMode::make(OpenMode::Access::Write, OpenMode::Disposition::CreateNew);
  mode.createAttributes = s::os::FileAttributes::kHidden;
  std::uint64_t made = 0;
  while (made < wanted && !operation_.cancelled()) {
    std::unique_ptr<s::os::File> file = fileSystem().openFile(placeholderPath(folder, made), mode);
    if (!file) break;
    file->close();
    ++made;
  }
  for (std::uint64_t i = 0; i < made; ++i) fileSystem().deleteFile(placeholderPath(folder, i));
}

// The `index`th placeholder: its number, then filler to 128 characters.
std::u16string MftSpaceFill::placeholderPath(const std::u16string& folder, std::uint64_t index) {
  std::u16string name(kPlaceholderLength, u'X');
  for (int digit = 9; digit >= 0; --digit, index /= 10) {
    name[static_cast<std::size_t>(digit)] = static_cast<char16_t>(u'0' + index % 10);
  }
  return EngineOperation::join(folder, name);
}

// Sizes both large files (no data is written) and closes them.
bool MftSpaceFill::takeFreeSpace(LargeTempFiles& files) {
  std::uint64_t sized = 0;
  bool result = files.setSize(LargeTempFiles::kFirst, &LargeTempFiles::firstSize, sized);
  files.close(LargeTempFiles::kFirst);
  if (operation_.cancelled()) return false;
  result = files.setSize(LargeTempFiles::kSecond, &LargeTempFiles::secondSize, sized) && result;
  files.close(LargeTempFiles::kSecond);
  return result;
}

// Makes small files until not one byte fits, the operation is cancelled or
// the cap is reached, then deletes them all in the order made.
void MftSpaceFill::fillRecords(const std::u16string& folder) {
  std::uint8_t data[kFirstFileSize];
  bool written = true;
  size_ = kFirstFileSize;
  do {
    if (!makeSmallFile(folder, data, written)) break;
  } while (written && !operation_.cancelled() && made_.size() < kMaxFiles);
  for (const Name& name : made_) {
    fileSystem().deleteFile(
        EngineOperation::join(folder, std::u16string_view(name.data(), name.size())));
  }
  made_.clear();
  made_.shrink_to_fit();
}

bool MftSpaceFill::makeSmallFile(const std::u16string& folder, std::uint8_t* data, bool& written) {
  const std::u16string name = randomName();
  const std::u16string path = EngineOperation::join(folder, name);
  std::unique_ptr<s::os::File> file = fileSystem().openFile(path, smallFileMode());
  if (!file) {
    // A name drawn twice: draw another.
    written = s::os::lastFsError() == s::os::FsError::Exists;
    return written;
  }
  Name kept{};
  name.copy(kept.data(), kept.size());
  made_.push_back(kept);
  Random::fillRandom(size_, data);
  written = writeShrinking(*file, data);
  const std::uint64_t time = dawnOf1980();
  file->setTimes(s::os::FileTimes{time, time, time});
  file->close();
  return true;
}

// Writes size_ bytes of `data`, one byte fewer after each failure. False
// when not one byte fits or the operation was cancelled.
bool MftSpaceFill::writeShrinking(s::os::File& file, const std::uint8_t* data) {
  while (!operation_.cancelled()) {
    std::size_t done = 0;
    file.seek(0);
    if (file.write(data, size_, done)) return true;
    --size_;
    operation_.setProgress(1.0f - static_cast<float>(size_) / static_cast<float>(kFirstFileSize));
    if (size_ == 0) return false;
  }
  return false;
}

}  // namespace s::file::wiper::win
