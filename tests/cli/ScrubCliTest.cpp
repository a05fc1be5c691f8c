#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <thread>

#include "ScrubProcess.h"
#include "file/TempFolder.h"
#include "support/Env.h"
#include "support/RawNtfs.h"
#include "support/ScratchNtfs.h"

namespace vonq::cli_test {
namespace {

using vonq::test::ScratchNtfs;

#define VONQ_REQUIRE_NTFS()                                            \
  do {                                                                 \
    std::string reason_;                                               \
    const bool capable_ = ::vonq::test::ScratchNtfs::capable(reason_); \
    VONQ_REQUIRE_CAPABILITY(capable_, reason_);                        \
  } while (0)

namespace fs = std::filesystem;

bool has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// Entries the engine names its temporary files and folders with.
std::vector<std::string> leftovers(const std::string& mount) {
  std::vector<std::string> found;
  for (const auto& e : std::filesystem::directory_iterator(mount)) {
    const std::string name = e.path().filename().string();
    if (name.rfind("Vonq_Nulmark", 0) == 0) found.push_back(name);
  }
  return found;
}

// Runs vonq-scrub with `args` and a fresh tmpfs mount point after them.
// False when no tmpfs can be mounted here (needs root).
bool runOnTmpfs(std::vector<std::string> args, Finished& out) {
  vonq::test::TempFolder folder;
  if (::mount("tmpfs", folder.root().c_str(), "tmpfs", 0, "size=1m") != 0) return false;
  args.push_back(folder.root());
  out = runScrub(args);
  ::umount2(folder.root().c_str(), MNT_DETACH);
  return true;
}

// Runs vonq-scrub with `args` as the user nobody, after making the image of
// `volume` readable by root only (its mount stays open to everyone).
Finished runAsNobodyOnUnreadableImage(const ScratchNtfs& volume,
                                      const std::vector<std::string>& args) {
  const fs::path image(volume.imagePath());
  fs::permissions(image, fs::perms::owner_read | fs::perms::owner_write);
  fs::permissions(image.parent_path(),
                  fs::perms::owner_all | fs::perms::others_exec | fs::perms::group_exec);
  vonq::test::TempFolder state;
  fs::permissions(state.root(), fs::perms::all);
  constexpr int kNobody = 65534;
  return runScrub(args, "", state.root(), kNobody);
}

TEST(ScrubCli, RefusesBadCommandLinesAndUnusableMountPointsWithStatus4) {
  vonq::test::TempFolder folder;
  vonq::test::writeText(folder.at("file"), "x");
  struct Case {
    std::vector<std::string> args;
    const char* says;
  };
  const Case cases[] = {
      {{"--bogus", "/"}, "unknown option --bogus"},
      {{}, "no mount point given"},
      {{"/a", "/b"}, "only one mount point"},
      {{"--list", "/"}, "--list takes no other arguments"},
      {{"--audit", "--yes", "/"}, "--audit takes only --verbose and a mount point"},
      {{"--audit", "--mft", "/"}, "--audit takes only --verbose and a mount point"},
      {{"--audit"}, "no mount point given"},
      {{"--audit", folder.root()}, "is not the mount point of a volume"},
      {{"--yes", folder.at("missing")}, "does not exist"},
      {{"--yes", folder.at("file")}, "is not a folder"},
      {{"--yes", folder.root()}, "is not the mount point of a volume"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.says);
    const Finished f = runScrub(c.args);
    EXPECT_EQ(f.exitCode, 4);
    EXPECT_TRUE(has(f.err, c.says)) << f.err;
  }
  const Finished help = runScrub({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_TRUE(has(help.out, "Usage: vonq-scrub")) << help.out;
}

TEST(ScrubCli, EndsWithStatus3OnAVolumeOfAnotherFileSystem) {
  Finished f;
  const bool mounted = runOnTmpfs({"--yes"}, f);
  VONQ_REQUIRE_CAPABILITY(mounted, "cannot mount a tmpfs (needs root)");
  EXPECT_EQ(f.exitCode, 3);
  EXPECT_TRUE(has(f.out, "This drive type is curretly not supported.")) << f.out;
}

TEST(ScrubCli, RefusesAReadOnlyVolume) {
  VONQ_REQUIRE_NTFS();
  ScratchNtfs::Options options;
  options.mountOptions = "ro";
  ScratchNtfs volume(options);
  ASSERT_TRUE(volume.ok()) << volume.error();
  const Finished f = runScrub({"--yes", volume.mountPoint()});
  EXPECT_EQ(f.exitCode, 4);
  EXPECT_TRUE(has(f.err, "read-only")) << f.err;
}

// The question, its answers, the list, and the end message of a finished run.
TEST(ScrubCli, AsksFirstAndRunsOnlyAfterYes) {
  VONQ_REQUIRE_NTFS();
  ScratchNtfs volume;
  ASSERT_TRUE(volume.ok()) << volume.error();
  const Finished listed = runScrub({"--list"});
  EXPECT_EQ(listed.exitCode, 0);
  EXPECT_TRUE(has(listed.out, volume.mountPoint() + "/")) << listed.out;

  const Finished no = runScrub({"--cluster-tips", volume.mountPoint()}, "n\n");
  EXPECT_EQ(no.exitCode, 2);
  EXPECT_TRUE(has(no.out,
                  "Are you sure you want to execute the selected operation(s) on the "
                  "drive [ " +
                      volume.mountPoint() + "/ ] ?"))
      << no.out;
  EXPECT_TRUE(has(no.out, "Nothing was done.")) << no.out;
  EXPECT_FALSE(has(no.out, "4. Cluster tips")) << no.out;

  // The recycle bin without the free space asks a second time.
  const Finished second = runScrub({"--recycle-bin", volume.mountPoint()}, "y\nn\n");
  EXPECT_EQ(second.exitCode, 2);
  EXPECT_TRUE(has(second.out, "Are you sure to proceed?")) << second.out;

  const Finished yes = runScrub({"--cluster-tips", volume.mountPoint()}, "yes\n");
  EXPECT_EQ(yes.exitCode, 0);
  EXPECT_TRUE(has(yes.out, "4. Cluster tips")) << yes.out;
  EXPECT_TRUE(has(yes.out, "100%")) << yes.out;
  EXPECT_TRUE(has(yes.out, "Operation Complete!")) << yes.out;
}

// The file-name wipe alone leaves no name of a deleted file in the MFT, as a
// user runs it: files made and deleted by another program just before.
TEST(ScrubCli, FileNamesAloneLeaveNoDeletedNameInTheMft) {
  VONQ_REQUIRE_NTFS();
  ScratchNtfs volume(ScratchNtfs::Options::ofSize(128ull << 20));
  ASSERT_TRUE(volume.ok()) << volume.error();
  std::filesystem::create_directories(volume.path("gone"));
  for (int i = 0; i < 300; ++i) {
    std::ofstream(volume.path("gone/vanished-name-" + std::to_string(i))) << "x";
  }
  ::sync();
  std::filesystem::remove_all(volume.path("gone"));

  const Finished f = runScrub({"--yes", "--file-names", volume.mountPoint()});
  EXPECT_EQ(f.exitCode, 0) << f.out << f.err;
  std::string image;
  ASSERT_TRUE(volume.readImage(image));
  // Its own name shows that the MFT is searched.
  const std::string mft = vonq::test::mftOf(image);
  EXPECT_NE(mft.find(vonq::test::utf16le("$MFT")), std::string::npos);
  const std::string name = vonq::test::utf16le("vanished-name-");
  EXPECT_EQ(mft.find(name), std::string::npos);
}

// Without a place for the cluster-tip journal no file may be extended: the
// run says why, touches nothing and does not end as complete.
TEST(ScrubCli, ClusterTipsWithoutAJournalEndIncompleteAndTouchNothing) {
  VONQ_REQUIRE_NTFS();
  ScratchNtfs volume;
  ASSERT_TRUE(volume.ok()) << volume.error();
  const std::string data(5000, 'L');
  std::ofstream(volume.path("live.bin"), std::ios::binary) << data;
  std::ofstream(volume.path("deleted.bin"), std::ios::binary) << std::string(8192, 'D');
  ::sync();
  std::filesystem::remove(volume.path("deleted.bin"));
  vonq::test::TempFolder temp;
  std::ofstream(temp.at("plain-file")) << "not a folder";

  // No state folder can be made below a plain file, not even by root.
  const Finished f =
      runScrub({"--yes", "--cluster-tips", volume.mountPoint()}, "", temp.at("plain-file/state"));
  EXPECT_EQ(f.exitCode, 1);
  EXPECT_TRUE(has(f.err, "cluster tips will not be wiped")) << f.err;
  // Nothing was cancelled: the run names the operation and why it fell short.
  EXPECT_FALSE(has(f.out, "Some operation has been canceled.")) << f.out;
  EXPECT_TRUE(has(f.out, "Some operation could not do all its work:")) << f.out;
  EXPECT_TRUE(has(f.out, "4. Cluster tips: its journal cannot be kept")) << f.out;
  std::ifstream in(volume.path("live.bin"), std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), data);
}

// Ctrl-C in the middle of the free-space fill stops the engine, which
// removes its temporary files, and the run ends as cancelled.
TEST(ScrubCli, CtrlCCancelsCleanlyWithStatus2) {
  VONQ_REQUIRE_NTFS();
  ScratchNtfs volume(ScratchNtfs::Options::ofSize(1ull << 30));
  ASSERT_TRUE(volume.ok()) << volume.error();
  vonq::test::TempFolder state;
  Running run({"--yes", "--free-space", volume.mountPoint()}, state.root());
  ASSERT_TRUE(run.waitForOutput("[###", 60)) << run.out();
  run.signal(SIGINT);
  EXPECT_EQ(run.wait(), 2);
  EXPECT_TRUE(has(run.out(), "Some operation has been canceled.")) << run.out();
  EXPECT_TRUE(leftovers(volume.mountPoint()).empty());
}

// A user who may write the volume but not read its device: the file system
// cannot be told, and the tool says so and that root is needed - not that
// the drive type is unsupported.
TEST(ScrubCli, DeviceThatCannotBeReadSaysRootIsNeeded) {
  VONQ_REQUIRE_NTFS();
  ScratchNtfs::Options options;
  options.mountOptions = "umask=0";
  ScratchNtfs volume(options);
  ASSERT_TRUE(volume.ok()) << volume.error();
  const Finished f =
      runAsNobodyOnUnreadableImage(volume, {"--yes", "--free-space", volume.mountPoint()});
  EXPECT_EQ(f.exitCode, 3) << f.out << f.err;
  EXPECT_TRUE(has(f.out, "cannot be read by this user")) << f.out;
  EXPECT_TRUE(has(f.out, "(root)")) << f.out;
  EXPECT_FALSE(has(f.out, "not supported")) << f.out;
}

// The audit reads the volume and leaves it as it was: the image is the
// same byte for byte afterwards. With --verbose it names what it found.
// Another file system, or a device this user cannot read, ends with 3.
TEST(ScrubCli, AuditNamesDeletedFilesAndChangesNothing) {
  VONQ_REQUIRE_NTFS();
  ScratchNtfs::Options options;
  options.mountOptions = "umask=0";
  ScratchNtfs volume(options);
  ASSERT_TRUE(volume.ok()) << volume.error();
  std::ofstream(volume.path("vonqcli-deleted-name.txt")) << "a resident secret";
  ::sync();
  fs::remove(volume.path("vonqcli-deleted-name.txt"));
  std::string imageBefore;
  ASSERT_TRUE(volume.readImage(imageBefore));
  ASSERT_TRUE(volume.mount());

  const Finished f = runScrub({"--audit", "--verbose", volume.mountPoint()});
  EXPECT_EQ(f.exitCode, 0) << f.out << f.err;
  EXPECT_TRUE(has(f.out, "asked to write its data to the device first")) << f.out;
  EXPECT_TRUE(has(f.out, "free MFT records still holding a file name           1")) << f.out;
  EXPECT_TRUE(has(f.out, "    vonqcli-deleted-name.txt\n")) << f.out;
  std::string imageAfter;
  ASSERT_TRUE(volume.readImage(imageAfter));
  EXPECT_TRUE(imageAfter == imageBefore);
  ASSERT_TRUE(volume.mount());

  const Finished nobody = runAsNobodyOnUnreadableImage(volume, {"--audit", volume.mountPoint()});
  EXPECT_EQ(nobody.exitCode, 3) << nobody.out << nobody.err;
  EXPECT_TRUE(has(nobody.err, "cannot be read by this user")) << nobody.err;

  Finished other;
  const bool mounted = runOnTmpfs({"--audit"}, other);
  VONQ_REQUIRE_CAPABILITY(mounted, "cannot mount a tmpfs (needs root)");
  EXPECT_EQ(other.exitCode, 3);
  EXPECT_TRUE(has(other.err, "only NTFS volumes can be audited")) << other.err;
}

// Killed while the file-name wipe fills its folders: every folder was
// journalled before files were made in it, so the next start (even a mere
// --list) removes them all.
TEST(ScrubCli, KillDuringTheFileNameWipeLeavesNothingAfterTheNextStart) {
  VONQ_REQUIRE_NTFS();
  ScratchNtfs volume(ScratchNtfs::Options::ofSize(256ull << 20));
  ASSERT_TRUE(volume.ok()) << volume.error();
  // Many freed records, so that the wipe makes several folders.
  fs::create_directory(volume.path("many"));
  for (int i = 0; i < 3000; ++i) {
    std::ofstream(volume.path("many/name-" + std::to_string(i))) << "x";
  }
  fs::remove_all(volume.path("many"));
  vonq::test::TempFolder state;
  // The third folder holds files: the wipe is well into its creation phase.
  const std::string third = volume.path("Vonq_Nulmark.TMP.000002");
  const auto filling = [&] {
    std::error_code ignored;
    return fs::exists(third, ignored) && !fs::is_empty(third, ignored);
  };
  {
    Running run({"--yes", "--file-names", volume.mountPoint()}, state.root());
    for (int i = 0; i < 12000 && !filling(); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_TRUE(filling()) << run.out();
    run.signal(SIGKILL);
    run.wait();
  }
  ASSERT_FALSE(leftovers(volume.mountPoint()).empty()) << "the kill left the folders";
  const Finished next = runScrub({"--list"}, "", state.root());
  EXPECT_EQ(next.exitCode, 0) << next.out << next.err;
  EXPECT_TRUE(leftovers(volume.mountPoint()).empty());
}

// Killed while the temporary-file worker renames the fill's first file to
// random names before deleting it: each new name was journalled before the
// file took it, so the next start (even a mere --list) removes the renamed
// file too.
TEST(ScrubCli, KillDuringTheWorkersRenameLeavesNothingAfterTheNextStart) {
  VONQ_REQUIRE_NTFS();
  ScratchNtfs volume(ScratchNtfs::Options::ofSize(256ull << 20));
  ASSERT_TRUE(volume.ok()) << volume.error();
  std::ofstream(volume.path("live.txt")) << "live";
  vonq::test::TempFolder state;
  // Entries in the root other than the live file and the engine's own
  // names: files the worker renamed.
  const auto renamed = [&] {
    std::vector<std::string> found;
    std::error_code ignored;
    for (const auto& e : fs::directory_iterator(volume.mountPoint(), ignored)) {
      const std::string name = e.path().filename().string();
      if (name != "live.txt" && name.rfind(".Trash", 0) != 0 &&
          name.rfind("Vonq_Nulmark", 0) != 0) {
        found.push_back(name);
      }
    }
    return found;
  };
  {
    Running run({"--yes", "--free-space", volume.mountPoint()}, state.root());
    for (int i = 0; i < 60000 && renamed().empty(); ++i) {
      std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    run.signal(SIGKILL);
    run.wait();
  }
  ASSERT_FALSE(renamed().empty()) << "the kill came before a rename";
  const Finished next = runScrub({"--list"}, "", state.root());
  EXPECT_EQ(next.exitCode, 0) << next.out << next.err;
  const std::vector<std::string> left = renamed();
  EXPECT_TRUE(left.empty()) << left.front();
  EXPECT_TRUE(leftovers(volume.mountPoint()).empty());
  EXPECT_EQ(vonq::test::readText(volume.path("live.txt")), "live");
}

}  // namespace
}  // namespace vonq::cli_test
