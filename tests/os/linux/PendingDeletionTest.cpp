#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "FsTestSupport.h"
#include "ProcessHelpers.h"
#include "os/FileSystem.h"
#include "os/linux/PendingDeletions.h"
#include "support/Env.h"
#include "support/ScratchNtfs.h"

namespace {

using s::os::linux_fs::PendingDeletions;
using vonq::test::fs::lexists;
using vonq::test::fs::readBytes;
using vonq::test::fs::TempFolder;
using vonq::test::fs::u;
using vonq::test::fs::writeBytes;

constexpr const char* kChildFlag = "VONQ_REPLAY_CHILD";

// Points the journal into a temporary folder for one test.
class JournalHome {
 public:
  explicit JournalHome(const std::string& folder) {
    const char* old = std::getenv("XDG_STATE_HOME");
    had_ = old != nullptr;
    if (had_) old_ = old;
    ::setenv("XDG_STATE_HOME", folder.c_str(), 1);
  }
  ~JournalHome() {
    if (had_) {
      ::setenv("XDG_STATE_HOME", old_.c_str(), 1);
    } else {
      ::unsetenv("XDG_STATE_HOME");
    }
  }

 private:
  bool had_ = false;
  std::string old_;
};

// Replays in a process of its own, as the next start of the program would.
int replayInAnotherProcess() {
  ::setenv(kChildFlag, "1", 1);
  const int status = vonq::test::fs::runSelf("PendingDeletionChild.DISABLED_Replay");
  ::unsetenv(kChildFlag);
  return status;
}

TEST(PendingDeletionChild, DISABLED_Replay) {
  if (std::getenv(kChildFlag) == nullptr) GTEST_SKIP() << "runs only as a child";
  s::os::fileSystem().replayScheduledDeletions();
}

std::size_t journalSize() {
  return PendingDeletions(PendingDeletions::defaultPath()).entries().size();
}

TEST(PendingDeletion, SurvivesARestartAndDeletesFilesAndFolders) {
  TempFolder temp;
  JournalHome home(temp.path("state"));
  auto& fs = s::os::fileSystem();
  const std::string hostile = temp.path("tmp01\n\xFF");
  writeBytes(hostile, "x");
  ASSERT_EQ(::mkdir(temp.path("folder").c_str(), 0755), 0);
  ASSERT_EQ(::mkdir(temp.path("folder/sub").c_str(), 0755), 0);
  writeBytes(temp.path("folder/sub/a"), "a");
  ASSERT_EQ(::symlink("/etc/hostname", temp.path("folder/link").c_str()), 0);
  writeBytes(temp.path("vanishes"), "v");
  writeBytes(temp.path("kept"), "k");

  ASSERT_TRUE(fs.scheduleDeletion(u(hostile)));
  ASSERT_TRUE(fs.scheduleDeletion(u(temp.path("folder") + "/")));
  ASSERT_TRUE(fs.scheduleDeletion(u(temp.path("vanishes"))));
  ASSERT_TRUE(fs.scheduleDeletion(u(temp.path("vanishes"))));  // once is enough
  EXPECT_FALSE(fs.scheduleDeletion(u(temp.path("never-was"))));
  ASSERT_EQ(::unlink(temp.path("vanishes").c_str()), 0);
  EXPECT_EQ(journalSize(), 3u);

  ASSERT_EQ(replayInAnotherProcess(), 0);
  EXPECT_FALSE(lexists(hostile));
  EXPECT_FALSE(lexists(temp.path("folder")));
  EXPECT_TRUE(lexists("/etc/hostname"));
  EXPECT_EQ(readBytes(temp.path("kept")), "k");
  EXPECT_EQ(journalSize(), 0u);
}

// Whatever was planted at a journalled path after it was journalled - a link
// to a precious file, a link on the way to it, another entry of the same
// name - is left alone and the entry is dropped.
TEST(PendingDeletion, NeverFollowsWhatWasPlantedAtAJournalledPath) {
  TempFolder temp;
  JournalHome home(temp.path("state"));
  auto& fs = s::os::fileSystem();
  ASSERT_EQ(::mkdir(temp.path("precious").c_str(), 0755), 0);
  writeBytes(temp.path("precious/tmp01"), "live");
  writeBytes(temp.path("precious/file"), "live");

  writeBytes(temp.path("tmp01"), "ours");
  ASSERT_EQ(::mkdir(temp.path("work").c_str(), 0755), 0);
  writeBytes(temp.path("work/tmp01"), "ours");
  ASSERT_EQ(::mkdir(temp.path("ourFolder").c_str(), 0755), 0);
  ASSERT_TRUE(fs.scheduleDeletion(u(temp.path("tmp01"))));
  ASSERT_TRUE(fs.scheduleDeletion(u(temp.path("work/tmp01"))));
  ASSERT_TRUE(fs.scheduleDeletion(u(temp.path("ourFolder"))));

  // The file itself becomes a link; its folder becomes a link; the folder
  // becomes a link to a folder.
  ASSERT_EQ(::unlink(temp.path("tmp01").c_str()), 0);
  ASSERT_EQ(::symlink(temp.path("precious/file").c_str(), temp.path("tmp01").c_str()), 0);
  ASSERT_EQ(::unlink(temp.path("work/tmp01").c_str()), 0);
  ASSERT_EQ(::rmdir(temp.path("work").c_str()), 0);
  ASSERT_EQ(::symlink(temp.path("precious").c_str(), temp.path("work").c_str()), 0);
  ASSERT_EQ(::rmdir(temp.path("ourFolder").c_str()), 0);
  ASSERT_EQ(::symlink(temp.path("precious").c_str(), temp.path("ourFolder").c_str()), 0);

  ASSERT_EQ(replayInAnotherProcess(), 0);
  EXPECT_EQ(readBytes(temp.path("precious/file")), "live");
  EXPECT_EQ(readBytes(temp.path("precious/tmp01")), "live");
  EXPECT_TRUE(lexists(temp.path("tmp01")));
  EXPECT_TRUE(lexists(temp.path("work")));
  EXPECT_TRUE(lexists(temp.path("ourFolder")));
  EXPECT_EQ(journalSize(), 0u);
}

TEST(PendingDeletion, NeverEntersAVolumeMountedAtAJournalledPath) {
  std::string reason;
  VONQ_REQUIRE_CAPABILITY(vonq::test::ScratchNtfs::capable(reason), reason);
  TempFolder temp;
  JournalHome home(temp.path("state"));
  vonq::test::ScratchNtfs volume;
  ASSERT_TRUE(volume.ok()) << volume.error();
  writeBytes(volume.path("data"), "live");
  ASSERT_TRUE(volume.unmount());
  // Journalled while it was a plain empty folder; a volume is mounted on it
  // before the next start.
  ASSERT_TRUE(s::os::fileSystem().scheduleDeletion(u(volume.mountPoint())));
  ASSERT_TRUE(volume.mount());
  ASSERT_EQ(replayInAnotherProcess(), 0);
  EXPECT_EQ(readBytes(volume.path("data")), "live");
  EXPECT_EQ(journalSize(), 0u);
}

}  // namespace
