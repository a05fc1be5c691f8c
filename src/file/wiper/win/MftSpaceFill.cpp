#include "file/wiper/win/MftSpaceFill.h"

#include <algorithm>
#include <ctime>

#include "file/wiper/Random.h"
#include "file/wiper/win/EngineOperation.h"
#include "file/wiper/win/TempFileWorker.h"
#include "os/FileAttributes.h"
#include "os/FileSystem.h"

namespace s::file::wiper::win {

using s::os::fileSystem;
using s::os::OpenMode;
using Taken = LargeTempFiles::Taken;

namespace {

constexpr char16_t kAlphabet[] = u"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

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

MftSpaceFill::~MftSpaceFill() {
  if (folderMade_) TempFileWorker::removePlainly(folder());
}

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

std::u16string MftSpaceFill::folder() const {
  return operation_.inRoot(u"Vonq_NulmarkTMP");
}

Shortfall MftSpaceFill::prepare() {
  if (prepared_) return prepareResult_;
  prepared_ = true;
  if (!operation_.volumeData(start_)) {
    return prepareResult_ = Shortfall::VolumeUnreadable;
  }
  // The small files go only into a folder that was made new here (never
  // through a leftover link) and journalled.
  const std::u16string path = folder();
  TempFileWorker::removePlainly(path);
  if (!fileSystem().createFolder(path)) return prepareResult_ = Shortfall::CannotCreate;
  folderMade_ = true;
  ++operation_.report().filesMade;
  if (!fileSystem().scheduleDeletion(path)) return prepareResult_ = Shortfall::CannotCreate;
  makeIndexRoom();
  if (operation_.cancelled()) prepareResult_ = Shortfall::Cancelled;
  return prepareResult_;
}

Shortfall MftSpaceFill::run(std::unique_ptr<LargeTempFiles> taken) {
  const bool handedOver = taken != nullptr;
  if (taken) taken->rebind(operation_, LargeTempFiles::Sizing::Reserve);
  Shortfall result = prepare();
  if (result == Shortfall::None && !taken) {
    taken = std::make_unique<LargeTempFiles>(operation_, LargeTempFiles::Sizing::Reserve);
    if (taken->open()) {
      operation_.report().filesMade += 2;
    } else {
      taken.reset();
      result = Shortfall::CannotCreate;
    }
  }
  if (result == Shortfall::None) {
    // Whatever the last cluster does, the free records are filled: a volume
    // that could not hand out its last cluster is full all the same.
    result = takeFreeSpace(*taken, handedOver);
    if (result != Shortfall::Cancelled) {
      const Fill ended = fillRecords();
      if (ended == Fill::Cancelled) result = Shortfall::Cancelled;
      if (ended == Fill::CannotCreate && result == Shortfall::None)
        result = Shortfall::MftNotFilled;
    }
  }
  std::vector<std::u16string> large;
  if (taken) {
    taken->closeAll();
    large = taken->paths();
    taken.reset();
  }
  const Shortfall cleanup = cleanUp(large);
  if (operation_.cancelled()) return Shortfall::Cancelled;
  return result == Shortfall::None ? cleanup : result;
}

// Once no cluster is free the folder's index cannot grow, and only the
// handful of small files its root holds could be made however many records
// the MFT has free. So the index is grown first, while clusters are free:
// one empty placeholder with a long name per free record, all deleted again.
// A folder's index keeps its blocks when entries go, and the short names of
// the small files take a third of the room or less.
void MftSpaceFill::makeIndexRoom() {
  const std::u16string path = folder();
  const std::uint64_t wanted = std::min<std::uint64_t>(start_.mftFreeRecords, kMaxFiles);
  OpenMode mode = OpenMode::make(OpenMode::Access::Write, OpenMode::Disposition::CreateNew);
  mode.createAttributes = s::os::FileAttributes::kHidden;
  std::uint64_t made = 0;
  while (made < wanted && !operation_.cancelled()) {
    std::unique_ptr<s::os::File> file = fileSystem().openFile(placeholderPath(path, made), mode);
    if (!file) break;
    file->close();
    ++made;
  }
  for (std::uint64_t i = 0; i < made; ++i) fileSystem().deleteFile(placeholderPath(path, i));
}

// The `index`th placeholder: its number, then filler to 128 characters.
std::u16string MftSpaceFill::placeholderPath(const std::u16string& folder, std::uint64_t index) {
  std::u16string name(kPlaceholderLength, u'X');
  for (int digit = 9; digit >= 0; --digit, index /= 10) {
    name[static_cast<std::size_t>(digit)] = static_cast<char16_t>(u'0' + index % 10);
  }
  return EngineOperation::join(folder, name);
}

// Sizes the large files (no data is written) and closes them. Files handed
// over hold the free space already: only what was freed since is taken, by
// one more file.
Shortfall MftSpaceFill::takeFreeSpace(LargeTempFiles& files, bool handedOver) {
  const auto all = [](std::uint64_t free) { return free; };
  std::uint64_t sized = 0;
  if (handedOver) {
    if (operation_.freeBytes() == 0) return Shortfall::None;
    const int extra = files.addUnbuffered();
    if (extra < 0) return Shortfall::CannotCreate;
    ++operation_.report().filesMade;
    const Taken taken = files.setSize(extra, all, sized);
    files.close(extra);
    return LargeTempFiles::shortfallOf(taken);
  }
  const std::uint64_t cap = operation_.maxFileSize();
  Taken taken = files.setSize(
      LargeTempFiles::kFirst,
      [cap](std::uint64_t free) { return LargeTempFiles::firstSize(free, cap); }, sized);
  files.close(LargeTempFiles::kFirst);
  if (taken == Taken::All || taken == Taken::Failed) {
    const Taken second = files.setSize(LargeTempFiles::kSecond, all, sized);
    if (taken == Taken::All || second == Taken::Cancelled) taken = second;
  }
  files.close(LargeTempFiles::kSecond);
  return LargeTempFiles::shortfallOf(taken);
}

// Makes small files until no free record is left (not one byte fits, no
// file can be made on the full volume, or the MFT has had to grow), the
// operation is cancelled or the cap is reached, then deletes them all in
// the order made.
MftSpaceFill::Fill MftSpaceFill::fillRecords() {
  std::uint8_t data[kFirstFileSize];
  Fill ended = Fill::RecordsTaken;
  size_ = kFirstFileSize;
  while (made_.size() < kMaxFiles) {
    if (operation_.cancelled()) {
      ended = Fill::Cancelled;
      break;
    }
    if (!made_.empty() && made_.size() % kQueryInterval == 0 && recordsUsed()) break;
    if (!makeSmallFile(data, ended)) break;
  }
  operation_.report().recordsFilled += made_.size();
  const std::u16string path = folder();
  for (const Name& name : made_) {
    fileSystem().deleteFile(
        EngineOperation::join(path, std::u16string_view(name.data(), name.size())));
  }
  made_.clear();
  made_.shrink_to_fit();
  return ended;
}

// Whether the small files have used the free records: the MFT has had to
// grow since the start, or more files were made than it had records free.
bool MftSpaceFill::recordsUsed() {
  if (start_.mftRecordsCounted && made_.size() >= start_.mftFreeRecords + kRecordSlack) {
    return true;
  }
  s::os::NtfsVolumeData now;
  return fileSystem().ntfsVolumeData(operation_.root(), now) && now.mftOutgrown(start_);
}

bool MftSpaceFill::makeSmallFile(std::uint8_t* data, Fill& ended) {
  const std::u16string name = randomName();
  const std::u16string path = EngineOperation::join(folder(), name);
  std::unique_ptr<s::os::File> file = fileSystem().openFile(path, smallFileMode());
  if (!file) {
    // A name drawn twice: draw another. A full volume has no record left.
    const s::os::FsError error = s::os::lastFsError();
    if (error == s::os::FsError::Exists) return true;
    ended = error == s::os::FsError::NoSpace ? Fill::RecordsTaken : Fill::CannotCreate;
    return false;
  }
  Name kept{};
  name.copy(kept.data(), kept.size());
  made_.push_back(kept);
  Random::fillRandom(size_, data);
  const bool written = writeLargestFitting(*file, data);
  if (written) operation_.report().bytesWritten += size_;
  const std::uint64_t time = dawnOf1980();
  file->setTimes(s::os::FileTimes{time, time, time});
  file->close();
  if (written) return true;
  ended = operation_.cancelled() ? Fill::Cancelled : Fill::RecordsTaken;
  return false;
}

// Writes size_ bytes of `data`; when they do not fit, the largest prefix
// that does is found by halving the range (a few writes, not one per byte)
// and becomes size_. False when not one byte fits or the operation was
// cancelled.
bool MftSpaceFill::writeLargestFitting(s::os::File& file, const std::uint8_t* data) {
  std::size_t done = 0;
  if (file.write(data, size_, done)) return true;
  std::uint32_t fits = 0;
  std::uint32_t failsAt = size_;
  while (failsAt - fits > 1 && !operation_.cancelled()) {
    const std::uint32_t middle = fits + (failsAt - fits) / 2;
    file.seek(0);
    if (file.write(data, middle, done)) {
      fits = middle;
    } else {
      failsAt = middle;
    }
  }
  // A cancel cut the search short: the size found says nothing.
  if (operation_.cancelled()) return false;
  size_ = fits;
  operation_.setProgress(1.0f - static_cast<float>(size_) / static_cast<float>(kFirstFileSize));
  return size_ > 0;
}

// Destroys the large files and the folder; anything left is deleted plainly.
Shortfall MftSpaceFill::cleanUp(const std::vector<std::u16string>& large) {
  std::vector<std::u16string> paths = large;
  if (folderMade_) paths.push_back(folder());
  folderMade_ = false;
  if (paths.empty()) return Shortfall::None;
  return TempFileWorker::destroy(paths, TempFileWorker::Counts{}, nullptr,
                                 &operation_.report().entriesLeft, &operation_.report().ownEntries);
}

}  // namespace s::file::wiper::win
