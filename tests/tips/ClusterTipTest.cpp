#include <gtest/gtest.h>
#include <unistd.h>

#include <numeric>

#include "TipsFixture.h"
#include "os/FileAttributes.h"
#include "os/FileSystem.h"

namespace vonq::tips_test {
namespace {

using s::os::FileAttributes;
using vonq::test::ScratchNtfs;

constexpr std::uint64_t kCreation = 130000000000000000ull;  // 2012
constexpr std::uint64_t kAccess = 131000000000000000ull;
constexpr std::uint64_t kWrite = 130500000000000000ull;

std::uint64_t total(const std::vector<RecordingFileSystem::Write>& writes) {
  return std::accumulate(writes.begin(), writes.end(), std::uint64_t{0},
                         [](std::uint64_t sum, const auto& w) { return sum + w.count; });
}

// A file whose last cluster still holds, past its end, the bytes of what was
// there before (`ghost`), with old times and unusual attributes.
void plantFileWithGhostTip(const ScratchNtfs& volume, const std::string& name, std::size_t size,
                           const std::string& ghost) {
  const std::string path = volume.path(name);
  writeFile(path, patterned(size, "live-" + name) + ghost);
  ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(size)), 0);
  ASSERT_TRUE(s::os::fileSystem().setAttributes(
      u16(path), FileAttributes::kHidden | FileAttributes::kReadOnly));
  setTimes(path, kCreation, kAccess, kWrite);
}

TEST(ClusterTip, OverwritesExactlyTheTipOfA5000ByteFileAndKeepsEverythingElse) {
  VONQ_REQUIRE_NTFS();
  ScratchNtfs volume;
  ASSERT_TRUE(volume.ok()) << volume.error();
  const std::string ghost = patterned(3192, "GHOST-TIP");
  plantFileWithGhostTip(volume, "tipped.bin", 5000, ghost);
  // The fixture shows the fault: the deleted bytes are still on the volume.
  ASSERT_TRUE(volume.imageContains(ghost.substr(0, 64)));
  ASSERT_TRUE(volume.mount());
  const Seen before = seen(volume.path("tipped.bin"));

  RecordingFileSystem recording;
  EXPECT_EQ(runClusterTips(volume.root()), 100);

  const auto writes = recording.writesTo("tipped.bin");
  EXPECT_EQ(total(writes), 3192u);
  for (const auto& w : writes) {
    EXPECT_GE(w.offset, 5000u);
    EXPECT_LE(w.offset + w.count, 8192u);
  }
  ASSERT_FALSE(recording.endsOf("tipped.bin").empty());
  EXPECT_EQ(recording.endsOf("tipped.bin").back(), 5000u);
  EXPECT_TRUE(seen(volume.path("tipped.bin")) == before);
  EXPECT_FALSE(volume.imageContains(ghost.substr(0, 64)));
}

// How much is written past the end of files of several sizes on volumes of
// two cluster sizes; every file keeps its content, length, times and
// attributes.
TEST(ClusterTip, WritesFromTheEndOfDataToTheEndOfTheUnit) {
  VONQ_REQUIRE_NTFS();
  struct Case {
    std::uint32_t cluster;
    std::size_t size;
    std::uint64_t written;
  };
  const Case cases[] = {{4096, 5000, 3192}, {4096, 8192, 0}, {4096, 0, 0},
                        {4096, 1, 4095},    {4096, 4095, 1}, {512, 5000, 120}};
  for (const std::uint32_t cluster : {4096u, 512u}) {
    ScratchNtfs::Options options;
    options.clusterSize = cluster;
    ScratchNtfs volume(options);
    ASSERT_TRUE(volume.ok()) << volume.error();
    std::map<std::string, Seen> before;
    for (const Case& c : cases) {
      if (c.cluster != cluster) continue;
      const std::string name = "f" + std::to_string(c.size);
      writeFile(volume.path(name), patterned(c.size, name));
      setTimes(volume.path(name), kCreation, kAccess, kWrite);
      before[name] = seen(volume.path(name));
    }
    RecordingFileSystem recording;
    EXPECT_EQ(runClusterTips(volume.root()), 100);
    for (const Case& c : cases) {
      if (c.cluster != cluster) continue;
      const std::string name = "f" + std::to_string(c.size);
      SCOPED_TRACE(name + " on " + std::to_string(cluster) + "-byte clusters");
      EXPECT_EQ(total(recording.writesTo(name)), c.written);
      EXPECT_TRUE(seen(volume.path(name)) == before[name]);
    }
  }
}

}  // namespace
}  // namespace vonq::tips_test
