#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "FsTestSupport.h"
#include "os/FileSystem.h"
#include "os/NtfsReader.h"
#include "os/linux/NtfsImage.h"
#include "os/linux/VolumeProbe.h"
#include "support/Env.h"
#include "support/ScratchNtfs.h"

namespace {

using s::os::FsError;
using s::os::NtfsVolumeData;
using s::os::VolumeInfo;
using vonq::test::ScratchNtfs;
using vonq::test::fs::TempFolder;
using vonq::test::fs::u;
using vonq::test::fs::writeBytes;

#define REQUIRE_SCRATCH()                                          \
  do {                                                             \
    std::string reason;                                            \
    VONQ_REQUIRE_CAPABILITY(ScratchNtfs::capable(reason), reason); \
  } while (0)

struct Geometry {
  std::uint32_t clusterSize;
  std::uint32_t sectorSize;
};

class ScratchGeometry : public ::testing::TestWithParam<Geometry> {};

// The scratch volume is found, named and measured as a drive.
TEST_P(ScratchGeometry, VolumeIsDescribedFromItsBootSector) {
  REQUIRE_SCRATCH();
  ScratchNtfs::Options options;
  options.clusterSize = GetParam().clusterSize;
  options.sectorSize = GetParam().sectorSize;
  ScratchNtfs volume(options);
  ASSERT_TRUE(volume.ok()) << volume.error();
  writeBytes(volume.path("f"), "x");

  VolumeInfo info;
  ASSERT_TRUE(s::os::fileSystem().volumeOf(u(volume.path("f")), info));
  EXPECT_EQ(info.root, volume.root());
  EXPECT_EQ(info.source, u(volume.imagePath()));
  EXPECT_EQ(info.fileSystem, u"NTFS");
  EXPECT_EQ(info.bytesPerSector, GetParam().sectorSize);
  EXPECT_EQ(info.clusterSize(), GetParam().clusterSize);
  EXPECT_TRUE(info.eligible);
  EXPECT_FALSE(info.readOnly);
  struct statvfs sv {};
  struct stat st {};
  ASSERT_EQ(::statvfs(volume.mountPoint().c_str(), &sv), 0);
  ASSERT_EQ(::stat(volume.mountPoint().c_str(), &st), 0);
  EXPECT_EQ(info.device, st.st_dev);
  EXPECT_EQ(info.freeBytes, sv.f_bfree * sv.f_frsize);
  EXPECT_EQ(s::os::fileSystem().freeBytes(volume.root()), sv.f_bfree * sv.f_frsize);

  const auto all = s::os::fileSystem().listVolumes();
  EXPECT_EQ(std::count_if(all.begin(), all.end(),
                          [&](const VolumeInfo& v) { return v.root == volume.root(); }),
            1);

  NtfsVolumeData data;
  ASSERT_TRUE(s::os::fileSystem().ntfsVolumeData(volume.root(), data));
  EXPECT_EQ(data.bytesPerCluster, GetParam().clusterSize);
  EXPECT_EQ(data.bytesPerSector, GetParam().sectorSize);
  EXPECT_EQ(data.bytesPerMftRecord, std::max<std::uint32_t>(1024, GetParam().sectorSize));
  EXPECT_GT(data.mftValidDataLength, 0u);
  EXPECT_LE(data.mftValidDataLength, data.mftAllocatedLength);
}

INSTANTIATE_TEST_SUITE_P(Clusters, ScratchGeometry,
                         ::testing::Values(Geometry{4096, 512}, Geometry{1024, 512},
                                           Geometry{8192, 4096}),
                         [](const auto& info) {
                           return "cluster" + std::to_string(info.param.clusterSize) + "sector" +
                                  std::to_string(info.param.sectorSize);
                         });

// The valid data length of the MFT, read from the image while ntfs-3g has it
// mounted, grows as files are made: the measure the file-name wipe stops on.
TEST(NtfsVolumeData, MftValidDataLengthGrowsWithNewFiles) {
  REQUIRE_SCRATCH();
  ScratchNtfs volume;
  ASSERT_TRUE(volume.ok()) << volume.error();
  auto& fs = s::os::fileSystem();
  NtfsVolumeData start;
  ASSERT_TRUE(fs.ntfsVolumeData(volume.root(), start));
  std::uint64_t last = start.mftValidDataLength;
  bool grewEarly = false;
  for (int i = 0; i < 3000; ++i) {
    if (i % 250 == 0) {
      ASSERT_EQ(::mkdir(volume.path("d" + std::to_string(i / 250)).c_str(), 0755), 0);
    }
    const std::string name = volume.path("d" + std::to_string(i / 250) + "/" +
                                         std::string(215, '0') + std::to_string(i));
    auto file =
        fs.openFile(u(name), s::os::OpenMode::make(s::os::OpenMode::Access::Write,
                                                   s::os::OpenMode::Disposition::CreateNew));
    ASSERT_NE(file, nullptr) << i;
    if (i == 999) {
      NtfsVolumeData mid;
      ASSERT_TRUE(fs.ntfsVolumeData(volume.root(), mid));
      grewEarly = mid.mftValidDataLength > start.mftValidDataLength;
      last = mid.mftValidDataLength;
    }
  }
  NtfsVolumeData end;
  ASSERT_TRUE(fs.ntfsVolumeData(volume.root(), end));
  EXPECT_TRUE(grewEarly);
  EXPECT_GT(end.mftValidDataLength, last);
  // 3000 records of 1024 bytes at the least.
  EXPECT_GE(end.mftValidDataLength, start.mftValidDataLength + 3000u * 1024u);
}

// The free records of the MFT, read while ntfs-3g has the image mounted:
// new files take them, deleting the files gives them back, and the counts
// match the records the raw image shows not in use.
TEST(NtfsVolumeData, CountsTheFreeRecordsOfTheMft) {
  REQUIRE_SCRATCH();
  ScratchNtfs volume;
  ASSERT_TRUE(volume.ok()) << volume.error();
  auto& fs = s::os::fileSystem();
  auto name = [&](int i) { return volume.path("f" + std::to_string(i)); };
  auto read = [&] {
    NtfsVolumeData data;
    EXPECT_TRUE(fs.ntfsVolumeData(volume.root(), data));
    EXPECT_TRUE(data.mftRecordsCounted);
    return data;
  };
  // Grow the MFT, then free 30 of its records.
  for (int i = 0; i < 100; ++i) writeBytes(name(i), "x");
  for (int i = 0; i < 30; ++i) ASSERT_EQ(::unlink(name(i).c_str()), 0);
  const NtfsVolumeData start = read();
  ASSERT_GE(start.mftFreedRecords, 30u);
  ASSERT_GE(start.mftFreeRecords, start.mftFreedRecords);
  EXPECT_FALSE(start.mftOutgrown(start));

  for (int i = 0; i < 10; ++i) writeBytes(name(i), "x");
  EXPECT_EQ(read().mftFreeRecords + 10, start.mftFreeRecords);
  for (int i = 0; i < 10; ++i) ASSERT_EQ(::unlink(name(i).c_str()), 0);
  const NtfsVolumeData data = read();
  EXPECT_EQ(data.mftFreeRecords, start.mftFreeRecords);
  // New files may have gone past the initialised part first, leaving more
  // freed records behind.
  EXPECT_GE(data.mftFreedRecords, start.mftFreedRecords);

  // The MFT of a young volume is one run: count the in-use flags of its
  // file records (64 on, as ntfs-3g hands them out) in the raw image.
  const std::uint64_t records = data.mftAllocatedLength / data.bytesPerMftRecord;
  const std::uint64_t initialised = data.mftValidDataLength / data.bytesPerMftRecord;
  std::string image;
  ASSERT_TRUE(volume.readImage(image));
  const std::uint64_t first = data.mftStartLcn * data.bytesPerCluster;
  ASSERT_LE(first + data.mftAllocatedLength, image.size());
  std::uint64_t free = 0;
  std::uint64_t freed = 0;
  for (std::uint64_t r = 64; r < records; ++r) {
    const char* record = image.data() + first + r * data.bytesPerMftRecord;
    const bool inUse = std::memcmp(record, "FILE", 4) == 0 && (record[0x16] & 1) != 0;
    free += inUse ? 0 : 1;
    freed += !inUse && r < initialised ? 1 : 0;
  }
  EXPECT_EQ(free, data.mftFreeRecords);
  EXPECT_EQ(freed, data.mftFreedRecords);
}

// Without record counts the MFT counts as outgrown once its valid data
// length grew; with them, once no freed record is left, or once it grew by
// more records than were free at the start.
TEST(NtfsVolumeData, OutgrownFollowsTheFreedRecordsWhereTheyWereCounted) {
  NtfsVolumeData start;
  start.bytesPerMftRecord = 1024;
  start.mftValidDataLength = 1 << 20;
  start.mftAllocatedLength = 2 << 20;
  NtfsVolumeData now = start;
  EXPECT_FALSE(now.mftOutgrown(start));
  now.mftValidDataLength += 1024;
  EXPECT_TRUE(now.mftOutgrown(start));

  start.mftRecordsCounted = true;
  start.mftFreeRecords = 40;
  start.mftFreedRecords = 30;
  now = start;
  now.mftValidDataLength += 16 * 1024;
  now.mftAllocatedLength += 40 * 1024;
  now.mftFreedRecords = 3;
  EXPECT_FALSE(now.mftOutgrown(start));
  now.mftAllocatedLength += 1024;
  EXPECT_TRUE(now.mftOutgrown(start));
  now.mftAllocatedLength = start.mftAllocatedLength;
  now.mftFreedRecords = 0;
  EXPECT_TRUE(now.mftOutgrown(start));
}

TEST(NtfsVolumeData, AnUnreadableVolumeCannotBeOpened) {
  REQUIRE_SCRATCH();
  ScratchNtfs volume;
  ASSERT_TRUE(volume.ok()) << volume.error();
  ASSERT_EQ(::chmod(volume.imagePath().c_str(), 0600), 0);
  // Ask as an ordinary user would, in a child that gave up root.
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
    NtfsVolumeData data;
    const bool ok = s::os::fileSystem().ntfsVolumeData(volume.root(), data);
    ::_exit(!ok && s::os::lastFsError() == FsError::AccessDenied ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(NtfsImage, TellsMissingForeignAndShortSourcesApart) {
  TempFolder temp;
  writeBytes(temp.path("zeros"), std::string(1 << 16, '\0'));
  std::string boot(512, '\0');
  boot.replace(3, 8, "NTFS    ");
  boot[0x0B] = 0;
  boot[0x0C] = 2;                        // 512 bytes per sector
  boot[0x0D] = 8;                        // 8 sectors per cluster
  boot[0x30] = 100;                      // MFT at cluster 100, beyond the end of the file
  boot[0x40] = static_cast<char>(0xF6);  // 2^10-byte records
  writeBytes(temp.path("short"), boot);
  struct Case {
    std::string source;
    FsError expected;
  } cases[] = {{temp.path("missing"), FsError::NotFound},
               {temp.path("zeros"), FsError::NotSupported},
               {temp.path("short"), FsError::Io}};
  for (const auto& c : cases) {
    NtfsVolumeData data;
    FsError error = FsError::None;
    EXPECT_FALSE(s::os::linux_fs::NtfsImage::read(c.source, data, error)) << c.source;
    EXPECT_EQ(error, c.expected) << c.source;
  }
}

// The MFT record's update sequence guards against torn writes: a record whose
// sector ends do not carry the check value is refused, not misread.
TEST(NtfsReader, RefusesARecordWithABrokenUpdateSequence) {
  REQUIRE_SCRATCH();
  ScratchNtfs volume;
  ASSERT_TRUE(volume.ok()) << volume.error();
  std::string image;
  ASSERT_TRUE(volume.readImage(image));
  NtfsVolumeData data;
  ASSERT_TRUE(s::os::NtfsReader::parseBootSector(
      reinterpret_cast<const std::uint8_t*>(image.data()), data));
  const std::size_t at = data.mftStartLcn * data.bytesPerCluster;
  std::string record = image.substr(at, data.bytesPerMftRecord);
  auto* bytes = reinterpret_cast<std::uint8_t*>(record.data());

  std::string good = record;
  auto* goodBytes = reinterpret_cast<std::uint8_t*>(good.data());
  ASSERT_TRUE(s::os::NtfsReader::applyFixups(goodBytes, good.size()));
  ASSERT_TRUE(s::os::NtfsReader::readDataSizes(goodBytes, good.size(), data));

  bytes[511] ^= 0xFF;  // a torn first sector
  EXPECT_FALSE(s::os::NtfsReader::applyFixups(bytes, record.size()));
  std::memcpy(bytes, "BAAD", 4);
  EXPECT_FALSE(s::os::NtfsReader::applyFixups(bytes, record.size()));
}

// FAT file systems are told apart by libblkid: FAT32 by its version, FAT12
// and FAT16 as "FAT". Built from hand-made boot sectors (no FAT driver here).
TEST(VolumeProbe, NamesFatVariantsFromTheBootSector) {
  TempFolder temp;
  auto bootSector = [](bool fat32) {
    std::string image(1 << 20, '\0');
    auto put16 = [&](std::size_t at, unsigned v) {
      image[at] = static_cast<char>(v);
      image[at + 1] = static_cast<char>(v >> 8);
    };
    auto put32 = [&](std::size_t at, unsigned v) {
      put16(at, v & 0xFFFF);
      put16(at + 2, v >> 16);
    };
    image.replace(0, 11, "\xEB\x58\x90MSWIN4.1");
    put16(11, 512);                       // bytes per sector
    image[13] = fat32 ? 8 : 4;            // sectors per cluster
    put16(14, fat32 ? 32 : 1);            // reserved sectors
    image[16] = 2;                        // FATs
    put16(17, fat32 ? 0 : 512);           // root entries
    image[21] = static_cast<char>(0xF8);  // media
    put16(22, fat32 ? 0 : 200);           // sectors per FAT (FAT12/16)
    put32(32, fat32 ? 200000 : 100000);   // total sectors
    const std::size_t ext = fat32 ? 64 : 36;
    if (fat32) {
      put32(36, 1600);  // sectors per FAT
      put32(44, 2);     // root cluster
      put16(48, 1);     // FS information sector
      image.replace(512, 4, "RRaA");
      image.replace(512 + 484, 4, "rrAa");
      image.replace(512 + 510, 2, "\x55\xAA");
    }
    image[ext] = static_cast<char>(0x80);
    image[ext + 2] = 0x29;
    image.replace(ext + 7, 11, "NO NAME    ");
    image.replace(ext + 18, 8, fat32 ? "FAT32   " : "FAT16   ");
    image.replace(510, 2, "\x55\xAA");
    const std::size_t fat = (fat32 ? 32 : 1) * 512;
    image.replace(fat, 4,
                  fat32 ? std::string("\xF8\xFF\xFF\x0F", 4) : std::string("\xF8\xFF\xFF\xFF", 4));
    return image;
  };
  writeBytes(temp.path("fat32.img"), bootSector(true));
  writeBytes(temp.path("fat16.img"), bootSector(false));
  writeBytes(temp.path("zeros.img"), std::string(1 << 20, '\0'));
  using s::os::linux_fs::VolumeProbe;
  EXPECT_EQ(VolumeProbe::probeName(temp.path("fat32.img")), "FAT32");
  EXPECT_EQ(VolumeProbe::probeName(temp.path("fat16.img")), "FAT");
  EXPECT_EQ(VolumeProbe::probeName(temp.path("zeros.img")), "UNKNOWN");
  s::os::linux_fs::VolumeGeometry g;
  ASSERT_TRUE(VolumeProbe::bootSectorGeometry(temp.path("fat32.img"), g));
  EXPECT_EQ(g.bytesPerSector, 512u);
  EXPECT_EQ(g.sectorsPerCluster, 8u);
  EXPECT_FALSE(VolumeProbe::bootSectorGeometry(temp.path("zeros.img"), g));
}

TEST(Volumes, PathsOutsideAnyVolumeOrMissingAreRefused) {
  VolumeInfo info;
  EXPECT_FALSE(s::os::fileSystem().volumeOf(u"/no/such/place", info));
  EXPECT_EQ(s::os::lastFsError(), FsError::NotFound);
  EXPECT_FALSE(s::os::fileSystem().volumeOf(u"relative/path", info));
  EXPECT_EQ(s::os::fileSystem().freeBytes(u"/no/such/place"), 0u);
  for (const auto& v : s::os::fileSystem().listVolumes()) {
    EXPECT_TRUE(v.eligible);
    EXPECT_EQ(v.root.back(), u'/');
    EXPECT_NE(v.root.rfind(u"/proc", 0), 0u);
  }
}

}  // namespace
