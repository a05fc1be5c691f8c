#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <thread>

#include "FsTestSupport.h"
#include "ProcessHelpers.h"
#include "support/Env.h"
#include "support/ScratchNtfs.h"

namespace {

using vonq::test::ScratchNtfs;
using vonq::test::fs::lexists;
using vonq::test::fs::readBytes;
using vonq::test::fs::writeBytes;

bool mountedAt(const std::string& point) {
  std::ifstream in("/proc/self/mountinfo");
  std::string line;
  while (std::getline(in, line)) {
    if (line.find(" " + point + " ") != std::string::npos) return true;
  }
  return false;
}

std::string tempBase() {
  const char* t = std::getenv("TMPDIR");
  return t != nullptr && t[0] == '/' ? t : "/tmp";
}

TEST(ScratchNtfs, KeepsDataAcrossRemountAndShowsItInTheImage) {
  std::string reason;
  VONQ_REQUIRE_CAPABILITY(ScratchNtfs::capable(reason), reason);
  ScratchNtfs volume;
  ASSERT_TRUE(volume.ok()) << volume.error();
  EXPECT_TRUE(mountedAt(volume.mountPoint()));
  writeBytes(volume.path("marker"), "VONQ-MARKER-5f2c9e");
  ASSERT_TRUE(volume.remount());
  EXPECT_EQ(readBytes(volume.path("marker")), "VONQ-MARKER-5f2c9e");
  EXPECT_TRUE(volume.imageContains("VONQ-MARKER-5f2c9e"));
  EXPECT_FALSE(volume.mounted());
  EXPECT_FALSE(mountedAt(volume.mountPoint()));
  EXPECT_FALSE(volume.imageContains("VONQ-NEVER-WRITTEN"));
}

// The volume goes away when the test body throws, even while a file on it
// is still open for a moment (the unmount is retried while busy).
TEST(ScratchNtfs, IsUnmountedAndRemovedWhenATestThrows) {
  std::string reason;
  VONQ_REQUIRE_CAPABILITY(ScratchNtfs::capable(reason), reason);
  std::string point;
  std::string image;
  std::thread closer;
  try {
    ScratchNtfs volume;
    ASSERT_TRUE(volume.ok()) << volume.error();
    point = volume.mountPoint();
    image = volume.imagePath();
    const int busy = ::open(volume.path("busy").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_GE(busy, 0);
    closer = std::thread([busy] {
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      ::close(busy);
    });
    throw std::runtime_error("test body failed");
  } catch (const std::runtime_error&) {
  }
  closer.join();
  EXPECT_FALSE(mountedAt(point));
  EXPECT_FALSE(lexists(image));
}

// A run that crashed left its volume mounted; the next scratch volume made
// by anyone unmounts and removes it.
TEST(ScratchNtfs, CleansVolumesOfCrashedRuns) {
  std::string reason;
  VONQ_REQUIRE_CAPABILITY(ScratchNtfs::capable(reason), reason);
  const pid_t dead = ::fork();
  if (dead == 0) ::_exit(0);
  ASSERT_EQ(::waitpid(dead, nullptr, 0), dead);

  // Made under our own (live) name, then renamed to pose as the volume of
  // the dead process just before it is mounted the way ntfs-3g normally runs
  // (in the background, not our child): other runs clean dead ones at once.
  const std::string base = tempBase() + "/vonq-scratch-ntfs-";
  const std::string prepared = base + std::to_string(::getpid()) + "-prepared";
  const std::string folder = base + std::to_string(dead) + "-stale";
  {
    ScratchNtfs donor;
    ASSERT_TRUE(donor.ok()) << donor.error();
    ASSERT_TRUE(donor.unmount());
    ASSERT_EQ(::mkdir(prepared.c_str(), 0700), 0);
    ASSERT_EQ(::mkdir((prepared + "/mnt").c_str(), 0700), 0);
    ASSERT_EQ(::rename(donor.imagePath().c_str(), (prepared + "/volume.img").c_str()), 0);
  }
  ASSERT_EQ(::rename(prepared.c_str(), folder.c_str()), 0);
  const std::string log = folder + ".log";
  const std::string command =
      "ntfs-3g " + folder + "/volume.img " + folder + "/mnt >" + log + " 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << readBytes(log);
  ::unlink(log.c_str());
  ASSERT_TRUE(mountedAt(folder + "/mnt"));

  ScratchNtfs::cleanStale();
  EXPECT_FALSE(mountedAt(folder + "/mnt"));
  EXPECT_FALSE(lexists(folder));
}

}  // namespace
