#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <atomic>

#include "PlaceFixture.h"
#include "os/FileSystem.h"

namespace {

using s::os::FsError;
using s::os::OpenMode;
using vonq::test::fs::Place;
using vonq::test::fs::PlaceTest;
using vonq::test::fs::readBytes;
using vonq::test::fs::u;

struct Sizing {
  Place place;
  bool unbuffered;
};

class SetEndOfFile : public vonq::test::fs::PlaceTestOf<Sizing> {
 protected:
  Place placeOf(const Sizing& sizing) const override { return sizing.place; }
};

std::uint64_t allocated(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 ? static_cast<std::uint64_t>(st.st_blocks) * 512 : 0;
}

std::uint64_t freeBytes(const std::string& dir) {
  struct statvfs sv {};
  return ::statvfs(dir.c_str(), &sv) == 0 ? sv.f_bfree * sv.f_frsize : 0;
}

std::string pattern() {
  std::string data(5000, '\0');
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7 + 1);
  return data;
}

// A new file holding the pattern, opened as the parameter says.
std::unique_ptr<s::os::File> fileWithPattern(const std::string& path, bool unbuffered) {
  OpenMode mode = OpenMode::make(OpenMode::Access::ReadWrite, OpenMode::Disposition::CreateNew);
  mode.unbuffered = unbuffered;
  auto file = s::os::fileSystem().openFile(u(path), mode);
  const std::string data = pattern();
  std::size_t done = 0;
  if (!file || !file->write(data.data(), data.size(), done) || !file->flush()) return nullptr;
  return file;
}

// The file is `length` long, starts with the pattern and is zeros after it.
void expectGrownPattern(const std::string& path, std::uint64_t length) {
  const std::string data = pattern();
  const std::string grown = readBytes(path);
  ASSERT_EQ(grown.size(), length);
  EXPECT_EQ(grown.substr(0, data.size()), data);
  EXPECT_EQ(grown.find_first_not_of('\0', data.size()), std::string::npos);
}

// A file with 5000 bytes of data grows to just over 8 MiB: the new range is
// really allocated (no sparse hole), reads as zeros, the old data is intact,
// and shrinking back gives the original file.
TEST_P(SetEndOfFile, GrowingAllocatesAndKeepsTheData) {
  const std::string path = at("grow");
  auto file = fileWithPattern(path, GetParam().unbuffered);
  ASSERT_NE(file, nullptr);
  const std::uint64_t kept = pattern().size();

  const std::uint64_t length = (8u << 20) + 123;
  const std::uint64_t freeBefore = freeBytes(dir_);
  ASSERT_TRUE(file->setEndOfFile(length));
  EXPECT_EQ(file->position(), kept);
  std::uint64_t size = 0;
  ASSERT_TRUE(file->size(size));
  EXPECT_EQ(size, length);
  EXPECT_GE(allocated(path), length);
  if (onNtfs()) {
    // Only the scratch volume is quiet enough to measure its free space.
    EXPECT_GE(freeBefore - freeBytes(dir_), length - kept - 4096);
  }
  expectGrownPattern(path, length);

  ASSERT_TRUE(file->setEndOfFile(kept));
  file.reset();
  EXPECT_EQ(readBytes(path), pattern());
}

// Growing lazily gives the same file (the space may come later), and
// writing the added range after it, unbuffered or not, gives the data.
TEST_P(SetEndOfFile, GrowingLazilyKeepsTheDataAndTakesWrites) {
  const std::string path = at("lazy");
  auto file = fileWithPattern(path, GetParam().unbuffered);
  ASSERT_NE(file, nullptr);
  const std::uint64_t kept = pattern().size();
  const std::uint64_t length = 3u << 20;
  ASSERT_TRUE(file->setEndOfFileLazily(length));
  EXPECT_EQ(file->position(), kept);
  expectGrownPattern(path, length);

  const std::string tail(1u << 20, 'T');
  std::size_t done = 0;
  ASSERT_TRUE(file->seek(length - tail.size()));
  ASSERT_TRUE(file->write(tail.data(), tail.size(), done));
  ASSERT_TRUE(file->flush());
  file.reset();
  const std::string written = readBytes(path);
  ASSERT_EQ(written.size(), length);
  EXPECT_EQ(written.substr(length - tail.size()), tail);
  EXPECT_EQ(written.substr(0, kept), pattern());
}

// Reserving more than the volume holds takes what it has and keeps it (no
// sparse tail, the old data intact); a stop request between steps ends the
// growth early, keeping what was taken. On a roomy place the whole growth
// succeeds.
TEST_P(SetEndOfFile, ReserveKeepsWhatItTookWhenTheVolumeFillsOrItIsStopped) {
  const std::string path = at("reserve");
  auto file = fileWithPattern(path, GetParam().unbuffered);
  ASSERT_NE(file, nullptr);
  std::uint64_t reached = 0;
  if (!onNtfs()) {
    ASSERT_TRUE(file->reserve(9u << 20, nullptr, reached));
    EXPECT_EQ(reached, 9u << 20);
    expectGrownPattern(path, reached);
    return;
  }
  const std::uint64_t freeBefore = freeBytes(dir_);
  s::os::setLastFsError(FsError::None);
  EXPECT_FALSE(file->reserve(freeBefore * 4, nullptr, reached));
  EXPECT_EQ(s::os::lastFsError(), FsError::NoSpace);
  EXPECT_GE(reached + (1u << 20), freeBefore) << "it took (nearly) all there was";
  EXPECT_GE(allocated(path), reached);
  expectGrownPattern(path, reached);

  ASSERT_TRUE(file->setEndOfFile(pattern().size()));
  std::atomic<std::uint8_t> stop{1};
  EXPECT_FALSE(file->reserve(freeBefore / 2, &stop, reached));
  EXPECT_LT(reached, freeBefore / 2);
  EXPECT_GE(allocated(path), reached);
  expectGrownPattern(path, reached);
}

INSTANTIATE_TEST_SUITE_P(
    Places, SetEndOfFile,
    ::testing::Values(Sizing{Place::TempFolder, false}, Sizing{Place::TempFolder, true},
                      Sizing{Place::ScratchNtfs, false}, Sizing{Place::ScratchNtfs, true}),
    [](const auto& info) {
      return std::string(info.param.place == Place::TempFolder ? "TempFolder" : "ScratchNtfs") +
             (info.param.unbuffered ? "Unbuffered" : "Buffered");
    });

// Asking for more than the volume holds fails with NoSpace and leaves the
// file as it was, with nothing of the volume kept.
TEST(SetEndOfFileOnAFullVolume, FailsAndKeepsTheOldLength) {
  std::string reason;
  VONQ_REQUIRE_CAPABILITY(vonq::test::ScratchNtfs::capable(reason), reason);
  vonq::test::ScratchNtfs volume;
  ASSERT_TRUE(volume.ok()) << volume.error();
  const std::string path = volume.path("big");
  OpenMode mode = OpenMode::make(OpenMode::Access::ReadWrite, OpenMode::Disposition::CreateNew);
  mode.unbuffered = true;
  auto file = s::os::fileSystem().openFile(u(path), mode);
  ASSERT_NE(file, nullptr);
  std::size_t done = 0;
  ASSERT_TRUE(file->write("keep", 4, done));
  const std::uint64_t freeBefore = freeBytes(volume.mountPoint());
  EXPECT_FALSE(file->setEndOfFile(200ull << 20));
  EXPECT_EQ(s::os::lastFsError(), FsError::NoSpace);
  std::uint64_t size = 0;
  ASSERT_TRUE(file->size(size));
  EXPECT_EQ(size, 4u);
  EXPECT_GE(freeBytes(volume.mountPoint()) + 8192, freeBefore);
  file.reset();
  EXPECT_EQ(readBytes(path), "keep");
}

}  // namespace
