#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "EngineFixture.h"
#include "file/TempFolder.h"
#include "file/wiper/win/LargeTempFiles.h"
#include "file/wiper/win/MftSpaceFill.h"
#include "os/FileSystem.h"

namespace vonq::engine_test {
namespace {

using s::file::wiper::Shortfall;
using vonq::test::ScratchNtfs;

std::string contentOf(int n) {
  std::string data(256 * 1024, '\0');
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>((i * 31 + n) & 0xFF);
  return data;
}

// Writes `data` to `path` and syncs it; true only when every byte reached
// the volume and the file was closed cleanly (a full volume ends it false).
bool writeWhole(const std::string& path, const std::string& data) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) return false;
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  const bool synced = done == data.size() && ::fsync(fd) == 0;
  return ::close(fd) == 0 && synced;
}

std::uint64_t sizeOf(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
}

// Another program writes files while the free space is being filled: the
// run still ends complete (the volume being full sooner is the job done),
// and every file the other program wrote whole is intact afterwards.
TEST(Contention, AnotherProgramWritingDuringTheFillNeitherFailsTheRunNorLosesItsData) {
  VONQ_REQUIRE_SCRATCH_NTFS();
  ScratchNtfs volume(ScratchNtfs::Options::ofSize(160ull << 20));
  ASSERT_TRUE(volume.ok()) << volume.error();
  populate(volume);
  const LiveFiles before = snapshot(volume.mountPoint());
  std::filesystem::create_directory(volume.path("other"));

  Engine engine(volume.root(), {DiskWiper::kDiskSpace, DiskWiper::kMFTSpace});
  std::vector<int> whole;
  std::atomic<bool> started{false};
  std::thread other([&] {
    while (!started.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    for (int n = 0; engine->isRunning(); ++n) {
      if (writeWhole(volume.path("other/f" + std::to_string(n)), contentOf(n))) whole.push_back(n);
    }
  });
  ASSERT_TRUE(engine->start());
  started = true;
  const bool ended = waitUntil([&] { return !engine->isRunning(); }, std::chrono::minutes(3));
  other.join();
  ASSERT_TRUE(ended);
  EXPECT_EQ(engine->outcome(), DiskWiper::Outcome::Complete)
      << "free space " << engine->getProgressDiskSpace() << "%, MFT "
      << engine->getProgressMFTSpace() << "%";
  ASSERT_FALSE(whole.empty()) << "the other program wrote nothing during the run";
  for (const int n : whole) {
    EXPECT_EQ(vonq::test::readText(volume.path("other/f" + std::to_string(n))), contentOf(n)) << n;
  }
  std::filesystem::remove_all(volume.path("other"));
  EXPECT_EQ(snapshot(volume.mountPoint()), before);
  EXPECT_TRUE(engineLeftovers(volume.mountPoint()).empty());
}

// Should the large files vanish under the run while it fills the MFT's free
// records (as a second start replaying a journal once did), the small files
// stop when the free records are used instead of filling the volume and
// growing the MFT for good.
TEST(Contention, SmallFilesStopWhenTheFreeRecordsAreUsedEvenIfTheLargeFilesVanish) {
  VONQ_REQUIRE_SCRATCH_NTFS();
  ScratchNtfs volume(ScratchNtfs::Options::ofSize(256ull << 20));
  ASSERT_TRUE(volume.ok()) << volume.error();
  populate(volume);
  s::os::NtfsVolumeData start;
  ASSERT_TRUE(s::os::fileSystem().ntfsVolumeData(volume.root(), start));

  Engine engine(volume.root(), {DiskWiper::kMFTSpace});
  ASSERT_TRUE(engine->start());
  const std::string folder = volume.path("Vonq_NulmarkTMP");
  const auto smallFiles = [&] {
    int count = 0;
    std::error_code ignored;
    for (const auto& e : std::filesystem::directory_iterator(folder, ignored)) {
      if (isSmallFileName(e.path().filename().string())) ++count;
    }
    return count;
  };
  ASSERT_TRUE(waitUntil([&] { return smallFiles() >= 4; }, std::chrono::minutes(2)));
  ASSERT_GT(sizeOf(volume.path("Vonq_Nulmark.tmp01")) + sizeOf(volume.path("Vonq_Nulmark.tmp02")),
            0u);
  std::filesystem::remove(volume.path("Vonq_Nulmark.tmp01"));
  std::filesystem::remove(volume.path("Vonq_Nulmark.tmp02"));
  ASSERT_TRUE(waitUntil([&] { return !engine->isRunning(); }, std::chrono::minutes(2)));

  s::os::NtfsVolumeData after;
  ASSERT_TRUE(s::os::fileSystem().ntfsVolumeData(volume.root(), after));
  EXPECT_LE(after.mftAllocatedLength, start.mftAllocatedLength + (1u << 20))
      << "the MFT grew for good";
  EXPECT_LE(engine->report(DiskWiper::kMFTSpace).recordsFilled,
            start.mftFreeRecords + 2 * s::file::wiper::win::MftSpaceFill::kRecordSlack);
  EXPECT_TRUE(engineLeftovers(volume.mountPoint()).empty());
}

// Cancelling while the MFT wipe sizes its large files (which ntfs-3g can
// only do by writing) ends the growth at its next step: the run ends within
// stop's wait, counts as cancelled and leaves nothing behind.
TEST(Contention, CancelWhileTheMftWipeSizesItsFilesEndsPromptly) {
  VONQ_REQUIRE_SCRATCH_NTFS();
  ScratchNtfs volume(ScratchNtfs::Options::ofSize(1ull << 30));
  ASSERT_TRUE(volume.ok()) << volume.error();
  Engine engine(volume.root(), {DiskWiper::kMFTSpace});
  ASSERT_TRUE(engine->start());
  const std::string first = volume.path("Vonq_Nulmark.tmp01");
  ASSERT_TRUE(waitUntil([&] { return sizeOf(first) > 0; }, std::chrono::minutes(2)));
  const std::uint64_t sizeAtStop = sizeOf(first);
  engine->stop(true);
  EXPECT_FALSE(engine->isRunning()) << "the run did not end within stop's wait";
  EXPECT_LT(sizeAtStop, 2 * s::file::wiper::win::LargeTempFiles::kStepSize)
      << "the sizing was over before the stop";
  EXPECT_EQ(engine->outcome(), DiskWiper::Outcome::Cancelled);
  EXPECT_EQ(engine->report(DiskWiper::kMFTSpace).shortfall, Shortfall::Cancelled);
  EXPECT_LT(engine->getProgressMFTSpace(), 100);
  EXPECT_TRUE(engineLeftovers(volume.mountPoint()).empty());
}

}  // namespace
}  // namespace vonq::engine_test
