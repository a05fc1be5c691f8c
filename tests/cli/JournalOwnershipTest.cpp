#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "ScrubProcess.h"
#include "file/TempFolder.h"
#include "support/Env.h"
#include "support/ScratchNtfs.h"

namespace vonq::cli_test {
namespace {

using vonq::test::ScratchNtfs;

bool has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// The names deleted from one folder, as inotify reports them.
class DeletionWatch {
 public:
  explicit DeletionWatch(const std::string& folder)
      : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    ok_ = fd_ >= 0 && ::inotify_add_watch(fd_, folder.c_str(), IN_DELETE) >= 0;
  }
  ~DeletionWatch() {
    if (fd_ >= 0) ::close(fd_);
  }
  bool ok() const { return ok_; }
  std::set<std::string> deleted() {
    alignas(inotify_event) char buffer[4096];
    for (ssize_t n; (n = ::read(fd_, buffer, sizeof buffer)) > 0;) {
      for (char* p = buffer; p < buffer + n;) {
        const auto* e = reinterpret_cast<const inotify_event*>(p);
        if (e->len > 0) names_.insert(e->name);
        p += sizeof(inotify_event) + e->len;
      }
    }
    return names_;
  }

 private:
  int fd_;
  bool ok_ = false;
  std::set<std::string> names_;
};

// The entries the journal of pending deletions in `stateHome` lists.
std::size_t journalled(const std::string& stateHome) {
  std::ifstream in(stateHome + "/vonq-scrubber/pending-deletions");
  std::size_t lines = 0;
  for (std::string line; std::getline(in, line);) ++lines;
  return lines > 0 ? lines - 1 : 0;  // the first line is the header
}

// Every start of vonq-scrub replays the journal of pending deletions, --list
// included. Started again and again while a run fills the free space, it
// never deletes that run's temporary files under it (the run removes them
// itself, under random names, so a deletion under the engine's own name can
// only be a replay's); the run ends complete and leaves an empty journal.
TEST(ScrubCli, ListDuringARunNeverDeletesItsTemporaryFiles) {
  std::string reason;
  VONQ_REQUIRE_CAPABILITY(ScratchNtfs::capable(reason), reason);
  ScratchNtfs::Options options;
  options.sizeBytes = 512ull << 20;
  ScratchNtfs volume(options);
  ASSERT_TRUE(volume.ok()) << volume.error();
  DeletionWatch watch(volume.mountPoint());
  ASSERT_TRUE(watch.ok());
  vonq::test::TempFolder state;
  const std::string first = volume.path("Vonq_Nulmark.tmp01");
  const std::string second = volume.path("Vonq_Nulmark.tmp02");

  Running run({"--yes", "--free-space", volume.mountPoint()}, state.root());
  int listsWhileThere = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(3);
  while (!has(run.out(), "Complete!") && !has(run.out(), "canceled") &&
         std::chrono::steady_clock::now() < deadline) {
    // A temporary file is made first and journalled before it grows.
    if ((!std::filesystem::exists(first) && !std::filesystem::exists(second)) ||
        journalled(state.root()) == 0) {
      ::usleep(10000);
      continue;
    }
    EXPECT_EQ(runScrub({"--list"}, "", state.root()).exitCode, 0);
    ++listsWhileThere;
  }
  EXPECT_EQ(run.wait(), 0) << run.out();
  EXPECT_TRUE(has(run.out(), "Operation Complete!")) << run.out();
  EXPECT_GT(listsWhileThere, 0) << "the journalled temporary files were never seen";
  const std::set<std::string> deleted = watch.deleted();
  EXPECT_EQ(deleted.count("Vonq_Nulmark.tmp01"), 0u);
  EXPECT_EQ(deleted.count("Vonq_Nulmark.tmp02"), 0u);
  EXPECT_FALSE(std::filesystem::exists(first));
  EXPECT_FALSE(std::filesystem::exists(second));
  EXPECT_EQ(journalled(state.root()), 0u);
}

}  // namespace
}  // namespace vonq::cli_test
