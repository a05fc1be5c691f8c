// The platform layer on a real NTFS drive: the drive named by VONQ_NTFS_DRIVE
// ("D:\"), which tests/os/windows/wine-ntfs-drive.sh maps to a scratch NTFS
// image in the Wine prefix before it runs these cases. The ordinary run of
// the test program leaves them out (see cmake/WindowsTests.cmake).

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "os/FileSystem.h"
#include "os/NtfsVolumeData.h"
#include "support/Env.h"

namespace {

using s::os::NtfsVolumeData;

// The drive to test, from VONQ_NTFS_DRIVE; empty when none was given.
std::u16string ntfsDrive() {
  const char* drive = std::getenv("VONQ_NTFS_DRIVE");
  return drive == nullptr ? std::u16string() : std::u16string(drive, drive + std::strlen(drive));
}

#define REQUIRE_NTFS_DRIVE()                                            \
  VONQ_REQUIRE_CAPABILITY(!ntfsDrive().empty(),                         \
                          "no NTFS drive is mapped (VONQ_NTFS_DRIVE); " \
                          "tests/os/windows/wine-ntfs-drive.sh runs these cases")

bool makeFile(const std::u16string& path) {
  const HANDLE file = ::CreateFileW(reinterpret_cast<const wchar_t*>(path.c_str()), GENERIC_WRITE,
                                    0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = ::WriteFile(file, "x", 1, &written, nullptr) != 0;
  ::CloseHandle(file);
  return ok;
}

// The free records of the MFT come from its record bitmap, read through the
// volume handle: new files take them and deleting the files gives them back.
TEST(WinNtfsDrive, VolumeDataCountsTheFreeRecordsOfTheMft) {
  REQUIRE_NTFS_DRIVE();
  const std::u16string root = ntfsDrive();
  auto& files = s::os::platformFileSystem();
  auto read = [&] {
    NtfsVolumeData data;
    EXPECT_TRUE(files.ntfsVolumeData(root, data));
    EXPECT_TRUE(data.mftRecordsCounted);
    return data;
  };
  auto name = [&](int i) {
    return root + u"records-" + std::u16string(1, u'a' + i % 26) + std::u16string(1, u'a' + i / 26);
  };
  // Grow the MFT, then free the records of 30 files.
  for (int i = 0; i < 30; ++i) ASSERT_TRUE(makeFile(name(i)));
  for (int i = 0; i < 30; ++i) ASSERT_TRUE(files.deleteFile(name(i)));
  const NtfsVolumeData start = read();
  EXPECT_GE(start.bytesPerMftRecord, 1024u);
  EXPECT_GE(start.mftAllocatedLength, start.mftValidDataLength);
  ASSERT_GE(start.mftFreedRecords, 30u) << "the deleted files' records were in use once";
  ASSERT_GE(start.mftFreeRecords, start.mftFreedRecords);

  for (int i = 0; i < 10; ++i) ASSERT_TRUE(makeFile(name(i)));
  EXPECT_EQ(read().mftFreeRecords + 10, start.mftFreeRecords);
  for (int i = 0; i < 10; ++i) ASSERT_TRUE(files.deleteFile(name(i)));
  EXPECT_EQ(read().mftFreeRecords, start.mftFreeRecords);
}

}  // namespace
