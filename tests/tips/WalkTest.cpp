#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "TipsFixture.h"
#include "file/TempFolder.h"

namespace vonq::tips_test {
namespace {

using vonq::test::ScratchNtfs;

bool contains(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// Unmounts a folder when the scope ends.
class MountGuard {
 public:
  explicit MountGuard(std::string folder) : folder_(std::move(folder)) {
    ok_ = ::mount("tmpfs", folder_.c_str(), "tmpfs", 0, "size=1m") == 0;
  }
  ~MountGuard() {
    if (ok_) ::umount2(folder_.c_str(), MNT_DETACH);
  }
  bool ok() const { return ok_; }

 private:
  std::string folder_;
  bool ok_ = false;
};

// The walk visits every regular file of the volume, in folders too, and
// leaves alone what it must never touch: a link (and what it points at), a
// fifo, a file another handle holds open, and everything on another volume
// mounted inside this one.
TEST(ClusterTipWalk, TouchesOnlyRegularFilesOfTheVolumeThatNobodyHoldsOpen) {
  VONQ_REQUIRE_NTFS();
  ScratchNtfs volume;
  ASSERT_TRUE(volume.ok()) << volume.error();
  vonq::test::TempFolder outside;
  writeFile(outside.at("target.bin"), patterned(5000, "outside"));
  std::filesystem::create_directories(volume.path("sub/deeper"));
  std::filesystem::create_directories(volume.path("inner"));
  writeFile(volume.path("plain.bin"), patterned(5000, "plain"));
  writeFile(volume.path("sub/deeper/nested.bin"), patterned(5000, "nested"));
  writeFile(volume.path("held.bin"), patterned(5000, "held"));
  ASSERT_EQ(::symlink(outside.at("target.bin").c_str(), volume.path("link.bin").c_str()), 0);
  ASSERT_EQ(::mkfifo(volume.path("pipe").c_str(), 0600), 0);
  MountGuard inner(volume.path("inner"));
  VONQ_REQUIRE_CAPABILITY(inner.ok(), "cannot mount a tmpfs (needs root)");
  writeFile(volume.path("inner/other-volume.bin"), patterned(5000, "inner"));

  const Seen target = seen(outside.at("target.bin"));
  const Seen held = seen(volume.path("held.bin"));
  const Seen innerFile = seen(volume.path("inner/other-volume.bin"));
  const int holder = ::open(volume.path("held.bin").c_str(), O_RDONLY);
  ASSERT_GE(holder, 0);

  RecordingFileSystem recording;
  EXPECT_EQ(runClusterTips(volume.root()), 100);
  ::close(holder);

  const auto written = recording.written();
  EXPECT_TRUE(contains(written, "plain.bin"));
  EXPECT_TRUE(contains(written, "nested.bin"));
  for (const char* never : {"link.bin", "target.bin", "pipe", "held.bin", "other-volume.bin"}) {
    EXPECT_FALSE(contains(written, never)) << never;
  }
  EXPECT_TRUE(seen(outside.at("target.bin")) == target);
  EXPECT_TRUE(seen(volume.path("held.bin")) == held);
  EXPECT_TRUE(seen(volume.path("inner/other-volume.bin")) == innerFile);
  struct stat st {};
  EXPECT_EQ(::lstat(volume.path("pipe").c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

}  // namespace
}  // namespace vonq::tips_test
