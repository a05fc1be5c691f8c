#include <gtest/gtest.h>

#include "FsTestSupport.h"
#include "os/FileSystem.h"
#include "support/FaultyFileSystem.h"

namespace {

using s::os::FsError;
using s::os::OpenMode;
using vonq::test::FaultyFileSystem;
using vonq::test::fs::readBytes;
using vonq::test::fs::TempFolder;
using vonq::test::fs::u;

std::unique_ptr<s::os::File> create(const std::string& path) {
  return s::os::fileSystem().openFile(
      u(path), OpenMode::make(OpenMode::Access::ReadWrite, OpenMode::Disposition::CreateNew));
}

TEST(FaultyFileSystem, FillsUpAfterTheGivenNumberOfBytes) {
  TempFolder temp;
  FaultyFileSystem faulty;
  faulty.failWritesAfter(10000);
  FaultyFileSystem::Installed installed(faulty);
  auto file = create(temp.path("f"));
  ASSERT_NE(file, nullptr);
  const std::string block(4096, 'b');
  std::size_t done = 0;
  EXPECT_TRUE(file->write(block.data(), block.size(), done));
  EXPECT_TRUE(file->write(block.data(), block.size(), done));
  EXPECT_FALSE(file->write(block.data(), block.size(), done));
  EXPECT_EQ(s::os::lastFsError(), FsError::NoSpace);
  EXPECT_EQ(done, 10000u - 8192u);
  EXPECT_FALSE(file->write(block.data(), 1, done));
  EXPECT_EQ(done, 0u);
  EXPECT_FALSE(file->setEndOfFile(1 << 20));
  EXPECT_EQ(s::os::lastFsError(), FsError::NoSpace);
  file.reset();
  EXPECT_EQ(readBytes(temp.path("f")).size(), 10000u);
  EXPECT_EQ(faulty.bytesWritten(), 10000u);
}

TEST(FaultyFileSystem, InjectsIoErrorsFailedMovesAndVolumeQueries) {
  TempFolder temp;
  FaultyFileSystem faulty;
  {
    FaultyFileSystem::Installed installed(faulty);
    auto& fs = s::os::fileSystem();
    auto file = create(temp.path("f"));
    ASSERT_NE(file, nullptr);
    std::size_t done = 0;
    faulty.failWritesWithIo(true);
    EXPECT_FALSE(file->write("x", 1, done));
    EXPECT_EQ(s::os::lastFsError(), FsError::Io);
    EXPECT_FALSE(file->flush());
    faulty.failWritesWithIo(false);
    EXPECT_TRUE(file->write("x", 1, done));
    file.reset();

    faulty.failMoves(true);
    EXPECT_FALSE(fs.move(u(temp.path("f")), u(temp.path("g")), false));
    EXPECT_EQ(s::os::lastFsError(), FsError::AccessDenied);
    EXPECT_TRUE(vonq::test::fs::lexists(temp.path("f")));

    EXPECT_NE(fs.freeBytes(u(temp.path())), 0u);
    faulty.failVolumeQueries(true);
    s::os::VolumeInfo info;
    EXPECT_EQ(fs.freeBytes(u(temp.path())), 0u);
    EXPECT_FALSE(fs.volumeOf(u(temp.path()), info));
    EXPECT_TRUE(fs.listVolumes().empty());
  }
  // Uninstalled: the platform's own serves again.
  EXPECT_EQ(&s::os::fileSystem(), &s::os::platformFileSystem());
  EXPECT_TRUE(s::os::fileSystem().move(u(temp.path("f")), u(temp.path("g")), false));
}

}  // namespace
