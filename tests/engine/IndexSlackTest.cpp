#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "EngineFixture.h"
#include "file/TempFolder.h"
#include "file/wiper/ntfs/SlackFill.h"
#include "file/wiper/ntfs/TraceAudit.h"
#include "file/wiper/win/EngineOperation.h"
#include "file/wiper/win/IndexSlackWipe.h"
#include "os/FileSystem.h"

namespace vonq::engine_test {
namespace {

namespace fs = std::filesystem;
using s::file::wiper::Shortfall;
using s::file::wiper::ntfs::SlackFill;
using s::file::wiper::ntfs::TraceAudit;
using s::file::wiper::win::EngineOperation;
using vonq::test::Installed;
using vonq::test::ScratchNtfs;

const std::string kMarker(SlackFill::kMarker.begin(), SlackFill::kMarker.end());

// A large folder (index blocks) that lost every tenth entry and its last
// two, and a small one (index in its record) that lost its last: both hold
// old names in their index slack.
void seedOldNames(const ScratchNtfs& volume) {
  fs::create_directories(volume.path("big"));
  fs::create_directories(volume.path("small"));
  for (int i = 100; i < 400; ++i) {
    vonq::test::writeText(volume.path("big/kept-entry-" + std::to_string(i) + ".txt"), "x");
  }
  for (int i = 0; i < 3; ++i) {
    vonq::test::writeText(volume.path("small/kept-small-" + std::to_string(i) + ".txt"), "x");
  }
  ::sync();
  fs::remove(volume.path("small/kept-small-2.txt"));
  for (int i = 100; i < 400; ++i) {
    if (i % 10 == 0 || i >= 398)
      fs::remove(volume.path("big/kept-entry-" + std::to_string(i) + ".txt"));
  }
}

// Every entry under `mount` whose name carries the fill marker.
std::vector<std::string> fillEntries(const std::string& mount) {
  std::vector<std::string> found;
  for (const auto& entry : fs::recursive_directory_iterator(mount)) {
    if (entry.path().filename().string().find(kMarker) != std::string::npos) {
      found.push_back(entry.path().string());
    }
  }
  return found;
}

std::int64_t modified(const std::string& path) {
  struct stat st {};
  ::stat(path.c_str(), &st);
  return st.st_mtim.tv_sec * 1000000000ll + st.st_mtim.tv_nsec;
}

Shortfall wipeIndexes(const ScratchNtfs& volume,
                      s::file::wiper::OperationReport* report = nullptr) {
  std::atomic<float> progress{0.0f};
  std::atomic<std::uint8_t> skip{0};
  EngineOperation op(volume.root(), progress, skip);
  const Shortfall result = s::file::wiper::win::IndexSlackWipe(op, 0.0f, 1.0f).run();
  if (report != nullptr) *report = op.report();
  EXPECT_EQ(progress.load(), 1.0f);
  return result;
}

// A scratch volume seeded with old names (see seedOldNames), and a deletion
// journal of the test's own.
class IndexSlackWipe : public ::testing::Test {
 protected:
  void SetUp() override {
    VONQ_REQUIRE_SCRATCH_NTFS();
    volume_ = std::make_unique<ScratchNtfs>(ScratchNtfs::Options::ofSize(64ull << 20));
    ASSERT_TRUE(volume_->ok()) << volume_->error();
    seedOldNames(*volume_);
  }

  vonq::test::TempFolder state_;
  vonq::test::ScopedStateHome home_{state_.root()};
  std::unique_ptr<ScratchNtfs> volume_;
};

// Both folders are filled; afterwards the audit finds no old name in any
// index, no temporary file is left or journalled, and the live files and
// the folders' change times are as they were.
TEST_F(IndexSlackWipe, OverwritesOldNamesAndLeavesTheFoldersAsTheyWere) {
  ScratchNtfs& volume = *volume_;
  const auto before = TraceAudit(0).run(volume.root());
  ASSERT_GT(before.slackNames, 0u);
  const LiveFiles files = snapshot(volume.mountPoint());
  const std::int64_t big = modified(volume.path("big"));
  const std::int64_t small = modified(volume.path("small"));

  s::file::wiper::OperationReport report;
  EXPECT_EQ(wipeIndexes(volume, &report), Shortfall::None);
  EXPECT_GE(report.foldersFilled, 2u);
  EXPECT_EQ(report.foldersSkipped, 0u);
  EXPECT_EQ(report.entriesLeft, 0u);

  const auto after = TraceAudit(100).run(volume.root());
  EXPECT_EQ(after.slackNames, 0u) << testing::PrintToString(after.slackNameList);
  EXPECT_GT(after.ownSlackNames, 0u);
  EXPECT_EQ(snapshot(volume.mountPoint()), files);
  EXPECT_EQ(modified(volume.path("big")), big);
  EXPECT_EQ(modified(volume.path("small")), small);
  EXPECT_TRUE(fillEntries(volume.mountPoint()).empty());
  s::os::fileSystem().forgetFinishedDeletions();
  EXPECT_EQ(vonq::test::readText(home_.journal()).find(kMarker), std::string::npos);
}

// Killed while it makes its files (the third one): what it made stays in
// the folder, and the next start removes all of it and nothing else.
TEST_F(IndexSlackWipe, AKillLeavesOnlyFilesTheNextStartRemoves) {
  ScratchNtfs& volume = *volume_;
  const LiveFiles files = snapshot(volume.mountPoint());

  const pid_t child = ::fork();
  if (child == 0) {
    HookedFileSystem hooks;
    int fills = 0;
    hooks.beforeOpen = [&fills](const std::string& name) {
      if (name.find(kMarker) != std::string::npos && ++fills == 3) ::kill(::getpid(), SIGKILL);
    };
    Installed installed(hooks);
    wipeIndexes(volume);
    ::_exit(0);  // not reached: the third file's open kills the process
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
  EXPECT_EQ(fillEntries(volume.mountPoint()).size(), 2u);

  EXPECT_EQ(s::os::fileSystem().replayScheduledDeletions(), 2u);
  EXPECT_TRUE(fillEntries(volume.mountPoint()).empty());
  EXPECT_EQ(snapshot(volume.mountPoint()), files);
}

}  // namespace
}  // namespace vonq::engine_test
