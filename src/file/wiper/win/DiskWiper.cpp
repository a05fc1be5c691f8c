#include "file/wiper/win/DiskWiper.h"

#include "file/wiper/IWiper.h"
#include "file/wiper/win/CluterTipsWipe.h"
#include "file/wiper/win/EngineOperation.h"
#include "file/wiper/win/FileEntriesWipe.h"
#include "file/wiper/win/FreeSpaceFill.h"
#include "file/wiper/win/LargeTempFiles.h"
#include "file/wiper/win/MftSpaceFill.h"
#include "file/wiper/win/TempFileWorker.h"
#include "os/FileSystem.h"
#include "os/Shell.h"
#include "os/System.h"
#include "str/strarray/StrArray.h"
#include "str/strbuffer/StrBuffer.h"
#include "thread/win/Thread.h"

namespace s::file::wiper::win {

using s::file::wiper::OperationReport;
using s::file::wiper::Shortfall;

const char16_t* const DiskWiper::kFat32 = u"FAT32";
const char16_t* const DiskWiper::kFat = u"FAT";
const char16_t* const DiskWiper::kNtfs = u"NTFS";
const char16_t* const DiskWiper::kUnknown = u"UNKNOWN";

namespace {

constexpr std::uint32_t kStopWaitMillis = 5000;

// The largest file FAT volumes hold: 4 GiB - 1 byte.
constexpr std::uint64_t kFatMaxFileSize = 0xFFFFFFFFull;

// Every system this code base is built for offers the services of the NT
// family (NT 5.1 and later on Windows; their equivalents on Linux).
constexpr bool kPlatformIsNtFamily = true;

const char16_t* fileSystemKind(const std::u16string& name) {
  for (const char16_t* kind : {DiskWiper::kFat32, DiskWiper::kFat, DiskWiper::kNtfs}) {
    if (name == kind) return kind;
  }
  return DiskWiper::kUnknown;
}

}  // namespace

DiskWiper::DiskWiper() {
  thread_ = s::thread::win::Thread::create();
  thread_->setPriority(0);
  currentFile_ = s::str::strbuffer::StrBuffer::create();
  messages_ = s::str::strarray::StrArray::create();
  reset();
}

DiskWiper::~DiskWiper() {
  stop(true);
  gate_.waitIdle();
  thread_->release();
  currentFile_->release();
  messages_->release();
}

void DiskWiper::reset() {
  stop(true);
  gate_.waitIdle();
  running_ = 0;
  stopRequested_ = 0;
  uninit();
}

bool DiskWiper::init() {
  initialised_ = 1;
  return true;
}

void DiskWiper::uninit() {
  // The run reads the probe's results and writes the numbers cleared here.
  gate_.waitIdle();
  {
    s::thread::ObjLocker::Guard guard(lock_);
    currentFile_->clear();
    messages_->clear();
  }
  for (int op = 0; op < kCount; ++op) {
    progress_[op].store(0.0f, std::memory_order_relaxed);
    skip_[op].store(0, std::memory_order_relaxed);
    phase_[op].store(0, std::memory_order_relaxed);
  }
  supported_ = 0;
  root_.clear();
  fileSystem_ = nullptr;
  isNT_ = 0;
  bytesPerSector_ = sectorsPerCluster_ = clusterSize_ = 0;
  freeBytes_ = 0;
  initialised_ = 0;
}

void DiskWiper::setDrive(const char16_t* rootPath) {
  root_ = rootPath != nullptr ? rootPath : u"";
  // The file system is read only for the root of a mounted volume, as the
  // system's volume query does.
  s::os::VolumeInfo volume;
  const bool readable =
      !root_.empty() && s::os::fileSystem().volumeOf(root_, volume) && volume.root == root_;
  fileSystem_ = readable ? fileSystemKind(volume.fileSystem) : nullptr;
  isNT_ = kPlatformIsNtFamily ? 1 : 0;
  bytesPerSector_ = sectorsPerCluster_ = clusterSize_ = 0;
  if (isNT_ != 0 && readable) {
    bytesPerSector_ = volume.bytesPerSector;
    sectorsPerCluster_ = volume.sectorsPerCluster;
    clusterSize_ = bytesPerSector_ * sectorsPerCluster_;
  }
  const bool known = fileSystem_ == kFat32 || fileSystem_ == kFat || fileSystem_ == kNtfs;
  supported_ = clusterSize_ != 0 && known ? 1 : 0;
}

bool DiskWiper::start() {
  if (stopRequested_.load() != 0 && running_.load() != 0) stop(true);
  if (running_.load() != 0 || !gate_.idle()) return false;
  running_ = 1;
  if (thread_->runOnce(this)) return true;
  running_ = 0;
  return false;
}

void DiskWiper::stop(bool wait) {
  stopRequested_ = 1;
  for (int op = 0; op < kCount; ++op) skip_[op].store(1, std::memory_order_relaxed);
  if (!wait) return;
  // A run still going after the wait goes on to its next test (its
  // operations see their skip flags) and clears running_ when it ends.
  gate_.waitIdleFor(kStopWaitMillis);
  stopRequested_ = 0;
}

std::uint64_t DiskWiper::getFreeBytes() const {
  return root_.empty() ? 0 : s::os::fileSystem().freeBytes(root_);
}

std::int32_t DiskWiper::percentOf(float fraction) {
  const float percent = fraction * 100.0f;
  if (!(percent > 0.0f)) return 0;
  return percent >= 100.0f ? 100 : static_cast<std::int32_t>(percent);
}

void DiskWiper::getCurrentFile(s::str::strbuffer::StrBuffer* out) {
  if (out == nullptr) return;
  out->clear();
  s::thread::ObjLocker::Guard guard(lock_);
  out->append(*currentFile_);
}

void DiskWiper::addMessage(const char16_t* text) {
  if (text == nullptr) return;
  s::thread::ObjLocker::Guard guard(lock_);
  messages_->addText(text);
}

s::str::strarray::StrArray* DiskWiper::getMessages() {
  s::thread::ObjLocker::Guard guard(lock_);
  return messages_->copy();
}

void DiskWiper::setPhase(int op) {
  for (int other = 0; other < kCount; ++other) {
    phase_[other].store(other == op ? 1 : 0, std::memory_order_relaxed);
  }
}

EngineOperation DiskWiper::operation(int op) {
  const bool fat = fileSystem_ == kFat || fileSystem_ == kFat32;
  return EngineOperation(root_, progress_[op], skip_[op],
                         fat ? kFatMaxFileSize : EngineOperation::kNoSizeLimit);
}

void DiskWiper::run() {
  gate_.enter();
  {
    s::thread::ObjLocker::Guard guard(lock_);
    for (int op = 0; op < kCount; ++op) {
      reports_[op] = OperationReport{};
      reports_[op].asked = !skipped(op);
    }
  }
  if (isSupported()) {
    runOperations();
    // Open views of the drive show its root and free space as they are now.
    s::os::shell().notifyChange(s::os::Shell::Change::FolderUpdated, root_);
    s::os::shell().notifyChange(s::os::Shell::Change::FreeSpace, root_);
  }
  s::os::fileSystem().forgetFinishedDeletions();  // what the run removed needs no record
  for (int op = 0; op < kCount; ++op) phase_[op].store(0, std::memory_order_relaxed);
  running_ = 0;
  stopRequested_ = 0;
  gate_.leave();
}

// The five operations in their fixed order, each only when enabled.
void DiskWiper::runOperations() {
  runTrashBin();
  runDiskAndMftSpace();
  runCluterTips();
  runFileEntries();
}

void DiskWiper::finish(int op, OperationReport report, Shortfall shortfall) {
  if (shortfall == Shortfall::None) setDone(op);
  s::thread::ObjLocker::Guard guard(lock_);
  report.asked = reports_[op].asked;
  report.shortfall = shortfall;
  reports_[op] = report;
}

void DiskWiper::skippedAtItsTurn(int op) {
  s::thread::ObjLocker::Guard guard(lock_);
  if (reports_[op].asked) reports_[op].shortfall = Shortfall::Cancelled;
}

void DiskWiper::runTrashBin() {
  if (skipped(kTrashBin)) return skippedAtItsTurn(kTrashBin);
  setPhase(kTrashBin);
  const bool emptied = s::os::shell().emptyRecycleBin(root_);
  finish(kTrashBin, OperationReport{}, emptied ? Shortfall::None : Shortfall::TrashNotEmptied);
}

// The free-space fill and the MFT wipe. When both run on NTFS, the MFT
// wipe's folder is made and its index grown first (that needs free
// clusters), and the files of the fill are handed to the MFT wipe still
// holding the free space, so that it is not written a second time.
void DiskWiper::runDiskAndMftSpace() {
  EngineOperation mftOperation = operation(kMFTSpace);
  MftSpaceFill mft(mftOperation);
  std::unique_ptr<LargeTempFiles> taken;
  if (skipped(kDiskSpace)) {
    skippedAtItsTurn(kDiskSpace);
  } else {
    setPhase(kDiskSpace);
    EngineOperation op = operation(kDiskSpace);
    const bool handOver = !skipped(kMFTSpace) && onNtfs() && mft.prepare() == Shortfall::None;
    const Shortfall result = FreeSpaceFill(op, freeBytes_).run(handOver ? &taken : nullptr);
    finish(kDiskSpace, op.report(), result);
  }
  if (skipped(kMFTSpace)) {
    skippedAtItsTurn(kMFTSpace);
    if (taken) {
      taken->closeAll();
      const std::vector<std::u16string> paths = taken->paths();
      taken.reset();
      TempFileWorker::destroy(paths, TempFileWorker::Counts{}, nullptr);
    }
    return;
  }
  setPhase(kMFTSpace);
  const Shortfall result = onNtfs() ? mft.run(std::move(taken)) : Shortfall::NotNtfs;
  finish(kMFTSpace, mftOperation.report(), result);
}

void DiskWiper::runCluterTips() {
  if (skipped(kCluterTips)) return skippedAtItsTurn(kCluterTips);
  setPhase(kCluterTips);
  EngineOperation op = operation(kCluterTips);
  Shortfall result =
      CluterTipsWipe(op, [this](s::file::wiper::IWiper& worker) { copyCurrentFile(worker); }).run();
  if (result == Shortfall::None && skipped(kCluterTips)) result = Shortfall::Cancelled;
  finish(kCluterTips, op.report(), result);
}

void DiskWiper::runFileEntries() {
  if (skipped(kFileEntries)) return skippedAtItsTurn(kFileEntries);
  setPhase(kFileEntries);
  EngineOperation op = operation(kFileEntries);
  const Shortfall result = onNtfs() ? FileEntriesWipe(op).run() : Shortfall::NotNtfs;
  finish(kFileEntries, op.report(), result);
}

OperationReport DiskWiper::report(int op) const {
  s::thread::ObjLocker::Guard guard(lock_);
  return reports_[op];
}

std::array<OperationReport, DiskWiper::kCount> DiskWiper::reports() const {
  s::thread::ObjLocker::Guard guard(lock_);
  std::array<OperationReport, kCount> all;
  for (int op = 0; op < kCount; ++op) all[static_cast<std::size_t>(op)] = reports_[op];
  return all;
}

DiskWiper::Outcome DiskWiper::outcome() const {
  if (!isSupportedNow()) return Outcome::Unsupported;
  bool complete = true;
  for (int op = 0; op < kCount; ++op) {
    const OperationReport r = report(op);
    if (!r.asked) continue;
    if (r.shortfall == Shortfall::Cancelled) return Outcome::Cancelled;
    complete = complete && r.shortfall == Shortfall::None && percent(op) == 100;
  }
  return complete ? Outcome::Complete : Outcome::Incomplete;
}

void DiskWiper::copyCurrentFile(s::file::wiper::IWiper& worker) {
  s::thread::ObjLocker::Guard guard(lock_);
  worker.getCurrentFile(currentFile_);
}

}  // namespace s::file::wiper::win
