#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>

#include "ScrubProcess.h"
#include "os/FileSystem.h"
#include "support/Env.h"
#include "support/ScratchNtfs.h"

namespace vonq::e2e_test {
namespace {

namespace fs = std::filesystem;
using vonq::cli_test::Finished;
using vonq::cli_test::Running;
using vonq::cli_test::runScrub;
using vonq::test::ScratchNtfs;

bool toolsPresent(std::string& reason) {
  if (!ScratchNtfs::capable(reason)) return false;
  for (const char* tool : {"ntfsundelete", "fls"}) {
    if (std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) != 0) {
      reason = std::string(tool) + " is missing";
      return false;
    }
  }
  return true;
}

#define VONQ_REQUIRE_FORENSIC_TOOLS()            \
  do {                                           \
    std::string reason_;                         \
    const bool present_ = toolsPresent(reason_); \
    VONQ_REQUIRE_CAPABILITY(present_, reason_);  \
  } while (0)

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const std::string& path, const std::string& data) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << data;
}

std::string marker(const std::string& kind, int n, std::size_t size) {
  std::string one = "VONQE2E-" + kind + "-" + std::to_string(n) + "|";
  std::string out;
  while (out.size() < size) out += one;
  out.resize(std::max(size, one.size()));
  return out;
}

// A live file as its user sees it.
struct Live {
  std::string content;
  s::os::FileTimes times;
  bool operator==(const Live& o) const {
    return content == o.content && times.creation == o.times.creation &&
           times.lastAccess == o.times.lastAccess && times.lastWrite == o.times.lastWrite;
  }
};

// Every regular file under `mount` but the recycle bins and the engine's
// own entries; reading puts the access time back.
std::map<std::string, Live> snapshot(const std::string& mount) {
  std::map<std::string, Live> files;
  for (const auto& e : fs::recursive_directory_iterator(mount)) {
    const std::string rel = fs::relative(e.path(), mount).string();
    if (!e.is_regular_file() || rel.rfind(".Trash", 0) == 0 || rel.rfind("$RECYCLE", 0) == 0) {
      continue;
    }
    Live live;
    const std::u16string path = ScratchNtfs::nativePath(e.path().string());
    EXPECT_TRUE(s::os::fileSystem().getTimes(path, live.times)) << rel;
    live.content = readFile(e.path().string());
    s::os::FileTimes access;
    access.lastAccess = live.times.lastAccess;
    EXPECT_TRUE(s::os::fileSystem().setTimes(path, access)) << rel;
    files[rel] = live;
  }
  return files;
}

std::vector<std::string> leftovers(const std::string& mount) {
  std::vector<std::string> found;
  for (const auto& e : fs::directory_iterator(mount)) {
    const std::string name = e.path().filename().string();
    if (name.rfind("Vonq_Nulmark", 0) == 0) found.push_back(name);
  }
  return found;
}

// Live files of several kinds; one of them leaves deleted data in its
// cluster tip.
void putLiveFiles(const ScratchNtfs& volume) {
  writeFile(volume.path("live/resident.txt"), "a small live note");
  writeFile(volume.path("live/one-cluster.txt"), std::string(3000, 'c'));
  writeFile(volume.path("live/exact.bin"), std::string(8192, 'e'));
  writeFile(volume.path("live/large.bin"), std::string(3 << 20, 'L') + "end");
  writeFile(volume.path("tipped.txt"), std::string(1000, 't') + marker("TIP", 1, 3000));
  ASSERT_EQ(::truncate(volume.path("tipped.txt").c_str(), 1000), 0);
  writeFile(volume.path("empty.txt"), "");
}

// Files and names that are then deleted; returns their markers.
std::vector<std::string> putDeletedFiles(const ScratchNtfs& volume) {
  std::vector<std::string> markers;
  for (int i = 0; i < 20; ++i) {
    const std::pair<const char*, std::size_t> kinds[] = {
        {"RESIDENT", 40}, {"SMALL", 3000}, {"LARGE", i < 2 ? (2u << 20) : 0}};
    for (const auto& [kind, size] : kinds) {
      if (size == 0) continue;
      const std::string name = std::string("gone/") + kind + "-" + std::to_string(i) + ".dat";
      writeFile(volume.path(name), marker(kind, i, size));
      markers.push_back("VONQE2E-" + std::string(kind) + "-" + std::to_string(i) + "|");
    }
  }
  for (int i = 0; i < 200; ++i) {
    writeFile(volume.path("names/vonqe2e-secret-name-" + std::to_string(i) + ".txt"), "x");
  }
  ::sync();
  fs::remove_all(volume.path("gone"));
  fs::remove_all(volume.path("names"));
  markers.push_back("VONQE2E-TIP-1|");
  return markers;
}

// After all five operations nothing of the deleted files can be found in
// the raw image, by ntfsundelete or by fls, and every live file has the
// same content, length and times.
TEST(ScrubEndToEnd, AllFiveOperationsLeaveNothingRecoverableAndLiveFilesUnchanged) {
  VONQ_REQUIRE_FORENSIC_TOOLS();
  ScratchNtfs::Options options;
  options.sizeBytes = 96ull << 20;
  ScratchNtfs volume(options);
  ASSERT_TRUE(volume.ok()) << volume.error();
  putLiveFiles(volume);
  const std::vector<std::string> markers = putDeletedFiles(volume);
  const auto before = snapshot(volume.mountPoint());
  // The fixture shows the fault: the deleted data is still there.
  ASSERT_TRUE(volume.imageContains(markers.front()));
  ASSERT_TRUE(volume.mount());

  const Finished run = runScrub({"--recycle-bin", "--free-space", "--mft", "--cluster-tips",
                                 "--file-names", "--yes", volume.mountPoint()});
  EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
  EXPECT_TRUE(leftovers(volume.mountPoint()).empty());

  std::string image;
  ASSERT_TRUE(volume.readImage(image));
  for (const std::string& m : markers) EXPECT_EQ(image.find(m), std::string::npos) << m;
  const std::string undeleted =
      vonq::test::commandOutput("ntfsundelete -s " + volume.imagePath() + " 2>&1");
  EXPECT_EQ(undeleted.find(".dat"), std::string::npos) << undeleted;
  const std::string names = vonq::test::commandOutput("fls -r -d " + volume.imagePath() + " 2>&1");
  EXPECT_EQ(names.find("vonqe2e-secret-name"), std::string::npos) << names;
  ASSERT_TRUE(volume.mount());
  EXPECT_TRUE(snapshot(volume.mountPoint()) == before);
}

// A SIGKILL in the middle of an operation, then a new start of the tool:
// nothing of the engine is left on the volume and no live file changed.
TEST(ScrubEndToEnd, SurvivesSigkillDuringFreeSpaceFillAndClusterTipWalk) {
  VONQ_REQUIRE_FORENSIC_TOOLS();
  struct Case {
    const char* operation;
    const char* progressLine;
  };
  const Case cases[] = {{"--free-space", "2. Free space on disk"},
                        {"--cluster-tips", "4. Cluster tips"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.operation);
    ScratchNtfs::Options options;
    options.sizeBytes = 1ull << 30;
    ScratchNtfs volume(options);
    ASSERT_TRUE(volume.ok()) << volume.error();
    putLiveFiles(volume);
    for (int i = 0; i < 1500; ++i) {
      writeFile(volume.path("many/f" + std::to_string(i)), std::string(5000 + i, 'm'));
    }
    const auto before = snapshot(volume.mountPoint());
    char state[] = "/tmp/vonq-e2e-state-XXXXXX";
    ASSERT_NE(::mkdtemp(state), nullptr);
    {
      Running run({"--yes", c.operation, volume.mountPoint()}, state);
      ASSERT_TRUE(run.waitForOutput(std::string(c.progressLine), 120)) << run.out();
      // Somewhere inside the operation, not at its first step.
      ::usleep(300000);
      run.signal(SIGKILL);
      EXPECT_EQ(run.wait(), 128 + SIGKILL);
      // The kill came before the end of the operation.
      EXPECT_EQ(run.out().find("Complete"), std::string::npos) << run.out();
    }
    Running again({"--list"}, state);
    EXPECT_EQ(again.wait(), 0);
    EXPECT_TRUE(leftovers(volume.mountPoint()).empty());
    EXPECT_TRUE(snapshot(volume.mountPoint()) == before);
    fs::remove_all(state);
  }
}

}  // namespace
}  // namespace vonq::e2e_test
