#include "EngineFixture.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include "Sha256.h"
#include "file/TempFolder.h"
#include "os/FileSystem.h"
#include "os/FileWrapper.h"
#include "os/FsError.h"

namespace vonq::engine_test {

namespace fs = std::filesystem;
using vonq::test::u16;
using vonq::test::u8;

namespace {

// Keeps the journal of pending deletions and the user's recycle bin of the
// whole program in a private folder, never the real user's.
class PrivateHomes : public ::testing::Environment {
 public:
  void SetUp() override {
    // A child run of this program shares its parent's folder.
    if (std::getenv("VONQ_ENGINE_PRIVATE_HOMES") != nullptr) return;
    std::string pattern = (fs::temp_directory_path() / "vonq-engine-home-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) return;
    folder_ = pattern;
    ::setenv("XDG_STATE_HOME", (folder_ + "/state").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (folder_ + "/data").c_str(), 1);
    ::setenv("VONQ_ENGINE_PRIVATE_HOMES", "1", 1);
  }
  void TearDown() override {
    std::error_code ignored;
    if (!folder_.empty()) fs::remove_all(folder_, ignored);
  }

 private:
  std::string folder_;
};

[[maybe_unused]] const auto* const kHomes = ::testing::AddGlobalTestEnvironment(new PrivateHomes);

std::string lastPart(std::u16string_view path) {
  const std::string p = u8(path);
  return p.substr(p.find_last_of("/\\") + 1);  // either separator
}

// "Vonq_Nulmark.tmp01", "...tmp02" and the further ones a capped volume needs.
bool isLargeTempFile(const std::string& name) {
  return name.size() == 18 && name.rfind("Vonq_Nulmark.tmp", 0) == 0;
}

std::string randomBytes(std::size_t n, std::uint32_t seed) {
  std::mt19937 gen(seed);
  std::string data(n, '\0');
  for (char& c : data) c = static_cast<char>(gen() & 0xFF);
  return data;
}

// A file that reports to its owner and obeys its switches.
class HookedFile final : public s::os::FileWrapper {
 public:
  HookedFile(std::unique_ptr<s::os::File> target, HookedFileSystem& owner, std::string name,
             std::u16string root)
      : FileWrapper(std::move(target)),
        owner_(owner),
        name_(std::move(name)),
        root_(std::move(root)),
        large_(isLargeTempFile(name_)),
        fake_(large_ && owner.fakeFreeBytes.load() >= 0) {}

  bool write(const void* data, std::size_t count, std::size_t& done) override {
    if (owner_.slowName && owner_.slowName(name_)) {
      ++owner_.slowWrites;
      std::this_thread::sleep_for(std::chrono::milliseconds(owner_.writeDelayMs.load()));
    }
    if (large_) owner_.add("write " + name_ + " " + std::to_string(count));
    if (!large_ && owner_.fakeFreeBytes.load() >= 0) {
      // The faked volume is full for every other file.
      done = 0;
      s::os::setLastFsError(s::os::FsError::NoSpace);
      return false;
    }
    if (!fake_) return FileWrapper::write(data, count, done);
    done = count;
    position_ += count;
    return true;
  }
  bool seek(std::uint64_t position) override {
    if (!fake_) return FileWrapper::seek(position);
    position_ = position;
    return true;
  }
  std::uint64_t position() const override {
    return fake_ ? position_ : const_cast<HookedFile*>(this)->target().position();
  }
  bool size(std::uint64_t& out) override {
    if (!fake_) return FileWrapper::size(out);
    out = owner_.fakeSizeOf(name_);
    return true;
  }
  bool flush() override { return fake_ || FileWrapper::flush(); }
  bool setEndOfFile(std::uint64_t length) override { return sized(length, false); }
  bool setEndOfFileLazily(std::uint64_t length) override { return sized(length, true); }
  // One size change, recorded as such (the volume's own reserve may take
  // several steps).
  bool reserve(std::uint64_t length, const std::atomic<std::uint8_t>*,
               std::uint64_t& reached) override {
    const bool ok = sized(length, false);
    if (!size(reached)) reached = 0;
    return ok;
  }
  bool close() override {
    if (large_ && owner_.beforeClose) owner_.beforeClose(name_);
    std::int64_t unset = -1;
    if (!fake_ && name_ == "Vonq_Nulmark.tmp02") {
      owner_.freeAtSecondClose.compare_exchange_strong(
          unset, static_cast<std::int64_t>(owner_.target().freeBytes(root_)));
    }
    return FileWrapper::close();
  }

 private:
  bool sized(std::uint64_t length, bool lazily) {
    if (!large_) {
      return lazily ? FileWrapper::setEndOfFileLazily(length) : FileWrapper::setEndOfFile(length);
    }
    owner_.add(std::string(lazily ? "size-lazily " : "size ") + name_ + " " +
               std::to_string(length));
    bool ok = false;
    if (owner_.failSizing.load() > 0) {
      --owner_.failSizing;
      s::os::setLastFsError(s::os::FsError::NoSpace);
    } else if (fake_) {
      owner_.setFakeSize(name_, length);
      ok = true;
    } else {
      ok = lazily ? FileWrapper::setEndOfFileLazily(length) : FileWrapper::setEndOfFile(length);
    }
    std::int64_t unset = -1;
    if (ok && name_ == "Vonq_Nulmark.tmp02" && length > 0) {
      owner_.freeAfterSecondSized.compare_exchange_strong(
          unset, static_cast<std::int64_t>(owner_.target().freeBytes(root_)));
    }
    if (owner_.afterSizing) owner_.afterSizing(name_);
    return ok;
  }

  HookedFileSystem& owner_;
  std::string name_;
  std::u16string root_;
  bool large_;
  bool fake_;
  std::uint64_t position_ = 0;
};

}  // namespace

void PrintTo(const LiveFile& file, std::ostream* out) {
  *out << "{sha256 " << file.sha256.substr(0, 16) << ", " << file.size << " bytes, times "
       << file.times.creation << "/" << file.times.lastAccess << "/" << file.times.lastWrite << "}";
}

void populate(const vonq::test::ScratchNtfs& volume) {
  const std::pair<const char*, std::size_t> files[] = {
      {"live/empty", 0},
      {"live/small.txt", 100},
      {"live/cluster.bin", 4096},
      {"live/odd.bin", 5000},
      {"live/deep/nested/big.bin", 300000},
      {"live/caf\xe9.txt", 777},
  };
  std::uint32_t seed = 1;
  for (const auto& [name, size] : files) {
    vonq::test::writeText(volume.path(name), randomBytes(size, seed++));
  }
  // Old times, so that a touched file shows.
  s::os::FileTimes old;
  old.lastAccess = s::os::FileTimes::fromUnix(1000000000, 0);
  old.lastWrite = s::os::FileTimes::fromUnix(1100000000, 0);
  s::os::platformFileSystem().setTimes(
      vonq::test::ScratchNtfs::nativePath(volume.path("live/odd.bin")), old);
}

LiveFiles snapshot(const std::string& mount) {
  LiveFiles files;
  std::error_code ec;
  auto it =
      fs::recursive_directory_iterator(mount, fs::directory_options::skip_permission_denied, ec);
  for (; it != fs::recursive_directory_iterator(); it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (it.depth() == 0 && name.rfind(".Trash", 0) == 0) {
      it.disable_recursion_pending();
      continue;
    }
    if (!it->is_regular_file(ec) || it->is_symlink(ec)) continue;
    LiveFile file;
    file.sha256 = sha256OfFile(it->path().string());
    file.size = fs::file_size(it->path(), ec);
    files[it->path().string()] = file;
  }
  // ntfs-3g ignores O_NOATIME and stamps a file's first read after a write
  // (relatime) when FUSE releases it, after close() has returned: the times
  // are read once those releases have landed, so a snapshot's own reading
  // never shows up as a change in the next one.
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  for (auto& [path, file] : files) {
    // Every live file's times are compared, the non-UTF-8 named one too.
    EXPECT_TRUE(
        s::os::platformFileSystem().getTimes(vonq::test::ScratchNtfs::nativePath(path), file.times))
        << path;
  }
  return files;
}

std::vector<std::string> engineLeftovers(const std::string& mount) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(mount, ec)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("Vonq_", 0) == 0) names.push_back(name);
  }
  return names;
}

bool isSmallFileName(const std::string& name) {
  if (name.size() != 12 || name[8] != '.') return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    if (i != 8 && !((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z'))) return false;
  }
  return true;
}

std::uint64_t freeBytesOf(const std::string& mount) {
  // All free bytes (statvfs f_bfree on Linux), not only the caller's.
  std::error_code ec;
  const fs::space_info space = fs::space(mount, ec);
  return ec ? 0 : static_cast<std::uint64_t>(space.free);
}

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

// ---- Engine

Engine::Engine(const std::u16string& root, std::initializer_list<int> enabled)
    : engine_(DiskWiper::create()) {
  engine_->init();
  engine_->setDrive(root.c_str());
  engine_->setProcessTrashBin(false);
  engine_->setProcessDiskSpace(false);
  engine_->setProcessMFTSpace(false);
  engine_->setProcessCluterTips(false);
  engine_->setProcessFileEntries(false);
  for (int op : enabled) {
    switch (op) {
      case DiskWiper::kTrashBin:
        engine_->setProcessTrashBin(true);
        break;
      case DiskWiper::kDiskSpace:
        engine_->setProcessDiskSpace(true);
        break;
      case DiskWiper::kMFTSpace:
        engine_->setProcessMFTSpace(true);
        break;
      case DiskWiper::kCluterTips:
        engine_->setProcessCluterTips(true);
        break;
      case DiskWiper::kFileEntries:
        engine_->setProcessFileEntries(true);
        break;
      default:
        break;
    }
  }
}

bool Engine::runToEnd(std::chrono::milliseconds timeout) {
  engine_->start();
  return waitUntil([this] { return !engine_->isRunning(); }, timeout);
}

std::vector<int> Engine::percentages() const {
  return {engine_->getProgressTrashBin(), engine_->getProgressDiskSpace(),
          engine_->getProgressMFTSpace(), engine_->getProgressCluterTips(),
          engine_->getProgressFileEntries()};
}

// ---- HookedFileSystem

void HookedFileSystem::add(std::string event) {
  std::lock_guard<std::mutex> guard(lock_);
  events_.push_back(std::move(event));
}

std::vector<std::string> HookedFileSystem::events() {
  std::lock_guard<std::mutex> guard(lock_);
  return events_;
}

int HookedFileSystem::count(const std::string& prefix) {
  int n = 0;
  for (const std::string& e : events()) n += e.rfind(prefix, 0) == 0 ? 1 : 0;
  return n;
}

std::uint64_t HookedFileSystem::fakeSizeOf(const std::string& name) {
  std::lock_guard<std::mutex> guard(lock_);
  auto it = fakeSizes_.find(name);
  return it == fakeSizes_.end() ? 0 : it->second;
}

void HookedFileSystem::setFakeSize(const std::string& name, std::uint64_t size) {
  std::lock_guard<std::mutex> guard(lock_);
  fakeSizes_[name] = size;
}

std::u16string HookedFileSystem::rootOf(std::u16string_view path) const {
  const auto slash = path.find_last_of(u"/\\");  // either separator
  return std::u16string(path.substr(0, slash + 1));
}

std::unique_ptr<s::os::File> HookedFileSystem::openFile(std::u16string_view path,
                                                        const s::os::OpenMode& mode) {
  const std::string name = lastPart(path);
  if (openDelayMs.load() > 0 && slowName && slowName(name)) {
    ++slowOpens;
    std::this_thread::sleep_for(std::chrono::milliseconds(openDelayMs.load()));
  }
  if (beforeOpen) beforeOpen(name);
  std::unique_ptr<s::os::File> file = target().openFile(path, mode);
  add((file ? "open " : "open-failed ") + name);
  if (!file) return nullptr;
  return std::make_unique<HookedFile>(std::move(file), *this, name, rootOf(path));
}

std::uint64_t HookedFileSystem::freeBytes(std::u16string_view path) {
  const std::int64_t fake = fakeFreeBytes.load();
  if (fake < 0) return target().freeBytes(path);
  std::uint64_t taken = 0;
  {
    std::lock_guard<std::mutex> guard(lock_);
    for (const auto& [name, size] : fakeSizes_) taken += size;
  }
  const auto total = static_cast<std::uint64_t>(fake);
  return taken >= total ? 0 : total - taken;
}

bool HookedFileSystem::volumeOf(std::u16string_view path, s::os::VolumeInfo& out) {
  if (!target().volumeOf(path, out)) return false;
  if (!fakeFileSystem.empty()) out.fileSystem = fakeFileSystem;
  return true;
}

bool HookedFileSystem::ntfsVolumeData(std::u16string_view root, s::os::NtfsVolumeData& out) {
  if (denyVolumeData.load()) {
    s::os::setLastFsError(s::os::FsError::AccessDenied);
    return false;
  }
  const bool ok = target().ntfsVolumeData(root, out);
  add("volume-data " +
      (ok ? std::to_string(out.mftValidDataLength) + " freed " + std::to_string(out.mftFreedRecords)
          : std::string("failed")));
  return ok;
}

bool HookedFileSystem::scheduleDeletion(std::u16string_view path) {
  add("schedule " + lastPart(path));
  return target().scheduleDeletion(path);
}

// ---- QuickSystem

void QuickSystem::sleepMillis(std::uint32_t ms) {
  {
    std::lock_guard<std::mutex> guard(lock_);
    ++sleeps_[ms];
  }
  s::os::platformSystem().sleepMillis(std::min<std::uint32_t>(ms, 2));
}

int QuickSystem::sleepsOf(std::uint32_t ms) {
  std::lock_guard<std::mutex> guard(lock_);
  return sleeps_[ms];
}

}  // namespace vonq::engine_test
