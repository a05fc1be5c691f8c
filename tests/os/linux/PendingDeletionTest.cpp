#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>

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

// Runs `work` in a child process and waits for its end, as a run of the
// program that scheduled deletions and then died would. Whether `work`
// returned true.
bool inEndedProcess(const std::function<bool()>& work) {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(work() ? 0 : 1);
  int status = 0;
  return ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
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

  ASSERT_TRUE(inEndedProcess([&] {
    return fs.scheduleDeletion(u(hostile)) && fs.scheduleDeletion(u(temp.path("folder") + "/")) &&
           fs.scheduleDeletion(u(temp.path("vanishes"))) &&
           fs.scheduleDeletion(u(temp.path("vanishes"))) &&  // once is enough
           !fs.scheduleDeletion(u(temp.path("never-was")));
  }));
  ASSERT_EQ(::unlink(temp.path("vanishes").c_str()), 0);
  EXPECT_EQ(journalSize(), 3u);

  ASSERT_EQ(replayInAnotherProcess(), 0);
  EXPECT_FALSE(lexists(hostile));
  EXPECT_FALSE(lexists(temp.path("folder")));
  EXPECT_TRUE(lexists("/etc/hostname"));
  EXPECT_EQ(readBytes(temp.path("kept")), "k");
  EXPECT_EQ(journalSize(), 0u);
}

// Files journalled before they are made: the next start deletes those that
// are empty plain files and leaves anything else found under such a name (a
// file holding data, a link, a folder); names never made are dropped.
TEST(PendingDeletion, NewFilesAreDeletedOnlyWhileEmptyPlainFiles) {
  TempFolder temp;
  JournalHome home(temp.path("state"));
  auto& fs = s::os::fileSystem();
  const std::vector<std::string> names = {"made-empty", "made-with-data", "a-link", "a-folder",
                                          "never-made"};
  std::vector<std::u16string> paths;
  for (const std::string& name : names) paths.push_back(u(temp.path(name)));
  ASSERT_TRUE(inEndedProcess([&] {
    if (!fs.scheduleNewFiles(paths)) return false;
    writeBytes(temp.path("made-empty"), "");
    writeBytes(temp.path("made-with-data"), "precious");
    return ::symlink(temp.path("made-with-data").c_str(), temp.path("a-link").c_str()) == 0 &&
           ::mkdir(temp.path("a-folder").c_str(), 0755) == 0;
  }));
  EXPECT_EQ(journalSize(), names.size());

  ASSERT_EQ(replayInAnotherProcess(), 0);
  EXPECT_FALSE(lexists(temp.path("made-empty")));
  EXPECT_EQ(readBytes(temp.path("made-with-data")), "precious");
  EXPECT_TRUE(lexists(temp.path("a-link")));
  EXPECT_TRUE(lexists(temp.path("a-folder")));
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
  ASSERT_TRUE(inEndedProcess([&] {
    return fs.scheduleDeletion(u(temp.path("tmp01"))) &&
           fs.scheduleDeletion(u(temp.path("work/tmp01"))) &&
           fs.scheduleDeletion(u(temp.path("ourFolder")));
  }));

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
  ASSERT_TRUE(
      inEndedProcess([&] { return s::os::fileSystem().scheduleDeletion(u(volume.mountPoint())); }));
  ASSERT_TRUE(volume.mount());
  ASSERT_EQ(replayInAnotherProcess(), 0);
  EXPECT_EQ(readBytes(volume.path("data")), "live");
  EXPECT_EQ(journalSize(), 0u);
}

// A journal belongs to the processes that wrote it: while a writer runs,
// nobody else deletes its entries (another window or command-line run
// starting meanwhile replays only what ended runs left), and the writer
// itself drops the records of what it removed.
TEST(PendingDeletion, ReplaysOnlyWhatEndedWritersLeftAndDropsWhatTheWriterRemoved) {
  TempFolder temp;
  JournalHome home(temp.path("state"));
  auto& fs = s::os::fileSystem();
  for (const char* name : {"running", "removed", "ended", "older"}) {
    writeBytes(temp.path(name), name);
  }
  // This process is a writer that is still running.
  ASSERT_TRUE(fs.scheduleDeletion(u(temp.path("running"))));
  ASSERT_TRUE(fs.scheduleDeletion(u(temp.path("removed"))));
  ASSERT_TRUE(inEndedProcess([&] { return fs.scheduleDeletion(u(temp.path("ended"))); }));
  // A line of an older version names no writer.
  const std::string journal = PendingDeletions::defaultPath();
  struct stat st {};
  ASSERT_EQ(::lstat(temp.path("older").c_str(), &st), 0);
  const std::string older = "F " + std::to_string(st.st_ino) + " " + temp.path("older") + "\n";
  writeBytes(journal, readBytes(journal) + older);
  ASSERT_EQ(journalSize(), 4u);

  ASSERT_EQ(replayInAnotherProcess(), 0);
  EXPECT_EQ(readBytes(temp.path("running")), "running");
  EXPECT_EQ(readBytes(temp.path("removed")), "removed");
  EXPECT_FALSE(lexists(temp.path("ended")));
  EXPECT_FALSE(lexists(temp.path("older")));
  EXPECT_EQ(journalSize(), 2u);

  // The writer removes one of its entries itself and drops its record; the
  // other record stays while its entry exists.
  ASSERT_EQ(::unlink(temp.path("removed").c_str()), 0);
  EXPECT_EQ(fs.forgetFinishedDeletions(), 1u);
  EXPECT_EQ(journalSize(), 1u);
  EXPECT_EQ(readBytes(temp.path("running")), "running");
  // Another process never drops this writer's records.
  ASSERT_EQ(::unlink(temp.path("running").c_str()), 0);
  EXPECT_TRUE(inEndedProcess([&] { return fs.forgetFinishedDeletions() == 0; }));
  EXPECT_EQ(journalSize(), 1u);
  EXPECT_EQ(fs.forgetFinishedDeletions(), 1u);
  EXPECT_EQ(journalSize(), 0u);
}

}  // namespace
