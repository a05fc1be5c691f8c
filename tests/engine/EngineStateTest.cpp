#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "EngineFixture.h"
#include "file/TempFolder.h"
#include "os/Shell.h"

namespace vonq::engine_test {
namespace {

namespace fs = std::filesystem;
using vonq::test::Installed;
using vonq::test::ScratchNtfs;
using vonq::test::TempFolder;
using vonq::test::u16;

TEST(Progress, FractionsBecomeTruncatedClampedPercentages) {
  const std::pair<float, int> cases[] = {
      {0.0f, 0},  {0.999f, 99}, {1.0f, 100}, {0.5f, 50},      {0.0101f, 1},
      {-0.5f, 0}, {1.7f, 100},  {NAN, 0},    {INFINITY, 100}, {-INFINITY, 0},
  };
  for (const auto& [fraction, percent] : cases) {
    EXPECT_EQ(DiskWiper::percentOf(fraction), percent) << fraction;
  }
}

// Counts the recycle-bin calls and lets a test look at the engine then.
class RecordingShell : public s::os::Shell {
 public:
  std::atomic<int> calls{0};
  std::function<void()> during;
  bool emptyRecycleBin(std::u16string_view root) override {
    ++calls;
    if (during) during();
    return s::os::platformShell().emptyRecycleBin(root);
  }
  void openUrl(std::u16string_view target) override { s::os::platformShell().openUrl(target); }
  void notifyChange(Change change, std::u16string_view path) override {
    std::lock_guard<std::mutex> guard(lock_);
    changes_.emplace_back(change, std::u16string(path));
  }
  std::vector<std::pair<Change, std::u16string>> changes() {
    std::lock_guard<std::mutex> guard(lock_);
    return changes_;
  }

 private:
  std::mutex lock_;
  std::vector<std::pair<Change, std::u16string>> changes_;
};

class InstalledShell {
 public:
  explicit InstalledShell(s::os::Shell& shell) : previous_(s::os::setShell(&shell)) {}
  ~InstalledShell() { s::os::setShell(previous_); }
  InstalledShell(const InstalledShell&) = delete;
  InstalledShell& operator=(const InstalledShell&) = delete;

 private:
  s::os::Shell* previous_;
};

// A drive that cannot be probed as one of the three known file systems is
// unsupported; a run on it ends at once without touching anything.
void expectUnsupportedAndUntouched(const std::u16string& root, const std::string& folder) {
  RecordingShell shell;
  InstalledShell installed(shell);
  const auto entriesBefore =
      std::distance(fs::directory_iterator(folder), fs::directory_iterator());
  Engine engine(root, {DiskWiper::kTrashBin, DiskWiper::kDiskSpace, DiskWiper::kMFTSpace,
                       DiskWiper::kCluterTips, DiskWiper::kFileEntries});
  EXPECT_FALSE(engine->isSupported());
  EXPECT_TRUE(engine.runToEnd(std::chrono::seconds(2)));
  EXPECT_EQ(engine.percentages(), (std::vector<int>{0, 0, 0, 0, 0}));
  EXPECT_TRUE(shell.changes().empty());
  EXPECT_EQ(shell.calls.load(), 0);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), entriesBefore);
}

TEST(EngineProbe, PathsThatAreNoVolumeRootAreUnsupported) {
  TempFolder folder;
  expectUnsupportedAndUntouched(u16(folder.root() + "/"), folder.root());  // a plain folder
  expectUnsupportedAndUntouched(u16(folder.root() + "/missing/"), folder.root());
  expectUnsupportedAndUntouched(u"", folder.root());
  expectUnsupportedAndUntouched(u"/proc/", folder.root());  // a pseudo file system
}

// An ext4 volume on a loop device, made and mounted for one test.
class ScratchExt4 {
 public:
  static bool capable(std::string& reason) {
    if (::geteuid() != 0) {
      reason = "loop mounts need root";
    } else if (::access("/dev/loop-control", R_OK | W_OK) != 0) {
      reason = "no loop devices (/dev/loop-control)";
    } else if (std::system("command -v mkfs.ext4 >/dev/null 2>&1") != 0) {
      reason = "mkfs.ext4 is not installed (package e2fsprogs)";
    } else {
      return true;
    }
    return false;
  }
  ScratchExt4() {
    std::string pattern = (fs::temp_directory_path() / "vonq-engine-ext4-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) return;
    folder_ = pattern;
    const std::string image = folder_ + "/volume.img";
    fs::create_directory(mountPoint());
    mounted_ = std::system(("truncate -s 16M " + image + " && mkfs.ext4 -q -F " + image +
                            " >/dev/null 2>&1 && mount -o loop " + image + " " + mountPoint() +
                            " >/dev/null 2>&1")
                               .c_str()) == 0;
  }
  ~ScratchExt4() {
    if (mounted_) std::system(("umount " + mountPoint() + " >/dev/null 2>&1").c_str());
    std::error_code ignored;
    if (!folder_.empty()) fs::remove_all(folder_, ignored);
  }
  ScratchExt4(const ScratchExt4&) = delete;
  ScratchExt4& operator=(const ScratchExt4&) = delete;

  bool mounted() const { return mounted_; }
  std::string mountPoint() const { return folder_ + "/mnt"; }

 private:
  std::string folder_;
  bool mounted_ = false;
};

TEST(EngineProbe, Ext4VolumeIsUnsupportedAndLeftAlone) {
  std::string reason;
  const bool capable = ScratchExt4::capable(reason);
  VONQ_REQUIRE_CAPABILITY(capable, reason);
  ScratchExt4 volume;
  VONQ_REQUIRE_CAPABILITY(volume.mounted(), "the ext4 image could not be loop-mounted");
  {
    Engine engine(u16(volume.mountPoint() + "/"), {});
    EXPECT_EQ(engine->fileSystem(), DiskWiper::kUnknown);
  }
  expectUnsupportedAndUntouched(u16(volume.mountPoint() + "/"), volume.mountPoint());
}

TEST(EngineProbe, NtfsVolumeIsSupportedWithItsGeometry) {
  VONQ_REQUIRE_SCRATCH_NTFS();
  ScratchNtfs::Options options;
  options.clusterSize = 8192;
  ScratchNtfs volume(options);
  ASSERT_TRUE(volume.ok()) << volume.error();
  Engine engine(volume.root(), {});
  EXPECT_TRUE(engine->isSupported());
  EXPECT_EQ(engine->fileSystem(), DiskWiper::kNtfs);
  EXPECT_EQ(engine->getBytesPerSector(), 512u);
  EXPECT_EQ(engine->getClusterSize(), 8192u);
  engine->uninit();
  EXPECT_FALSE(engine->isSupported());
  EXPECT_EQ(engine->fileSystem(), nullptr);
}

// Reports another file-system name for every volume.
class RenamingFileSystem : public HookedFileSystem {
 public:
  explicit RenamingFileSystem(std::u16string name) : name_(std::move(name)) {}
  bool volumeOf(std::u16string_view path, s::os::VolumeInfo& out) override {
    if (!HookedFileSystem::volumeOf(path, out)) return false;
    out.fileSystem = name_;
    return true;
  }

 private:
  std::u16string name_;
};

// On a FAT drive the two NTFS operations do nothing even when enabled.
TEST(EngineProbe, FatDrivesSkipTheNtfsOperations) {
  VONQ_REQUIRE_SCRATCH_NTFS();
  ScratchNtfs volume;
  ASSERT_TRUE(volume.ok()) << volume.error();
  for (const char16_t* name : {u"FAT32", u"FAT"}) {
    RenamingFileSystem renaming(name);
    Installed installed(renaming);
    Engine engine(volume.root(), {DiskWiper::kMFTSpace, DiskWiper::kFileEntries});
    EXPECT_TRUE(engine->isSupported());
    EXPECT_EQ(std::u16string(engine->fileSystem()), name);
    ASSERT_TRUE(engine.runToEnd());
    EXPECT_EQ(engine.percentages(), (std::vector<int>{0, 0, 0, 0, 0}));
    EXPECT_EQ(renaming.count("open"), 0);
    EXPECT_EQ(renaming.count("volume-data"), 0);
  }
}

// A full run takes the enabled operations in their fixed order, one at a
// time, and leaves only the live files. stop(true) leaves every operation
// disabled, so that a following start runs nothing.
TEST(EngineRun, RunsEnabledOperationsInOrderOneAtATime) {
  VONQ_REQUIRE_SCRATCH_NTFS();
  ScratchNtfs volume;
  ASSERT_TRUE(volume.ok()) << volume.error();
  populate(volume);
  const LiveFiles before = snapshot(volume.mountPoint());

  HookedFileSystem hooks;
  Installed installed(hooks);
  RecordingShell shell;
  InstalledShell installedShell(shell);
  Engine engine(volume.root(), {DiskWiper::kTrashBin, DiskWiper::kDiskSpace, DiskWiper::kMFTSpace,
                                DiskWiper::kFileEntries});
  std::atomic<bool> trashPhaseSeen{false};
  shell.during = [&] { trashPhaseSeen = engine->isProcessingTrashBin(); };
  std::atomic<bool> watching{true};
  std::atomic<int> mostPhases{0};
  std::thread watcher([&] {
    while (watching) {
      const int set = engine->isProcessingTrashBin() + engine->isProcessingDiskSpace() +
                      engine->isProcessingMFTSpace() + engine->isProcessingCluterTips() +
                      engine->isProcessingFileEntries();
      if (set > mostPhases) mostPhases = set;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  });
  const bool ended = engine.runToEnd();
  watching = false;
  watcher.join();
  ASSERT_TRUE(ended);

  EXPECT_EQ(engine.percentages(), (std::vector<int>{100, 100, 100, 0, 100}));
  EXPECT_EQ(shell.calls.load(), 1);
  EXPECT_TRUE(trashPhaseSeen);
  EXPECT_LE(mostPhases.load(), 1);
  EXPECT_FALSE(engine->isProcessingFileEntries());
  const std::vector<std::string> events = hooks.events();
  auto at = [&](const std::string& prefix) {
    return std::find_if(events.begin(), events.end(),
                        [&](const std::string& e) { return e.rfind(prefix, 0) == 0; }) -
           events.begin();
  };
  // The MFT wipe's folder is made while clusters are free, before the fill
  // takes them; the fill's files are then handed to the MFT wipe.
  EXPECT_LT(at("schedule Vonq_NulmarkTMP"), at("schedule Vonq_Nulmark.tmp01"));
  EXPECT_LT(at("schedule Vonq_Nulmark.tmp01"), at("open " + std::string(215, '0')));
  EXPECT_LT(at("open " + std::string(215, '0')), static_cast<long>(events.size()));
  EXPECT_TRUE(engineLeftovers(volume.mountPoint()).empty());
  EXPECT_EQ(snapshot(volume.mountPoint()), before);
  // The shell hears last that the drive's root and free space changed.
  const auto changes = shell.changes();
  ASSERT_GE(changes.size(), 2u);
  using Change = s::os::Shell::Change;
  EXPECT_EQ(changes[changes.size() - 2], std::make_pair(Change::FolderUpdated, volume.root()));
  EXPECT_EQ(changes.back(), std::make_pair(Change::FreeSpace, volume.root()));

  const std::size_t eventsBefore = hooks.events().size();
  engine->stop(true);
  ASSERT_TRUE(engine.runToEnd(std::chrono::seconds(2)));
  EXPECT_EQ(shell.calls.load(), 1);
  EXPECT_EQ(hooks.events().size(), eventsBefore);
  EXPECT_EQ(engine.percentages(), (std::vector<int>{100, 100, 100, 0, 100}));
}

// The four operations that write to the volume, on a volume that was used:
// each reaches 100 %, nothing of the engine's is left, and the live files
// keep their data, length and write time. The Windows build runs this on the
// NTFS drive wine_ntfs_drive maps.
TEST(EngineRun, WritingOperationsLeaveOnlyTheLiveFiles) {
  VONQ_REQUIRE_SCRATCH_NTFS();
  ScratchNtfs volume;
  ASSERT_TRUE(volume.ok()) << volume.error();
  const std::string live[] = {"kept/one-byte.txt", "kept/tail.bin", "kept-at-top.txt"};
  const std::size_t sizes[] = {1, 5000, 4096};
  for (int i = 0; i < 3; ++i) {
    vonq::test::writeText(volume.path(live[i]), std::string(sizes[i], static_cast<char>('a' + i)));
  }
  for (int i = 0; i < 40; ++i) {
    vonq::test::writeText(volume.path("gone/f" + std::to_string(i)), std::string(3000, 'g'));
  }
  fs::remove_all(volume.path("gone"));
  s::os::FileTimes written[3];
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(
        s::os::fileSystem().getTimes(ScratchNtfs::nativePath(volume.path(live[i])), written[i]));
  }

  Engine engine(volume.root(), {DiskWiper::kDiskSpace, DiskWiper::kMFTSpace, DiskWiper::kCluterTips,
                                DiskWiper::kFileEntries});
  ASSERT_TRUE(engine->isSupported());
  ASSERT_TRUE(engine.runToEnd());
  EXPECT_EQ(engine.percentages(), (std::vector<int>{0, 100, 100, 100, 100}));
  EXPECT_TRUE(engineLeftovers(volume.mountPoint()).empty());
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(live[i]);
    EXPECT_EQ(vonq::test::readText(volume.path(live[i])),
              std::string(sizes[i], static_cast<char>('a' + i)));
    s::os::FileTimes now;
    ASSERT_TRUE(s::os::fileSystem().getTimes(ScratchNtfs::nativePath(volume.path(live[i])), now));
    EXPECT_EQ(now.lastWrite, written[i].lastWrite);
  }
}

}  // namespace
}  // namespace vonq::engine_test
