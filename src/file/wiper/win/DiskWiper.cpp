#include "file/wiper/win/DiskWiper.h"

#include "file/wiper/IWiper.h"
#include "file/wiper/win/CluterTipsWipe.h"
#include "file/wiper/win/EngineOperation.h"
#include "file/wiper/win/FileEntriesWipe.h"
#include "file/wiper/win/FreeSpaceFill.h"
#include "file/wiper/win/MftSpaceFill.h"
#include "os/FileSystem.h"
#include "os/Shell.h"
#include "os/System.h"
#include "str/strarray/StrArray.h"
#include "str/strbuffer/StrBuffer.h"
#include "thread/win/Thread.h"

namespace s::file::wiper::win {

const char16_t* const DiskWiper::kFat32 = u"FAT32";
const char16_t* const DiskWiper::kFat = u"FAT";
const char16_t* const DiskWiper::kNtfs = u"NTFS";
const char16_t* const DiskWiper::kUnknown = u"UNKNOWN";

namespace {

constexpr std::uint32_t kStopWaitMillis = 5000;
constexpr std::uint32_t kAbandonedRunPollMillis = 10;

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
  waitForAbandonedRun();
  thread_->release();
  currentFile_->release();
  messages_->release();
}

void DiskWiper::reset() {
  stop(true);
  waitForAbandonedRun();
  running_ = 0;
  stopRequested_ = 0;
  uninit();
}

bool DiskWiper::init() {
  initialised_ = 1;
  return true;
}

void DiskWiper::uninit() {
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

void DiskWiper::start() {
  if (stopRequested_.load() != 0 && running_.load() != 0) stop(true);
  if (running_.load() != 0) return;
  running_ = 1;
  if (!thread_->runOnce(this)) running_ = 0;
}

void DiskWiper::stop(bool wait) {
  stopRequested_ = 1;
  for (int op = 0; op < kCount; ++op) skip_[op].store(1, std::memory_order_relaxed);
  if (!wait) return;
  // A run still going after the wait was left to the old worker; its
  // operations see their skip flags and it clears running_ when it ends.
  thread_->waitIdleOrRestart(kStopWaitMillis);
  stopRequested_ = 0;
}

void DiskWiper::waitForAbandonedRun() {
  while (activeRuns_.load() != 0) s::os::system().sleepMillis(kAbandonedRunPollMillis);
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
  return EngineOperation(root_, progress_[op], skip_[op]);
}

void DiskWiper::run() {
  ++activeRuns_;
  if (isSupported()) runOperations();
  s::os::fileSystem().forgetFinishedDeletions();  // what the run removed needs no record
  for (int op = 0; op < kCount; ++op) phase_[op].store(0, std::memory_order_relaxed);
  running_ = 0;
  stopRequested_ = 0;
  --activeRuns_;
}

// The five operations in their fixed order, each only when enabled.
void DiskWiper::runOperations() {
  if (!skipped(kTrashBin)) {
    setPhase(kTrashBin);
    s::os::shell().emptyRecycleBin(root_);
    setDone(kTrashBin);
  }
  if (!skipped(kDiskSpace)) {
    setPhase(kDiskSpace);
    EngineOperation op = operation(kDiskSpace);
    if (FreeSpaceFill(op, freeBytes_).run()) setDone(kDiskSpace);
  }
  if (!skipped(kMFTSpace)) {
    setPhase(kMFTSpace);
    EngineOperation op = operation(kMFTSpace);
    if (onNtfs() && MftSpaceFill(op).run()) setDone(kMFTSpace);
  }
  if (!skipped(kCluterTips)) {
    setPhase(kCluterTips);
    if (wipeCluterTips() && !skipped(kCluterTips)) setDone(kCluterTips);
  }
  if (!skipped(kFileEntries)) {
    setPhase(kFileEntries);
    EngineOperation op = operation(kFileEntries);
    if (onNtfs() && FileEntriesWipe(op).run()) setDone(kFileEntries);
  }
}

bool DiskWiper::wipeCluterTips() {
  EngineOperation op = operation(kCluterTips);
  return CluterTipsWipe(op, [this](s::file::wiper::IWiper& worker) { copyCurrentFile(worker); })
      .run();
}

void DiskWiper::copyCurrentFile(s::file::wiper::IWiper& worker) {
  s::thread::ObjLocker::Guard guard(lock_);
  worker.getCurrentFile(currentFile_);
}

}  // namespace s::file::wiper::win
