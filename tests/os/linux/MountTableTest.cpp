#include <gtest/gtest.h>

#include "FsTestSupport.h"
#include "os/linux/MountTable.h"
#include "os/linux/PendingDeletions.h"
#include "os/linux/VolumeProbe.h"

namespace {

using s::os::linux_fs::MountEntry;
using s::os::linux_fs::MountTable;

TEST(MountTable, ParsesFieldsEscapesAndOptionalTags) {
  const auto mounts = MountTable::parse(
      "26 1 254:0 / / rw,relatime shared:1 - ext4 /dev/vda rw,discard\n"
      "44 26 0:39 / /media/my\\040disk ro,relatime - fuse /tmp/a\\134b.img rw,user_id=0\n"
      "garbage line\n"
      "45 26 0:40 /sub /bind rw master:3 shared:4 - ext4 /dev/vda rw\n");
  ASSERT_EQ(mounts.size(), 3u);
  EXPECT_EQ(mounts[0].mountPoint, "/");
  EXPECT_EQ(mounts[0].fsType, "ext4");
  EXPECT_FALSE(mounts[0].readOnly());
  EXPECT_EQ(mounts[1].mountPoint, "/media/my disk");
  EXPECT_EQ(mounts[1].source, "/tmp/a\\b.img");
  EXPECT_TRUE(mounts[1].readOnly());
  EXPECT_EQ(mounts[2].root, "/sub");
  EXPECT_EQ(mounts[2].superOptions, "rw");

  EXPECT_EQ(MountTable::containing(mounts, "/media/my disk/x/y")->mountPoint, "/media/my disk");
  EXPECT_EQ(MountTable::containing(mounts, "/media/my diskette")->mountPoint, "/");
  EXPECT_EQ(MountTable::containing(mounts, "/media/my disk")->mountPoint, "/media/my disk");
}

TEST(MountTable, OffersOnlyWholeLocalDisksAndImages) {
  vonq::test::fs::TempFolder temp;
  const std::string image = temp.path("disk.img");
  vonq::test::fs::writeBytes(image, "x");
  struct Case {
    const char* fsType;
    std::string source;
    const char* root;
    bool eligible;
  } cases[] = {
      {"fuse", image, "/", true},             // ntfs-3g on an image
      {"fuseblk", image, "/", true},          // image through a loop-less fuseblk
      {"fuse", image, "/sub", false},         // bind mount of a sub-folder
      {"fuse.sshfs", image, "/", false},      // network through FUSE
      {"overlay", "overlay", "/", false},     // overlay
      {"tmpfs", "tmpfs", "/", false},         // pseudo
      {"nfs", "server:/export", "/", false},  // network
      {"cifs", "//server/share", "/", false},
      {"ext4", image, "/", false},  // a regular file is not a block device
  };
  for (const auto& c : cases) {
    MountEntry m;
    m.fsType = c.fsType;
    m.source = c.source;
    m.root = c.root;
    m.mountPoint = "/mnt";
    EXPECT_EQ(MountTable::eligible(m), c.eligible) << c.fsType << " " << c.source << " " << c.root;
  }
}

TEST(VolumeProbe, FallsBackToTheKernelTypeWhenTheSourceCannotBeProbed) {
  const std::string missing = "/nonexistent/device";
  EXPECT_EQ(s::os::linux_fs::VolumeProbe::fileSystemName(missing, "ntfs3", 0, 4096), "NTFS");
  EXPECT_EQ(s::os::linux_fs::VolumeProbe::fileSystemName(missing, "vfat", 8ull << 30, 4096),
            "FAT32");
  EXPECT_EQ(s::os::linux_fs::VolumeProbe::fileSystemName(missing, "msdos", 32ull << 20, 2048),
            "FAT");
  EXPECT_EQ(s::os::linux_fs::VolumeProbe::fileSystemName(missing, "exfat", 8ull << 30, 4096),
            "UNKNOWN");
}

TEST(PendingDeletionsJournal, LinesKeepHostilePathsExactly) {
  using s::os::linux_fs::PendingDeletions;
  const std::string hostile = std::string("/m/a b\n%25\xFF\x01") + std::string(255, 'n');
  PendingDeletions::Entry in{'D', 1234567890123ull, hostile, {4321, 987654321}};
  const std::string line = PendingDeletions::encodeLine(in);
  EXPECT_EQ(line.find('\n'), std::string::npos);
  PendingDeletions::Entry out;
  ASSERT_TRUE(PendingDeletions::decodeLine(line, out));
  EXPECT_EQ(out.kind, 'D');
  EXPECT_EQ(out.inode, in.inode);
  EXPECT_EQ(out.path, hostile);
  EXPECT_TRUE(out.writer == in.writer);
  // A line of an older version names no writer: nobody is running it.
  ASSERT_TRUE(PendingDeletions::decodeLine("F 7 /old%20one", out));
  EXPECT_EQ(out.path, "/old one");
  EXPECT_EQ(out.writer.pid, 0);
  EXPECT_FALSE(out.writer.running());
  for (const char* bad : {"X 1 /a", "F x /a", "F 1 relative", "F 1 /a%4", "F 1 /a%zz", "F1 /a",
                          "F 1 12:x /a", "F 1 :5 /a", "F 1 12:5"}) {
    EXPECT_FALSE(PendingDeletions::decodeLine(bad, out)) << bad;
  }
}

}  // namespace
