#include "file/wiper/win/Wiper.h"

#include <chrono>
#include <vector>

#include "col/_array/ArrayP.h"
#include "file/win/PathWin.h"
#include "file/wiper/IMethod.h"
#include "file/wiper/Random.h"
#include "file/wiper/win/CluterTip.h"
#include "os/FileAttributes.h"
#include "os/FileSystem.h"
#include "str/strarray/StrArray.h"
#include "str/strbuffer/StrBuffer.h"
#include "thread/win/Thread.h"

namespace s::file::wiper::win {

using s::col::_array::ArrayP;
using s::file::win::PathWin;
using s::os::FileAttributes;
using s::os::fileSystem;
using s::os::OpenMode;

namespace {

constexpr std::uint32_t kStopWaitMillis = 5000;

// Files below this size may hold their data inside an NTFS MFT record (no
// record is larger).
constexpr std::uint64_t kResidentLimit = 4096;

// Attribute bits that make an NTFS file unsafe to overwrite in place.
constexpr std::uint32_t kEncryptedOrSparse = FileAttributes::kEncrypted | FileAttributes::kSparse;

std::uint64_t nowAsFileTime() {
  const auto since = std::chrono::system_clock::now().time_since_epoch();
  const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(since).count();
  return s::os::FileTimes::fromUnix(ns / 1000000000, ns % 1000000000);
}

std::uint32_t lowByteDraw() {
  return Random::random15() & 0xFF;
}

void releaseMethod(IMethod* method) {
  if (auto* poolable = dynamic_cast<s::thread::IPoolable*>(method)) poolable->release();
}

ArrayP* newPathList() {
  ArrayP* list = ArrayP::create();
  list->setDisposer(&PathWin::pool());
  return list;
}

// Releases a path object when the scope ends.
class PathHolder {
 public:
  explicit PathHolder(PathWin* path) : path_(path) {}
  ~PathHolder() { path_->release(); }
  PathHolder(const PathHolder&) = delete;
  PathHolder& operator=(const PathHolder&) = delete;
  PathWin& operator*() const { return *path_; }
  PathWin* operator->() const { return path_; }

 private:
  PathWin* path_;
};

// Releases a list when the scope ends.
class ListHolder {
 public:
  explicit ListHolder(ArrayP* list) : list_(list) {}
  ~ListHolder() { list_->release(); }
  ListHolder(const ListHolder&) = delete;
  ListHolder& operator=(const ListHolder&) = delete;
  ArrayP* operator->() const { return list_; }
  PathWin& at(std::uint32_t i) const { return *static_cast<PathWin*>(list_->get(i)); }

 private:
  ArrayP* list_;
};

}  // namespace

Wiper::Wiper() {
  thread_ = s::thread::win::Thread::create();
  thread_->setPriority(0);
  currentFile_ = s::str::strbuffer::StrBuffer::create();
  messages_ = s::str::strarray::StrArray::create();
  paths_ = newPathList();
  reset();
}

Wiper::~Wiper() {
  stop(true);
  uninit();
  thread_->release();
  currentFile_->release();
  messages_->release();
  if (paths_ != nullptr) paths_->release();
}

void Wiper::reset() {
  stop(true);
  // A run that outlived the bounded wait keeps seeing the stop request and
  // is waited for here: the worker goes back to its pool only once idle.
  gate_.waitIdle();
  running_ = 0;
  stopRequested_ = 0;
  uninit();
}

bool Wiper::init() {
  if (initialised_.load() == 0) {
    initialised_ = 1;
    fillBuffer_ = static_cast<std::uint8_t*>(fileSystem().allocatePages(kFillBufferSize));
    if (fillBuffer_ == nullptr) {
      initialised_ = 0;
      uninit();
    }
  }
  return initialised_.load() != 0;
}

void Wiper::uninit() {
  // What a run works with is freed only once no run is inside.
  gate_.waitIdle();
  if (fillBuffer_ != nullptr) fileSystem().freePages(fillBuffer_, kFillBufferSize);
  releaseMethod(method_);
  paths_->release();
  paths_ = newPathList();
  fillBuffer_ = nullptr;
  method_ = nullptr;
  {
    s::thread::ObjLocker::Guard guard(lock_);
    currentFile_->clear();
    messages_->clear();
  }
  setProgress(0.0f);
  for (auto& count : tips_) count = 0;
  resetTime_ = nowAsFileTime();
  truncateCount_ = renameCount_ = attributeCount_ = timeCount_ = kDefaultCount;
  clusterTipMode_ = false;
  initialised_ = 0;
}

void Wiper::setMethod(IMethod* method) {
  releaseMethod(method_);
  method_ = method;
}

void Wiper::addPath(const char16_t* text) {
  paths_->add(PathWin::fromText(text));
}

bool Wiper::start() {
  if (stopRequested_.load() != 0 && running_.load() != 0) stop(true);
  // Nothing starts while a run is going on, or while a run abandoned by
  // stop(true) has not returned yet.
  if (running_.load() != 0 || !gate_.idle()) return false;
  running_ = 1;
  if (thread_->runOnce(this)) return true;
  running_ = 0;
  return false;
}

void Wiper::stop(bool wait) {
  stopRequested_ = 1;
  if (!wait) return;
  // A run still going after the wait goes on to its next test; it stays
  // this worker's run (isRunning()) and clears the request when it ends.
  if (gate_.waitIdleFor(kStopWaitMillis)) stopRequested_ = 0;
}

std::int32_t Wiper::getProgress() {
  const float percent = progress_.load(std::memory_order_relaxed) * 100.0f;
  if (!(percent > 0.0f)) return 0;
  return percent >= 100.0f ? 100 : static_cast<std::int32_t>(percent);
}

void Wiper::setCurrentFile(const char16_t* text) {
  s::thread::ObjLocker::Guard guard(lock_);
  currentFile_->clear();
  currentFile_->append(text);
}

void Wiper::getCurrentFile(s::str::strbuffer::StrBuffer* out) {
  if (out == nullptr) return;
  out->clear();
  s::thread::ObjLocker::Guard guard(lock_);
  out->append(*currentFile_);
}

void Wiper::addMessage(const char16_t* text) {
  if (text == nullptr) return;
  s::thread::ObjLocker::Guard guard(lock_);
  messages_->addText(text);
}

s::str::strarray::StrArray* Wiper::getMessages() {
  s::thread::ObjLocker::Guard guard(lock_);
  return messages_->copy();
}

void Wiper::run() {
  gate_.enter();
  // The run works on its own copy of the configuration: a run abandoned by
  // stop(true) keeps it valid even when the worker is reset meanwhile.
  job_ = Job{paths_,          method_,    fillBuffer_,     truncateCount_, renameCount_,
             attributeCount_, timeCount_, clusterTipMode_, resetTime_};
  const std::uint32_t count = job_.paths->length();
  if (job_.method != nullptr && count > 0) {
    const float step = 1.0f / static_cast<float>(count);
    for (std::uint32_t i = 0; i < count && !stopping(); ++i) {
      PathWin& path = *static_cast<PathWin*>(job_.paths->get(i));
      const float from = static_cast<float>(i) * step;
      const float to = static_cast<float>(i + 1) * step;
      if (job_.clusterTipMode) {
        wipeTip(path, from, to);
      } else {
        wipeAndDelete(path, from, to, true, true);
      }
    }
  }
  running_ = 0;
  stopRequested_ = 0;
  gate_.leave();
}

// ---- Temporary-file mode

bool Wiper::wipeAndDelete(PathWin& path, float from, float to, bool restoreAttributes,
                          bool journalled) {
  if (stopping()) return false;
  setCurrentFile(path.getName());
  // Roots, missing entries, links and special files are left alone.
  if (path.isDriveRoot() || !path.exists() || path.isLinkOrSpecial()) return false;

  const std::uint32_t original = path.getAttributes();
  const bool folder = path.isFolder();
  path.setAttributes(FileAttributes::kNormal);
  path.addAttributes(FileAttributes::kNotContentIndexed);
  if (folder) path.addAttributes(FileAttributes::kDirectory);

  bool ok = true;
  if (folder) ok = wipeChildren(path, from, to, restoreAttributes);
  if (!path.isStream() && path.isNTFS()) {
    ListHolder streams(path.listStreams(nullptr));
    for (std::uint32_t k = 0; k < streams->length() && !stopping(); ++k) {
      ok = wipeAndDelete(streams.at(k), to, to, false) && ok;
    }
  }
  if (ok && !folder && path.getSize(false) > 0) {
    const bool unsafe = path.isNTFS() && original != PathWin::kInvalidAttributes &&
                        (original & kEncryptedOrSparse) != 0;
    ok = !unsafe && overwriteAndTruncate(path, to);
  }
  if (ok && !stopping()) {
    if (path.isStream()) {
      path.remove(false, false);
    } else {
      renameScrambleAndDelete(path, ok, journalled);
    }
  }
  if (restoreAttributes && original != PathWin::kInvalidAttributes && path.exists()) {
    fileSystem().setAttributes(path.getPath(), original);
  }
  setProgress(to);
  return ok;
}

// Destroys a folder's entries, sharing [from, to) evenly among them. False
// when one of them failed or something the listing leaves alone (a link, a
// device) is still in the folder, which then keeps its name.
bool Wiper::wipeChildren(PathWin& folder, float from, float to, bool restoreAttributes) {
  ListHolder entries(folder.listEntries(true, false, nullptr));
  const std::uint32_t count = entries->length();
  bool ok = true;
  if (count > 0) {
    const float span = (to - from) / static_cast<float>(count);
    for (std::uint32_t k = 0; k < count && !stopping(); ++k) {
      ok = wipeAndDelete(entries.at(k), from + static_cast<float>(k) * span,
                         from + static_cast<float>(k + 1) * span, restoreAttributes) &&
           ok;
    }
  }
  std::vector<s::os::DirEntry> left;
  if (fileSystem().listFolder(folder.getLongPath(), left) && !left.empty()) ok = false;
  return ok;
}

// Overwrites the file up to the end of its last allocation unit, then cuts
// it to random shorter lengths and finally to 0. The file is opened without
// following links and, where the system can tell, only when no other
// handle holds it open.
bool Wiper::overwriteAndTruncate(PathWin& path, float to) {
  OpenMode mode = OpenMode::make(OpenMode::Access::ReadWrite, OpenMode::Disposition::OpenExisting);
  mode.unbuffered = true;
  std::unique_ptr<s::os::File> file = fileSystem().openFile(path.getLongPath(), mode);
  if (!file) return false;
  if (!file->holdExclusive() && s::os::lastFsError() == s::os::FsError::InUse) return false;
  const std::uint64_t size = path.getSize(false);
  const float from = progress_.load(std::memory_order_relaxed);
  // A small NTFS file may keep its data inside its MFT record. Growing it
  // to the allocation unit moves the data out but leaves the old bytes in
  // the record's unused tail, so such data is first overwritten in place at
  // its own length (the progress waits for the full pass).
  bool written = size >= kResidentLimit || !path.isNTFS() ||
                 job_.method->write(*file, size, job_.buffer, kFillBufferSize, from, from,
                                    &progress_, &stopRequested_, 0);
  written =
      written && job_.method->write(*file, path.getAllocatedSize(), job_.buffer, kFillBufferSize,
                                    from, to, &progress_, &stopRequested_, 0);
  if (written) truncate(*file, size);
  file->releaseExclusive();
  file->close();
  return written;
}

void Wiper::truncate(s::os::File& file, std::uint64_t size) {
  for (std::int32_t r = job_.truncateCount - 1; r >= 0 && !stopping(); --r) {
    const std::uint64_t length = (r == 0 || size == 0) ? 0 : Random::random64() % size;
    file.setEndOfFile(length);
    file.seek(length);
    file.flush();
    size = length;
  }
}

// A journalled entry is journalled under each new name before it takes it,
// so that a kill between a rename and the deletion leaves nothing the next
// start does not remove; entries inside a journalled folder go with it.
void Wiper::renameScrambleAndDelete(PathWin& path, bool& ok, bool journalled) {
  PathHolder renamed(PathWin::create());
  s::str::strbuffer::StrBuffer* newName = s::str::strbuffer::StrBuffer::create();
  const PathWin::BeforeRename journal = [](std::u16string_view current, std::u16string_view next) {
    return fileSystem().scheduleDeletionAfterMove(current, next);
  };
  const bool moved =
      path.renameRandomly(job_.renameCount, newName, false, journalled ? journal : nullptr);
  renamed->set(newName->getText());
  renamed->shareVolumeOf(path);
  newName->release();
  if (!moved) {
    ok = false;
    return;
  }
  setRandomAttributes(*renamed);
  setRandomTimes(*renamed);
  renamed->remove(true, false);
}

void Wiper::setRandomAttributes(PathWin& path) {
  for (std::int32_t i = 0; i < job_.attributeCount && !stopping(); ++i) {
    const std::uint32_t r = lowByteDraw();
    std::uint32_t bits = FileAttributes::kNormal;
    if (r < 20) bits |= FileAttributes::kSystem;
    if (r < 7) bits |= FileAttributes::kHidden;
    if (r < 25) bits |= FileAttributes::kDirectory;
    path.setAttributes(bits);
  }
  path.setAttributes(lowByteDraw() < 25 ? FileAttributes::kNormal | FileAttributes::kDirectory
                                        : FileAttributes::kNormal);
}

// Creation between six years and one year before the reset time; last
// write at or after creation, last access at or after last write, each
// equal to the one before half of the time.
void Wiper::setRandomTimes(PathWin& path) {
  const std::int64_t base = static_cast<std::int64_t>(job_.resetTime - kYear);
  for (std::int32_t i = 0; i < job_.timeCount && !stopping(); ++i) {
    s::os::FileTimes times;
    times.creation = Random::random64() % (5 * kYear) + (job_.resetTime - 6 * kYear);
    std::int64_t d = base - static_cast<std::int64_t>(times.creation);
    if (d <= 1000) d = 1000;
    times.lastWrite = Random::random64() % static_cast<std::uint64_t>(d) + times.creation;
    if (lowByteDraw() < 128) times.lastWrite = times.creation;
    d = base - static_cast<std::int64_t>(times.lastWrite);
    if (d <= 1000) d = 1000;
    times.lastAccess = Random::random64() % static_cast<std::uint64_t>(d) + times.lastWrite;
    if (lowByteDraw() < 128) times.lastAccess = times.lastWrite;
    fileSystem().setTimes(path.getLongPath(), times);
  }
}

// ---- Cluster-tip mode

bool Wiper::wipeTip(PathWin& path, float from, float to) {
  if (stopping()) return false;
  setCurrentFile(path.getPath());
  // Roots (other mounts met inside a folder included), missing entries,
  // links and special files are left alone.
  if (path.isDriveRoot() || !path.exists() || path.isLinkOrSpecial()) return false;
  bool result = true;
  if (path.isFolder()) {
    ListHolder entries(path.listEntries(true, false, nullptr));
    const std::uint32_t count = entries->length();
    const float span = count > 0 ? (to - from) / static_cast<float>(count) : 0.0f;
    for (std::uint32_t k = 0; k < count && !stopping(); ++k) {
      wipeTip(entries.at(k), from + static_cast<float>(k) * span,
              from + static_cast<float>(k + 1) * span);
    }
  } else {
    if (!path.isStream() && path.isNTFS()) {
      ListHolder streams(path.listStreams(nullptr));
      for (std::uint32_t k = 0; k < streams->length() && !stopping(); ++k) {
        wipeTip(streams.at(k), to, to);
      }
    }
    result = wipeTipOfFile(path, to);
  }
  setProgress(to);
  return result;
}

// The cluster-tip write of one file (see CluterTip::wipe), counted by what
// became of the file.
bool Wiper::wipeTipOfFile(PathWin& file, float to) {
  CluterTip::Result result = CluterTip::Result::Failed;
  const bool ok = CluterTip::wipe(
      file, to, {job_.method, job_.buffer, kFillBufferSize, &progress_, &stopRequested_}, &result);
  ++tips_[static_cast<int>(result)];
  return ok;
}

Wiper::TipTally Wiper::tipTally() const {
  using Result = CluterTip::Result;
  const auto count = [this](Result r) { return tips_[static_cast<int>(r)].load(); };
  return TipTally{count(Result::Written), count(Result::LeftAlone), count(Result::InUse),
                  count(Result::NotOpened), count(Result::Failed)};
}

}  // namespace s::file::wiper::win
